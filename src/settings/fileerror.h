#pragma once

#include <stdexcept>
#include <string>

namespace pendo {

// A file operation of the settings store failed (locked, read-only, disk full).
class EFileError : public std::runtime_error {
 public:
  explicit EFileError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace pendo
