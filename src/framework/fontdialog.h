// The system's font dialog over a font description.
#pragma once

#include "framework/component.h"
#include "framework/font.h"

namespace pendo {

class tfontdialog : public tcomponent {
 public:
  explicit tfontdialog(tcomponent* owner);

  tfont& Font() { return font_; }
  // Lists only fonts of the Western character set.
  bool AnsiOnly() const { return ansiOnly_; }
  void SetAnsiOnly(bool v) { ansiOnly_ = v; }

  // Shows the dialog on Font; true when the user confirms, and then Font
  // is the chosen one (face, size, style and colour).
  bool Execute();

  // "Options": "fdAnsiOnly" or empty.
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  tfont font_;
  bool ansiOnly_ = false;
};

}  // namespace pendo
