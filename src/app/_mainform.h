// The clock's main window. Other programs find it by its class name and end
// Pendo by sending it kCloseMessage.
#pragma once

#include "app/versiondialog.h"
#include "forms/transparentprimaryform.h"

namespace pendo {

class Tmainform : public ttransparentprimaryform {
 public:
  static constexpr UINT kCloseMessage = 1692;

  explicit Tmainform(tcomponent* owner);

  tversiondialog* versiondialog = nullptr;

  void SetDefaultPlacement() override;

  void FormCloseQuery(tobject* sender, bool& canClose);
  void FormClose(tobject* sender, tcloseaction& action);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace pendo
