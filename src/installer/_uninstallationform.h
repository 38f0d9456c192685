// The uninstall wizard: a confirmation, the removal run, the closing page.
#pragma once

#include <memory>
#include <string>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/stdctrls.h"
#include "installer/scriptfile.h"

namespace pendo {

class Tuninstallationform : public tform {
 public:
  explicit Tuninstallationform(tcomponent* owner);

  tcombobox* pagelistcbox = nullptr;
  tbevel* Bevel1 = nullptr;
  tnotebook* note = nullptr;
  tlabel* PageLabel = nullptr;
  tbutton* PrevButton = nullptr;
  tbutton* NextButton = nullptr;
  tbutton* CloseButton = nullptr;
  tstatusbar* StatusBar = nullptr;
  tprogressbar* filedeleteprogressbar = nullptr;
  tprogressbar* shortcutprogressbar = nullptr;
  tprogressbar* installinfomationdeleteprogressbar = nullptr;
  tlabel* endlabel = nullptr;

  void FormCreate(tobject* sender);
  void FormShow(tobject* sender);
  void NextButtonClick(tobject* sender);
  void CloseButtonClick(tobject* sender);
  void notePageChanged(tobject* sender);
  void FormCloseQuery(tobject* sender, bool& canClose);
  void FormClose(tobject* sender, tcloseaction& action);
  void FormDestroy(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;

 private:
  std::string PageCaption() const;
  void ApplyPageState();
  void RemovalRun();

  std::unique_ptr<ScriptFile> script_;
  bool running_ = false;
};

}  // namespace pendo
