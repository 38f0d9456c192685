// A control without a window: it paints on its parent's client area, at its
// own place, and receives the parent's mouse input over that place.
#pragma once

#include "framework/canvas.h"
#include "framework/control.h"

namespace pendo {

class tgraphiccontrol : public tcontrol {
 public:
  explicit tgraphiccontrol(tcomponent* owner);

  // The parent's paint message: draws into a canvas whose origin is the
  // control's top-left corner and whose clip is the control's rectangle.
  virtual void Paint(tcanvas& canvas) {}

 protected:
  void BoundsChanged() override;
  void VisibleChanged() override;
  void FontChanged() override { Invalidate(); }
  void ColorChanged() override { Invalidate(); }
  void CaptionChanged() override { Invalidate(); }
};

}  // namespace pendo
