// The setup wizard: welcome, notes, folder, optional SendTo title, then the
// installation run and the closing page.
#pragma once

#include <memory>
#include <string>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/stdctrls.h"
#include "installer/scriptfile.h"

namespace pendo {

class Tinstallationform : public tform {
 public:
  explicit Tinstallationform(tcomponent* owner);

  tcombobox* pagelistcbox = nullptr;
  tbevel* Bevel1 = nullptr;
  tnotebook* note = nullptr;
  tlabel* PageLabel = nullptr;
  tbutton* PrevButton = nullptr;
  tbutton* NextButton = nullptr;
  tbutton* CloseButton = nullptr;
  tstatusbar* StatusBar = nullptr;
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

  // True while the installation run is in progress.
  bool Running() const { return running_; }

 protected:
  void DeclarePublished(tresourcecontext& context) override;

 private:
  std::string PageCaption() const;
  void ApplyPageState();
  void Step(int direction);
  void InstallationRun();
  int Message(const char* text, const char* caption, UINT buttons);

  std::unique_ptr<ScriptFile> script_;
  std::string productName_, archiveStem_;
  bool running_ = false;
};

}  // namespace pendo
