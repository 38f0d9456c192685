#include "framework/canvas.h"

#include <stdexcept>

#include "framework/graphic.h"
#include "settings/widetext.h"

namespace pendo {

void tpen::SetColor(tcolor c) {
  if (c == color_) return;
  color_ = c;
  Replace();
}
void tpen::SetWidth(int w) {
  if (w == width_) return;
  width_ = w;
  Replace();
}
void tpen::SetStyle(tpenstyle s) {
  if (s == style_) return;
  style_ = s;
  Replace();
}
void tpen::Replace() {
  // A pen made since the last replacement was never selected by the canvas.
  if (replaced_) handle_.reset();
  else replaced_ = std::move(handle_);
}
HPEN tpen::Handle() const {
  if (!handle_) {
    handle_.reset(CreatePen(static_cast<int>(style_), width_, ColorToRGB(color_)));
    if (!handle_) throw std::runtime_error("cannot create pen");
  }
  return handle_.get();
}

void tbrush::SetColor(tcolor c) {
  if (c == color_) return;
  color_ = c;
  Replace();
}
void tbrush::SetStyle(tbrushstyle s) {
  if (s == style_) return;
  style_ = s;
  Replace();
}
void tbrush::Replace() {
  if (replaced_) handle_.reset();
  else replaced_ = std::move(handle_);
}
HBRUSH tbrush::Handle() const {
  if (!handle_) {
    if (style_ == tbrushstyle::bsClear) {
      LOGBRUSH lb{BS_NULL, 0, 0};
      handle_.reset(CreateBrushIndirect(&lb));
    } else {
      handle_.reset(CreateSolidBrush(ColorToRGB(color_)));
    }
    if (!handle_) throw std::runtime_error("cannot create brush");
  }
  return handle_.get();
}

void tcanvas::SetHandle(HDC dc) {
  if (dc_) {
    // Put the DC's own objects back so that ours can be deleted.
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (oldFont_) SelectObject(dc_, oldFont_);
  }
  oldPen_ = oldBrush_ = oldFont_ = nullptr;
  dc_ = dc;
}

HDC tcanvas::Checked() const {
  if (!dc_) throw std::logic_error("canvas has no device context");
  return dc_;
}

void tcanvas::Need() {
  HDC dc = Checked();
  // Objects are selected anew each time: the pen or brush may have been re-created.
  HGDIOBJ old = SelectObject(dc, Pen.Handle());
  if (!oldPen_) oldPen_ = old;
  Pen.DropReplaced();
  old = SelectObject(dc, Brush.Handle());
  if (!oldBrush_) oldBrush_ = old;
  Brush.DropReplaced();
  SetBrushOrgEx(dc, 0, 0, nullptr);
}

void tcanvas::NeedFont() {
  HDC dc = Checked();
  HGDIOBJ old = SelectObject(dc, Font.Handle());
  if (!oldFont_) oldFont_ = old;
  SetTextColor(dc, ColorToRGB(Font.Color()));
  if (Brush.Style() == tbrushstyle::bsClear) {
    SetBkMode(dc, TRANSPARENT);
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(Brush.Color()));
  }
}

void tcanvas::MoveTo(int x, int y) { MoveToEx(Checked(), x, y, nullptr); }
void tcanvas::LineTo(int x, int y) {
  Need();
  ::LineTo(dc_, x, y);
}
void tcanvas::Rectangle(int l, int t, int r, int b) {
  Need();
  ::Rectangle(dc_, l, t, r, b);
}
void tcanvas::FillRect(const RECT& r) {
  Need();
  ::FillRect(dc_, &r, Brush.Handle());
}
void tcanvas::FrameRect(const RECT& r) {
  Need();
  ::FrameRect(dc_, &r, Brush.Handle());
}
void tcanvas::Ellipse(int l, int t, int r, int b) {
  Need();
  ::Ellipse(dc_, l, t, r, b);
}
void tcanvas::Polygon(const std::vector<POINT>& points) {
  if (points.empty()) return;
  Need();
  ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
}
void tcanvas::Polyline(const std::vector<POINT>& points) {
  if (points.empty()) return;
  Need();
  ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
}
void tcanvas::TextOut(int x, int y, const std::string& text) {
  NeedFont();
  const std::wstring wide = Wide(text);
  ::TextOutW(dc_, x, y, wide.data(), static_cast<int>(wide.size()));
}
void tcanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  NeedFont();
  const UINT opts = ETO_CLIPPED | (Brush.Style() == tbrushstyle::bsClear ? 0 : ETO_OPAQUE);
  const std::wstring wide = Wide(text);
  ::ExtTextOutW(dc_, x, y, opts, &r, wide.data(), static_cast<UINT>(wide.size()), nullptr);
}
SIZE tcanvas::TextExtent(const std::string& text) {
  NeedFont();
  SIZE s{0, 0};
  const std::wstring wide = Wide(text);
  if (!GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &s)) s = SIZE{0, 0};
  return s;
}
COLORREF tcanvas::Pixel(int x, int y) const { return GetPixel(Checked(), x, y); }
void tcanvas::SetPixel(int x, int y, tcolor color) { ::SetPixelV(Checked(), x, y, ColorToRGB(color)); }

void tcanvas::CopyRect(const RECT& d, const tcanvas& source, const RECT& s, DWORD rop) {
  const int dw = d.right - d.left, dh = d.bottom - d.top, sw = s.right - s.left, sh = s.bottom - s.top;
  if (dw == sw && dh == sh) {
    ::BitBlt(Checked(), d.left, d.top, dw, dh, source.Checked(), s.left, s.top, rop);
  } else {
    SetStretchBltMode(Checked(), COLORONCOLOR);
    ::StretchBlt(dc_, d.left, d.top, dw, dh, source.Checked(), s.left, s.top, sw, sh, rop);
  }
}
void tcanvas::BitBlt(int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
  ::BitBlt(Checked(), x, y, w, h, source, sx, sy, rop);
}
void tcanvas::Draw(int x, int y, const tgraphic& g) {
  if (g.Empty()) return;
  g.Draw(*this, RECT{x, y, x + g.Width(), y + g.Height()});
}
void tcanvas::StretchDraw(const RECT& r, const tgraphic& g) {
  if (!g.Empty()) g.Draw(*this, r);
}

}  // namespace pendo
