// What a primary window needs to know about the product: its title, its
// version text and its small icon. The about box component supplies it.
#pragma once

#include <windows.h>

#include <string>

namespace pendo {

class tversioninfo {
 public:
  virtual ~tversioninfo() = default;
  virtual std::string ApplicationTitle() const = 0;
  virtual std::string VersionValue() const = 0;
  // Null when there is no icon.
  virtual HICON SmallIconHandle() const = 0;
};

}  // namespace pendo
