// The frame both installer wizards share: page list, bevel, page book,
// page label, the three buttons and the status bar, with the window's own
// properties, the page rules common to both, and a helper that lays out the
// text lines of a page.
#pragma once

#include <string>
#include <vector>

#include "framework/comctrls.h"
#include "framework/extctrls.h"
#include "framework/form.h"
#include "framework/resource.h"
#include "framework/stdctrls.h"
#include "installer/setupcommandline.h"
#include "installer/setuplog.h"

namespace pendo {

class tinstallerwizard : public tform {
 public:
  tinstallerwizard(tcomponent* owner, const tformdesc& description, const char* labelPrefix, int lastPage);

  tcombobox* pagelistcbox = nullptr;
  tbevel* Bevel1 = nullptr;
  tnotebook* note = nullptr;
  tlabel* PageLabel = nullptr;
  tbutton* PrevButton = nullptr;
  tbutton* NextButton = nullptr;
  tbutton* CloseButton = nullptr;
  tstatusbar* StatusBar = nullptr;

  // True while a run is in progress: buttons and closing are ignored.
  bool Running() const { return running_; }

  // Where the wizard tells its steps and messages (when the entry was given
  // a log) and how the program ends; both outlive the window.
  void Attach(const tsetuplog* log, tsetupexit* exitCode);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
  // Fills the page list with the page captions and shows the first page.
  void ShowFirstPage();
  // The caption of the page shown: pages are known by their captions.
  std::string PageCaption() const;
  // The rules both wizards share: Next below the last page, Back from the
  // second, Cancel, the page list and label; on the last page Cancel says
  // "終了(&C)" and takes Enter.
  void ApplyFrameState();
  // The last page's entry: Cancel becomes the default button.
  void EnterLastPage();
  bool OnLastPage() const { return note->PageIndex() == lastPage_; }

  // A message box that the log hears of too; the information icon is added.
  int Message(const std::string& text, const char* caption, UINT buttons);
  void Log(const std::string& line) const;
  void SetExitCode(tsetupexit code);

  bool running_ = false;

 private:
  const tsetuplog* log_ = nullptr;
  tsetupexit* exitCode_ = nullptr;
  std::string labelPrefix_;
  int lastPage_;
};

struct twizardhandlers {
  std::vector<tprop> form, prevButton, nextButton, closeButton, note;
};

// The window and its frame; the pages follow as children of "note".
tformdesc WizardDescription(const char* name, const char* caption, const char* pageLabel,
                            const twizardhandlers& handlers);

// One label per line at left, top, 16 pixels apart; blue ones are drawn so.
// Labels are named page + "line" + a number.
void AddPageLines(tformdesc& form, const std::string& page, int top, const std::vector<const char*>& lines,
                  bool blue = false, int left = 16);

}  // namespace pendo
