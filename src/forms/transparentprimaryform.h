// The primary window's see-through twin of ttransparentform: the same
// backdrop, and also a new capture after every resize and an immediate
// paint after the start-up show.
#pragma once

#include "forms/backdrop.h"
#include "forms/primaryform.h"

namespace pendo {

class ttransparentprimaryform : public tprimaryform {
 public:
  ttransparentprimaryform(tcomponent* owner, const tformdesc& description);

  tbitmap* BackdropImage() { return backdrop_ ? backdrop_->Image() : nullptr; }
  bool CapturePending() const { return backdrop_ && backdrop_->CapturePending(); }
  void CaptureBackdrop();
  void RecaptureBackdrop();
  void SystemSettingsChanged() override;
  void ShowAtStartup() override;

 protected:
  void CreateParams(tcreateparams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint() override;
  void Resize() override;
  void BeforeDestruction() override;

 private:
  std::unique_ptr<tbackdrop> backdrop_;
};

}  // namespace pendo
