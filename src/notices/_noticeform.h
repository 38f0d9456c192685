// The notice window: a small see-through window that shows a notice's
// message and time, blinks the time's separator every second, takes the
// focus and closes after 16 seconds or at Enter, Esc or a click, giving the
// focus back to the window that had it before.
#pragma once

#include <functional>
#include <string>

#include "forms/backdropform.h"
#include "framework/timer.h"

namespace pendo {

class tgraphicalgaugepanel;

class Tnoticeform : public tbackdropform {
 public:
  static constexpr UINT kCloseAfterMs = 16000;

  // message: the text shown, which the panel is sized to; hour and minute:
  // the time shown, fixed when the notice opens; closed: called when the
  // window closes.
  Tnoticeform(tcomponent* owner, std::string message, int hour, int minute, std::function<void()> closed);

  tgraphicalgaugepanel* noticepanel = nullptr;
  ttimer* closetimer = nullptr;
  ttimer* blinktimer = nullptr;

  void FormCreate(tobject* sender);
  void FormClick(tobject* sender);
  void FormClose(tobject* sender, tcloseaction& action);
  void FormKeyDown(tobject* sender, WORD& key, tshiftstate shift);
  void closetimerTimer(tobject* sender);
  void blinktimerTimer(tobject* sender);

 protected:
  void DeclarePublished(tresourcecontext& context) override;
  // A screen reader announces the notice as it opens.
  void DoShow() override;

 private:
  // "at " + hour + separator + minute, without leading zeros.
  std::string TimeText(bool colon) const;

  const std::string message_;
  const int hour_;
  const int minute_;
  std::function<void()> closed_;
  // Which separator the time shows.
  bool blinkphase_ = false;
};

}  // namespace pendo
