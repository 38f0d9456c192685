#include "forms/transparentprimaryform.h"

#include "framework/desktopbackground.h"

namespace pendo {

ttransparentprimaryform::ttransparentprimaryform(tcomponent* owner, const tformdesc& description)
    : tprimaryform(owner, description), backdrop_(std::make_unique<tbackdrop>(*this)) {}

void ttransparentprimaryform::CreateParams(tcreateparams& p) {
  tprimaryform::CreateParams(p);
  p.style = WS_POPUP | WS_THICKFRAME;
  p.exStyle |= WS_EX_NOPARENTNOTIFY;
}

void ttransparentprimaryform::CaptureBackdrop() {
  if (backdrop_) backdrop_->Capture();
}

void ttransparentprimaryform::RecaptureBackdrop() {
  if (backdrop_) backdrop_->Recapture();
}

void ttransparentprimaryform::SystemSettingsChanged() {
  // The wallpaper may have changed.
  tdesktopbackground::Reload();
  RecaptureBackdrop();
}

void ttransparentprimaryform::ShowAtStartup() {
  tprimaryform::ShowAtStartup();
  Update();
}

void ttransparentprimaryform::Paint() {
  if (backdrop_) backdrop_->FirstPaint();
  tprimaryform::Paint();
}

void ttransparentprimaryform::Resize() {
  tprimaryform::Resize();
  if (Showing()) {
    InvalidateRect(Handle(), nullptr, TRUE);
    CaptureBackdrop();
  }
}

LRESULT ttransparentprimaryform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (backdrop_) return backdrop_->Erase(reinterpret_cast<HDC>(wp));
      break;
    case WM_MOVE: {
      const LRESULT r = tprimaryform::WndProc(msg, wp, lp);
      if (Showing()) RecaptureBackdrop();
      return r;
    }
  }
  return tprimaryform::WndProc(msg, wp, lp);
}

void ttransparentprimaryform::BeforeDestruction() {
  backdrop_.reset();
  tprimaryform::BeforeDestruction();
}

}  // namespace pendo
