#include "framework/graphiccontrol.h"

#include "framework/handles.h"
#include "framework/wincontrol.h"

namespace pendo {

tgraphiccontrol::tgraphiccontrol(tcomponent* owner) : tcontrol(owner) {}

void tgraphiccontrol::Repaint() {
  if (!Showing() || !parent_->HandleAllocated()) return;
  twindowdc dc(parent_->Handle());
  const int saved = SaveDC(dc.get());
  SetViewportOrgEx(dc.get(), left_, top_, nullptr);
  IntersectClipRect(dc.get(), 0, 0, width_, height_);
  {
    tcanvas canvas(dc.get());
    canvas.Font = font_;
    Paint(canvas);
  }
  RestoreDC(dc.get(), saved);
}

void tgraphiccontrol::BoundsChanged() {
  // Both the old and the new place need painting; the parent repaints all.
  if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), nullptr, TRUE);
}

void tgraphiccontrol::VisibleChanged() { Invalidate(); }

}  // namespace pendo
