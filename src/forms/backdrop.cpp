#include "forms/backdrop.h"

#include <utility>
#include <vector>

#include "forms/backdropclient.h"
#include "framework/desktopbackground.h"
#include "framework/form.h"
#include "framework/handles.h"

namespace pendo {

namespace {
POINT ClientOrigin(tform& form) {
  POINT p{0, 0};
  ClientToScreen(form.Handle(), &p);
  return p;
}
}  // namespace

LRESULT tbackdrop::Erase(HDC dc) { return tdesktopbackground::Paint(dc, ClientOrigin(form_)); }

void tbackdrop::Take() {
  image_.SetSize(form_.Width(), form_.Height());
  tcanvas& target = image_.Canvas();
  if (tdesktopbackground::DesktopPaintsOnRequest()) {
    // Read back, not painted: what the erase has just put in the window.
    twindowdc window(form_.Handle());
    target.BitBlt(0, 0, form_.Width(), form_.Height(), window.get(), 0, 0, SRCCOPY);
  } else {
    // The same picture the erase has just put on the screen, drawn again
    // here rather than read back, so that no window above ours gets in.
    tdesktopbackground::PaintWallpaper(target.Handle(), ClientOrigin(form_),
                                       RECT{0, 0, form_.Width(), form_.Height()});
  }
}

void tbackdrop::Capture() {
  std::vector<std::pair<tcontrol*, bool>> controls;
  for (tcomponent* c : form_.Components()) {
    if (auto* control = dynamic_cast<tcontrol*>(c)) controls.emplace_back(control, control->Visible());
  }
  struct trestore {
    std::vector<std::pair<tcontrol*, bool>>& controls;
    ~trestore() {
      for (auto& c : controls) c.first->SetVisible(c.second);
    }
  } restore{controls};
  for (auto& c : controls) c.first->SetVisible(false);
  form_.Update();
  if (form_.Showing()) Take();
}

void tbackdrop::Recapture() {
  InvalidateRect(form_.Handle(), nullptr, TRUE);
  Capture();
}

void tbackdrop::FirstPaint() {
  if (!capturePending_) return;
  if (form_.Showing()) Take();
  for (tcomponent* c : form_.Components()) {
    if (auto* client = dynamic_cast<tbackdropclient*>(c)) client->RefreshBackground();
  }
  capturePending_ = false;
}

}  // namespace pendo
