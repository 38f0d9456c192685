// The setup wizard: welcome, notes, folder, optional SendTo title, then the
// installation run and the closing page.
#pragma once

#include <memory>
#include <string>

#include "installer/installerwizard.h"
#include "installer/scriptfile.h"

namespace pendo {

class Tinstallationform : public tinstallerwizard {
 public:
  explicit Tinstallationform(tcomponent* owner);

  tlabel* programnamelabel = nullptr;
  tedit* installfoldernameedit = nullptr;
  tedit* sendtonameedit = nullptr;
  tprogressbar* filecopyprogressbar = nullptr;
  tprogressbar* shortcutprogressbar = nullptr;
  tprogressbar* uninstallinfomationprogressbar = nullptr;
  tlabel* endlabel = nullptr;

  void FormCreate(tobject* sender);
  void FormShow(tobject* sender);
  void NextButtonClick(tobject* sender);
  void PrevButtonClick(tobject* sender);
  void CloseButtonClick(tobject* sender);
  void notePageChanged(tobject* sender);
  void installfoldernameeditChange(tobject* sender);
  void FormCloseQuery(tobject* sender, bool& canClose);
  void FormClose(tobject* sender, tcloseaction& action);
  void FormDestroy(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;

 private:
  void ApplyPageState();
  void Step(int direction);
  void InstallationRun();
  // Why the folder in the edit may not take the installation; empty when it may.
  std::string FolderFault() const;

  std::unique_ptr<ScriptFile> script_;
  std::string productName_, archiveStem_;
};

}  // namespace pendo
