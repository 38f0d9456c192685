#include "forms/transparentform.h"

#include "framework/desktopbackground.h"

namespace pendo {

ttransparentform::ttransparentform(tcomponent* owner, const tformdesc& description)
    : tadvancedform(owner, description), backdrop_(std::make_unique<tbackdrop>(*this)) {}

void ttransparentform::CreateParams(tcreateparams& p) {
  tadvancedform::CreateParams(p);
  p.style = WS_POPUP | WS_THICKFRAME;
  p.exStyle |= WS_EX_NOPARENTNOTIFY;
}

void ttransparentform::CaptureBackdrop() {
  if (backdrop_) backdrop_->Capture();
}

void ttransparentform::RecaptureBackdrop() {
  if (backdrop_) backdrop_->Recapture();
}

void ttransparentform::SystemSettingsChanged() {
  // The wallpaper may have changed.
  tdesktopbackground::Reload();
  RecaptureBackdrop();
}

void ttransparentform::Paint() {
  if (backdrop_) backdrop_->FirstPaint();
  tadvancedform::Paint();
}

LRESULT ttransparentform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (backdrop_) return backdrop_->Erase(reinterpret_cast<HDC>(wp));
      break;
    case WM_MOVE: {
      const LRESULT r = tadvancedform::WndProc(msg, wp, lp);
      if (Showing()) RecaptureBackdrop();
      return r;
    }
  }
  return tadvancedform::WndProc(msg, wp, lp);
}

void ttransparentform::BeforeDestruction() {
  backdrop_.reset();
  tadvancedform::BeforeDestruction();
}

}  // namespace pendo
