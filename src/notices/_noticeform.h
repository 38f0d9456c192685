// The notice window: a small see-through window that shows a notice's
// message and time, blinks the time's separator every second, takes the
// focus and closes after 16 seconds or at Enter, Esc or a click, giving the
// focus back to the window that had it before.
#pragma once

#include <memory>
#include <string>

#include "forms/transparentform.h"
#include "framework/timer.h"

namespace pendo {

class tgraphicalgaugepanel;

class Tnoticeform : public ttransparentform {
 public:
  static constexpr UINT kCloseAfterMs = 16000;

  explicit Tnoticeform(tcomponent* owner);

  tgraphicalgaugepanel* noticepanel = nullptr;
  ttimer* closetimer = nullptr;
  ttimer* blinktimer = nullptr;

  // The time the notice shows, fixed when it opens.
  int hour = 0;
  int minute = 0;
  // Which separator the time shows.
  bool blinkphase = false;
  // The window to give the focus back to on closing, shared by every notice
  // window of the main window and read when this one closes.
  std::shared_ptr<HWND> returnfocus;

  // "at " + hour + separator + minute, without leading zeros.
  std::string TimeText(bool colon) const;

  void FormCreate(tobject* sender);
  void FormClick(tobject* sender);
  void FormClose(tobject* sender, tcloseaction& action);
  void FormKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void closetimerTimer(tobject* sender);
  void blinktimerTimer(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
};

}  // namespace pendo
