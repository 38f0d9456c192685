#include "notices/_noticeform.h"

#include <oleacc.h>

#include <utility>

#include "panels/gdisurface.h"
#include "panels/graphicalgaugepanel.h"

namespace pendo {

namespace {
// clang-format off
const tformdesc kNoticeform{"noticeform",
  {{"BorderStyle", "bsDialog"}, {"BorderIcons", ""}, {"Position", "poScreenCenter"}, {"KeyPreview", "True"},
   {"ClientWidth", 427}, {"ClientHeight", 31}, {"Font.Name", "ＭＳ Ｐゴシック"}, {"Font.Height", -12},
   {"OnClick", &Tnoticeform::FormClick}, {"OnClose", &Tnoticeform::FormClose}, {"OnCreate", &Tnoticeform::FormCreate}, {"OnKeyDown", &Tnoticeform::FormKeyDown}},
  {
    {"tgraphicalgaugepanel", "noticepanel", "",
     {{"Left", 4}, {"Top", 1}, {"Width", 73}, {"Height", 30}, {"Beveling", "bldouble"}, {"Title", ""},
      {"TitleColor", "clBlack"}, {"CenterColor", "clBlack"}, {"ValueColor", "clBlack"},
      {"TitleFont.Name", "Arial"}, {"TitleFont.Height", -11}, {"ValueFont.Name", "Arial"}, {"ValueFont.Height", -11},
      {"CenterFont.Name", "ＭＳ Ｐゴシック"}, {"CenterFont.Height", -12},
      {"TransparentBackground", "True"}, {"TransparentBackgroundHalftone", "True"},
      {"TransparentForeground", "True"}, {"Interlace", "False"}, {"HorizontalNoise", "False"},
      {"BlinkSignal", "False"}, {"MaxAutoFix", "False"}, {"MaxAutoAdjust", "False"},
      {"Position", 0}, {"Max", 0}, {"GaugeColor", 16764074}, {"GaugeVisible", "True"},
      {"OnClick", &Tnoticeform::FormClick}}},
    {"ttimer", "closetimer", "", {{"Interval", Tnoticeform::kCloseAfterMs}, {"Enabled", "True"},
                                  {"OnTimer", &Tnoticeform::closetimerTimer}}},
    {"ttimer", "blinktimer", "", {{"Interval", 1000}, {"Enabled", "True"}, {"OnTimer", &Tnoticeform::blinktimerTimer}}},
  }};
// clang-format on
}  // namespace

Tnoticeform::Tnoticeform(tcomponent* owner, std::string message, int hour, int minute, std::function<void()> closed)
    : tbackdropform(owner, kNoticeform),
      message_(std::move(message)),
      hour_(hour),
      minute_(minute),
      closed_(std::move(closed)) {}

void Tnoticeform::DeclarePublished(tresourcecontext& c) {
  c.Field("noticepanel", noticepanel);
  c.Field("closetimer", closetimer);
  c.Field("blinktimer", blinktimer);
}

std::string Tnoticeform::TimeText(bool colon) const {
  return "at " + std::to_string(hour_) + (colon ? ":" : " ") + std::to_string(minute_);
}

void Tnoticeform::FormCreate(tobject*) {
  noticepanel->SetCenter(message_);
  noticepanel->SetValue(TimeText(true));
  // As wide as the message in the panel's own centre font, measured as the
  // panel measures it.
  tgdisurface scratch(1, 1);
  const tfontlook font = FontAtDpi(noticepanel->Look().centerFont, Dpi());
  noticepanel->SetWidth(scratch.MeasureText(font, message_).cx + Scaled(80));
  SetClientSize(noticepanel->Width() + Scaled(8), Scaled(32));
  SetAccessible({[this] { return message_; }, [this] { return TimeText(true); }, ROLE_SYSTEM_ALERT});
}

void Tnoticeform::DoShow() {
  tbackdropform::DoShow();
  TellAccessible(EVENT_SYSTEM_ALERT);
}

void Tnoticeform::FormClick(tobject*) { Close(); }

void Tnoticeform::FormKeyDown(tobject*, WORD& key, tshiftstate) {
  if (key == VK_RETURN || key == VK_ESCAPE) Close();
}

void Tnoticeform::closetimerTimer(tobject*) { Close(); }

void Tnoticeform::blinktimerTimer(tobject*) {
  blinkphase_ = !blinkphase_;
  noticepanel->SetValue(TimeText(blinkphase_));
}

void Tnoticeform::FormClose(tobject*, tcloseaction& action) {
  action = tcloseaction::caFree;
  // Freed once the waiting messages are handled; no tick may close it again.
  closetimer->SetEnabled(false);
  blinktimer->SetEnabled(false);
  if (closed_) closed_();
}

}  // namespace pendo
