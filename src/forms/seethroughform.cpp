#include "forms/seethroughform.h"

#include "forms/primaryform.h"
#include "framework/desktopbackground.h"

namespace pendo {

template <class Base>
tseethroughform<Base>::tseethroughform(tcomponent* owner, const tformdesc& description)
    : Base(owner, description), backdrop_(std::make_unique<tbackdrop>(*this)) {}

template <class Base>
void tseethroughform<Base>::CreateParams(tcreateparams& p) {
  Base::CreateParams(p);
  p.style = WS_POPUP | WS_THICKFRAME;
  p.exStyle |= WS_EX_NOPARENTNOTIFY;
}

template <class Base>
void tseethroughform<Base>::CaptureBackdrop() {
  if (backdrop_) backdrop_->Capture();
}

template <class Base>
void tseethroughform<Base>::RecaptureBackdrop() {
  if (backdrop_) backdrop_->Recapture();
}

template <class Base>
void tseethroughform<Base>::SystemSettingsChanged() {
  // The wallpaper may have changed.
  tdesktopbackground::Reload();
  RecaptureBackdrop();
}

template <class Base>
void tseethroughform<Base>::Paint() {
  if (backdrop_) backdrop_->FirstPaint();
  Base::Paint();
}

template <class Base>
LRESULT tseethroughform<Base>::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      if (backdrop_) return backdrop_->Erase(reinterpret_cast<HDC>(wp));
      break;
    case WM_MOVE: {
      const LRESULT r = Base::WndProc(msg, wp, lp);
      if (this->Showing()) RecaptureBackdrop();
      return r;
    }
  }
  return Base::WndProc(msg, wp, lp);
}

template <class Base>
void tseethroughform<Base>::BeforeDestruction() {
  backdrop_.reset();
  Base::BeforeDestruction();
}

template class tseethroughform<tform>;
template class tseethroughform<tadvancedform>;
template class tseethroughform<tprimaryform>;

}  // namespace pendo
