#include "framework/graphiccontrol.h"

#include "framework/wincontrol.h"

namespace pendo {

tgraphiccontrol::tgraphiccontrol(tcomponent* owner) : tcontrol(owner) {}

void tgraphiccontrol::BoundsChanged() {
  // Both the old and the new place need painting; the parent repaints all.
  if (parent_ && parent_->HandleAllocated()) InvalidateRect(parent_->Handle(), nullptr, TRUE);
}

void tgraphiccontrol::VisibleChanged() { Invalidate(); }

}  // namespace pendo
