// A timer component: OnTimer fires every Interval milliseconds while enabled,
// on the user-interface thread, also inside modal loops.
#pragma once

#include <memory>

#include "framework/component.h"
#include "framework/utilitywindow.h"

namespace pendo {

class ttimer : public tcomponent {
 public:
  explicit ttimer(tcomponent* owner);
  ~ttimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  tnotifyevent OnTimer;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  virtual void Timer();

 private:
  void Update();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  bool running_ = false;
  std::unique_ptr<tutilitywindow> window_;
};

}  // namespace pendo
