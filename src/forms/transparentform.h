// A persistent window that looks painted onto the desktop: the desktop paints
// its own background into it, and the window keeps a copy of that picture,
// the backdrop, for the gauge panels it owns. No region is set; the window
// stays rectangular, with no caption and a sizing border.
#pragma once

#include "forms/advancedform.h"
#include "forms/backdrop.h"

namespace pendo {

class ttransparentform : public tadvancedform {
 public:
  ttransparentform(tcomponent* owner, const tformdesc& description);

  tbitmap* BackdropImage() { return backdrop_ ? backdrop_->Image() : nullptr; }
  bool CapturePending() const { return backdrop_ && backdrop_->CapturePending(); }
  void CaptureBackdrop();
  void RecaptureBackdrop();
  void SystemSettingsChanged() override;

 protected:
  void CreateParams(tcreateparams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint() override;
  void BeforeDestruction() override;

 private:
  std::unique_ptr<tbackdrop> backdrop_;
};

}  // namespace pendo
