// Mondax's layer over the wizard frame: the window and its frame (bevel,
// Cancel and status bar beside the frame's own), the page rules both wizards
// add, the run of their run page, the log, the exit code and the message box.
#pragma once

#include <string>
#include <vector>

#include "controls/wizardform.h"
#include "framework/comctrls.h"
#include "framework/resource.h"
#include "installer/setupcommandline.h"
#include "installer/setuplog.h"
#include "installer/setupprogress.h"

namespace pendo {

class tinstallerwizard : public twizardform {
 public:
  tinstallerwizard(tcomponent* owner, const tformdesc& description, const char* counterPrefix);

  tbevel* Bevel1 = nullptr;
  tbutton* CloseButton = nullptr;
  tstatusbar* StatusBar = nullptr;

  // True while a run is in progress: buttons and closing are ignored.
  bool Running() const { return running_; }

  // Where the wizard tells its steps and messages (when the entry was given
  // a log) and how the program ends; both outlive the window.
  void Attach(const tsetuplog* log, tsetupexit* exitCode);

  // The frame's rules and Cancel: on the last page Back is off and Cancel
  // says "終了(&C)" and takes the focus.
  void UpdatePageControls() override;

 protected:
  void DeclarePublished(tresourcecontext& context) override;
  // Fills the page list with the page captions and shows the first page.
  void ShowFirstPage();
  // The last page's entry: Cancel becomes the default button.
  void EnterLastPage();

  // Runs the run page's work with the buttons off and input ignored, its
  // progress on the page's three bars, in the order of tsetupprogress::tbar;
  // a program of the product still running is waited for while the user
  // retries, and so is another run of the installer. The exit code says
  // Failed until the run returns.
  template <class Run, class... Args>
  typename Run::tresult RunPage(Run& run, tprogressbar* const (&bars)[3], const Args&... args) {
    Hold(run, bars);
    struct trelease {
      bool& running;
      ~trelease() { running = false; }
    } release{running_};
    typename Run::tresult result;
    do {
      result = run.Run(args...);
    } while ((result == Run::tresult::ProductRunning || result == Run::tresult::Busy) &&
             Message(run.Message(result), "確認", MB_RETRYCANCEL) == IDRETRY);
    return result;
  }

  // A message box that the log hears of too; the information icon is added.
  int Message(const std::string& text, const char* caption, UINT buttons);
  void Log(const std::string& line) const;
  void SetExitCode(tsetupexit code);

 private:
  void Hold(tsetupprogress& run, tprogressbar* const (&bars)[3]);

  bool running_ = false;
  const tsetuplog* log_ = nullptr;
  tsetupexit* exitCode_ = nullptr;
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
