#include "controls/colorpalettebutton.h"

#include <oleacc.h>

#include <string>

#include "framework/canvas.h"
#include "framework/resource.h"

namespace pendo {

tcolorpalettebutton::tcolorpalettebutton(tcomponent* owner) : twincontrol(owner) {
  width_ = 20;
  height_ = 20;
  color_ = clBlack;
  // Drawn, not a system control: a screen reader hears what it is for and
  // the colour it holds.
  SetAccessible({[this] { return accessibleName_; }, [this] { return ColorText(ColorToRGB(color_)); },
                 ROLE_SYSTEM_PUSHBUTTON});
}

std::string tcolorpalettebutton::ColorText(COLORREF c) {
  return "赤 " + std::to_string(GetRValue(c)) + "、緑 " + std::to_string(GetGValue(c)) + "、青 " +
         std::to_string(GetBValue(c));
}

void tcolorpalettebutton::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  p.windowClass = "tcolorpalettebutton";
}

void tcolorpalettebutton::Click() {
  twincontrol::Click();
  SetFocus();
}

void tcolorpalettebutton::KeyDown(WORD& key, tshiftstate shift) {
  twincontrol::KeyDown(key, shift);
  if (key == VK_SPACE) DblClick();
}

// Drawn by its paint message, sent at once: a change shows before the
// caller goes on.
void tcolorpalettebutton::Repaint() {
  Invalidate();
  Update();
}

void tcolorpalettebutton::EnabledChanged() {
  twincontrol::EnabledChanged();
  Repaint();
}

void tcolorpalettebutton::PaintWindow(HDC dc) {
  tcanvas c(dc);
  const int w = width_, h = height_;
  const tcolor fill = enabled_ ? color_ : clSilver;
  c.Pen.SetColor(fill);
  c.Brush.SetColor(fill);
  c.Rectangle(0, 0, w, h);
  if (enabled_ && Focused()) {
    c.Pen.SetColor(clBlack);
    c.Brush.SetStyle(tbrushstyle::bsClear);
    c.Rectangle(0, 0, w, h);
    return;
  }
  c.Pen.SetColor(clGray);
  c.MoveTo(0, 0);
  c.LineTo(0, h);
  c.MoveTo(0, 0);
  c.LineTo(w, 0);
  c.Pen.SetColor(clWhite);
  c.MoveTo(1, h - 1);
  c.LineTo(w - 1, h - 1);
  c.MoveTo(w - 1, 0);
  c.LineTo(w - 1, h);
}

LRESULT tcolorpalettebutton::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) {
    const LRESULT r = twincontrol::WndProc(msg, wp, lp);
    const tnotifyevent& event = msg == WM_SETFOCUS ? OnEnter : OnExit;
    if (event) event(this);
    Repaint();
    return r;
  }
  return twincontrol::WndProc(msg, wp, lp);
}

bool tcolorpalettebutton::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "AccessibleName") accessibleName_ = v;
  else if (n == "OnEnter") OnEnter = ctx.Handler<tnotifyevent>();
  else if (n == "OnExit") OnExit = ctx.Handler<tnotifyevent>();
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
