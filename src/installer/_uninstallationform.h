// The uninstall wizard: a confirmation, the removal run, the closing page.
#pragma once

#include <memory>
#include <string>

#include "installer/installerwizard.h"
#include "installer/scriptfile.h"

namespace pendo {

class Tuninstallationform : public tinstallerwizard {
 public:
  explicit Tuninstallationform(tcomponent* owner);

  tprogressbar* filedeleteprogressbar = nullptr;
  tprogressbar* shortcutprogressbar = nullptr;
  tprogressbar* installinfomationdeleteprogressbar = nullptr;
  tlabel* endlabel = nullptr;
  tcheckbox* settingscheckbox = nullptr;
  tlabel* endpageline1 = nullptr;
  // The last page's lines of the folders that stay.
  tlabel* leftlines[4] = {};

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
  void ApplyPageState();
  void RemovalRun();

  std::unique_ptr<ScriptFile> script_;
};

}  // namespace pendo
