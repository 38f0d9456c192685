#include "framework/control.h"

#include "framework/menus.h"
#include "framework/resource.h"
#include "framework/wincontrol.h"

namespace pendo {

tcontrol::tcontrol(tcomponent* owner) : tcomponent(owner) {
  font_.OnChange = [this] {
    parentFont_ = false;
    FontChanged();
  };
}

tcontrol::~tcontrol() {
  if (parent_) parent_->RemoveControl(this);
}

void tcontrol::SetParentComponent(tcomponent* parent) {
  auto* p = dynamic_cast<twincontrol*>(parent);
  if (p && p != this) SetParent(p);
}

void tcontrol::SetParent(twincontrol* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parentFont_) ParentFontChanged();
    ChangeDpi(parent_->Dpi());
  }
}

void tcontrol::ChangeDpi(int dpi) {
  dpi = ClampDpi(dpi);
  if (dpi == dpi_) return;
  if (!boundsSet_) {
    // A place no one set is the class's own, at the resolution it had.
    setBounds_ = RECT{left_, top_, width_, height_};
    setDpi_ = dpi_;
    boundsSet_ = true;
  }
  dpi_ = dpi;
  if (parentFont_ && parent_ && parent_->Dpi() == dpi) {
    ParentFontChanged();
  } else {
    // Not a change the user made: the font stays the parent's if it was.
    const bool parentFont = parentFont_;
    font_.SetDpi(dpi);
    parentFont_ = parentFont;
  }
  ScaleBounds();
  DpiChanged();
}

void tcontrol::ScaleBounds() {
  const RECT& b = setBounds_;
  const int left = ScaleBetween(b.left, dpi_, setDpi_), top = ScaleBetween(b.top, dpi_, setDpi_);
  const int width = ScaleBetween(b.right, dpi_, setDpi_), height = ScaleBetween(b.bottom, dpi_, setDpi_);
  if (Place(left, top, width, height)) BoundsChanged();
}

bool tcontrol::Place(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return false;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  return true;
}

void tcontrol::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  auto keep = std::move(font_.OnChange);
  font_ = parent_->Font();
  font_.OnChange = std::move(keep);
  FontChanged();
}

void tcontrol::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void tcontrol::SetBounds(int left, int top, int width, int height) {
  setBounds_ = RECT{left, top, width, height};
  setDpi_ = dpi_;
  boundsSet_ = true;
  if (Place(left, top, width, height)) BoundsChanged();
}

void tcontrol::UpdateBounds(int left, int top, int width, int height) {
  // The place the framework gave is not the system's moving the window.
  if (!Place(left, top, width, height)) return;
  setBounds_ = RECT{left, top, width, height};
  setDpi_ = dpi_;
  boundsSet_ = true;
}

void tcontrol::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
}

bool tcontrol::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void tcontrol::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void tcontrol::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  CaptionChanged();
}

void tcontrol::SetColor(tcolor color) {
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

POINT tcontrol::ClientToScreen(POINT p) const {
  if (!parent_) return p;
  return parent_->ClientToScreen(POINT{p.x + left_, p.y + top_});
}

void tcontrol::Invalidate() {
  if (parent_ && parent_->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

void tcontrol::MouseDown(tmousebutton b, tshiftstate s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void tcontrol::MouseUp(tmousebutton b, tshiftstate s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void tcontrol::MouseMove(tshiftstate s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void tcontrol::Click() {
  if (OnClick) OnClick(this);
}
void tcontrol::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool tcontrol::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  // A description's place is in 96-DPI pixels.
  if (n == "Left") SetLeft(Scaled(ParseInt(v)));
  else if (n == "Top") SetTop(Scaled(ParseInt(v)));
  else if (n == "Width") SetWidth(Scaled(ParseInt(v)));
  else if (n == "Height") SetHeight(Scaled(ParseInt(v)));
  else if (n == "Visible") SetVisible(ParseBool(v));
  else if (n == "Enabled") SetEnabled(ParseBool(v));
  else if (n == "Caption" || n == "Text") SetCaption(v);
  else if (n == "Color") SetColor(ParseColor(v));
  else if (n == "ParentFont") SetParentFont(ParseBool(v));
  else if (font_.SetProperty(n, v)) {
  } else if (n == "PopupMenu") {
    ctx.Fixup([this, v, &ctx] {
      auto* menu = dynamic_cast<tpopupmenu*>(ctx.FindComponent(v));
      if (!menu) throw std::logic_error(v + " is not a pop-up menu");
      SetPopupMenu(menu);
    });
  } else if (n == "OnClick") OnClick = ctx.Handler<tnotifyevent>();
  else if (n == "OnDblClick") OnDblClick = ctx.Handler<tnotifyevent>();
  else if (n == "OnMouseDown") OnMouseDown = ctx.Handler<tmouseevent>();
  else if (n == "OnMouseUp") OnMouseUp = ctx.Handler<tmouseevent>();
  else if (n == "OnMouseMove") OnMouseMove = ctx.Handler<tmousemoveevent>();
  else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

void tcontrol::Notification(tcomponent* component) {
  if (component == popupMenu_) popupMenu_ = nullptr;
}

}  // namespace pendo
