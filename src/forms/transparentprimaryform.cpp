#include "forms/transparentprimaryform.h"

namespace pendo {

void ttransparentprimaryform::ShowAtStartup() {
  tprimaryform::ShowAtStartup();
  Update();
}

void ttransparentprimaryform::Resize() {
  tprimaryform::Resize();
  if (Showing()) {
    InvalidateRect(Handle(), nullptr, TRUE);
    CaptureBackdrop();
  }
}

}  // namespace pendo
