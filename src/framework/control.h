// A visible component with a place in its parent's client area. The owner
// frees it; the parent shows it. Windowed controls have a window of their
// own; graphic controls paint on their parent's.
#pragma once

#include <windows.h>

#include <string>

#include "framework/component.h"
#include "framework/font.h"
#include "settings/dpiscale.h"

namespace pendo {

class twincontrol;
class tpopupmenu;

class tcontrol : public tcomponent {
 public:
  explicit tcontrol(tcomponent* owner);
  ~tcontrol() override;

  twincontrol* Parent() const { return parent_; }
  virtual void SetParent(twincontrol* parent);
  void SetParentComponent(tcomponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and all its parents.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  tcolor Color() const { return color_; }
  void SetColor(tcolor color);
  tfont& Font() { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  // A menu of the same owner, so that freeing it clears the reference.
  tpopupmenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(tpopupmenu* menu) { popupMenu_ = menu; }
  void Notification(tcomponent* component) override;

  // Screen point of a point in the control's own coordinates.
  virtual POINT ClientToScreen(POINT p) const;
  virtual void Invalidate();

  tnotifyevent OnClick, OnDblClick;
  tmouseevent OnMouseDown, OnMouseUp;
  tmousemoveevent OnMouseMove;

  // Mouse input, in the control's own coordinates; fire the events.
  virtual void MouseDown(tmousebutton button, tshiftstate shift, int x, int y);
  virtual void MouseUp(tmousebutton button, tshiftstate shift, int x, int y);
  virtual void MouseMove(tshiftstate shift, int x, int y);
  virtual void Click();
  virtual void DblClick();

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // The parent's font has changed; follow it when ParentFont is set.
  void ParentFontChanged();

  // The display resolution the control's pixels are at: its window's, which
  // a control takes from its parent.
  int Dpi() const { return dpi_; }
  // A 96-DPI length in the control's pixels.
  int Scaled(int value) const { return ScaleToDpi(value, dpi_); }
  // Lays the control out for another resolution: its place and font from
  // those set last (so that back and forth never drifts), then its children.
  virtual void ChangeDpi(int dpi);

 protected:
  virtual void BoundsChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void CaptionChanged() {}
  virtual void ColorChanged() {}
  virtual void FontChanged() {}
  // Keeps the stored place in step with a window that the system moved.
  void UpdateBounds(int left, int top, int width, int height);
  // The resolution has changed and the place and font follow it; the
  // control's own geometry is drawn anew.
  virtual void DpiChanged() {}
  // The place at the new resolution; a form's comes from the system instead.
  virtual void ScaleBounds();

  twincontrol* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  tcolor color_ = clBtnFace;
  tfont font_;
  bool parentFont_ = true;
  tpopupmenu* popupMenu_ = nullptr;
  int dpi_ = kDesignDpi;

 private:
  // The place as set last, and the resolution it was set at.
  RECT setBounds_{0, 0, 0, 0};
  int setDpi_ = kDesignDpi;
  bool boundsSet_ = false;
  // Takes a new place; false when it is the place already held.
  bool Place(int left, int top, int width, int height);
};

}  // namespace pendo
