#include "framework/timer.h"

#include "framework/resource.h"

namespace pendo {

namespace {
const UINT_PTR kTimerId = 1;
}

ttimer::ttimer(tcomponent* owner) : tcomponent(owner) {
  window_ = std::make_unique<tutilitywindow>([this](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_TIMER && wp == kTimerId) {
      Timer();
      return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
  });
  Update();
}

ttimer::~ttimer() {
  if (running_) KillTimer(window_->Handle(), kTimerId);
}

void ttimer::Update() {
  if (running_) KillTimer(window_->Handle(), kTimerId);
  running_ = false;
  if (enabled_ && interval_ > 0 && !IsDestroying()) {
    if (!SetTimer(window_->Handle(), kTimerId, interval_, nullptr)) throw std::runtime_error("no timer left");
    running_ = true;
  }
}

void ttimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void ttimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void ttimer::Timer() {
  if (OnTimer) OnTimer(this);
}

bool ttimer::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Enabled") SetEnabled(ParseBool(v));
  else if (n == "Interval") SetInterval(static_cast<unsigned>(ParseInt(v)));
  else if (n == "OnTimer") {
    OnTimer = ctx.Handler<tnotifyevent>();
    Update();
  } else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
