#include "panels/gdisurface.h"

#include <stdexcept>

#include "bitmap/halfmix.h"
#include "framework/handles.h"
#include "settings/widetext.h"

namespace pendo {

static_assert(fsBold == lsBold && fsItalic == lsItalic && fsUnderline == lsUnderline && fsStrikeOut == lsStrikeOut,
              "a look's style set is the framework's");

tfont FontOf(const tfontlook& look) {
  tfont f;
  f.SetDpi(look.dpi);
  f.SetName(look.name);
  if (look.height != 0)
    f.SetHeight(ScaleToDpi(look.height, look.dpi));
  else
    f.SetSize(look.size);
  f.SetStyle(look.style);
  f.SetCharset(static_cast<BYTE>(look.charset));
  return f;
}

tfontlook FontLookOf(const tfont& given) {
  // A look is in 96-DPI terms.
  tfont font(given);
  font.SetDpi(kDesignDpi);
  // A height its size gives anyway is no height of its own: a font read back
  // from a look compares equal to it.
  tfont sized;
  sized.SetSize(font.Size());
  const int height = sized.Height() == font.Height() ? 0 : font.Height();
  return tfontlook{font.Name(), font.Size(), font.Style(), height, font.Charset()};
}

tgdisurface::tgdisurface(int width, int height)
    : own_(std::make_unique<tbitmap>(width, height)), bitmap_(own_.get()) {}

std::unique_ptr<tpanelsurface> tgdisurface::NewSurface(int width, int height) const {
  return std::make_unique<tgdisurface>(width, height);
}

HDC tgdisurface::SourceDC(const tpanelsurface& s) {
  auto& gdi = const_cast<tgdisurface&>(dynamic_cast<const tgdisurface&>(s));
  return gdi.DC();
}

void tgdisurface::Fill(int left, int top, int right, int bottom, tlookcolor color) {
  tcanvas& c = bitmap_->Canvas();
  c.Pen.SetColor(color);
  c.Brush.SetColor(color);
  c.Rectangle(left, top, right, bottom);
}

void tgdisurface::Line(int x0, int y0, int x1, int y1, tlookcolor color) {
  tcanvas& c = bitmap_->Canvas();
  c.Pen.SetColor(color);
  c.MoveTo(x0, y0);
  c.LineTo(x1, y1);
}

void tgdisurface::Polygon(const std::vector<tpanelpoint>& points, tlookcolor color) {
  tcanvas& c = bitmap_->Canvas();
  c.Pen.SetColor(color);
  c.Brush.SetColor(color);
  std::vector<POINT> p;
  for (const auto& q : points) p.push_back(POINT{q.x, q.y});
  c.Polygon(p);
}

void tgdisurface::CopyFrom(const tpanelsurface& source, int x, int y) {
  bitmap_->Canvas().BitBlt(0, 0, Width(), Height(), SourceDC(source), x, y, SRCCOPY);
}

void tgdisurface::MixHalf(const tpanelsurface& other) {
  auto& b = const_cast<tgdisurface&>(dynamic_cast<const tgdisurface&>(other)).Bitmap();
  // The mix needs both bitmaps out of their canvases' DCs.
  HBITMAP ha = bitmap_->ReleaseHandle();
  HBITMAP hb = b.ReleaseHandle();
  struct tgiveback {
    tbitmap &a, &b;
    HBITMAP ha, hb;
    ~tgiveback() {
      a.SetHandle(ha);
      b.SetHandle(hb);
    }
  } giveback{*bitmap_, b, ha, hb};
  HalfMix(ha, hb, 50);
}

void tgdisurface::Raster(const tpanelsurface& other, DWORD rop) {
  bitmap_->Canvas().BitBlt(0, 0, Width(), Height(), SourceDC(other), 0, 0, rop);
}

void tgdisurface::AndWith(const tpanelsurface& other) { Raster(other, SRCAND); }
void tgdisurface::OrWith(const tpanelsurface& other) { Raster(other, SRCPAINT); }

void tgdisurface::ShiftRowRight(int y) {
  HDC dc = DC();
  ::BitBlt(dc, 1, y, Width() + 1, 1, dc, 0, y, SRCCOPY);
}

const tfont& tgdisurface::Font(const tfontlook& look) {
  const auto key = std::make_tuple(look.name, look.size, look.style, look.height, look.charset, look.dpi);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) it = fonts_.emplace(key, FontOf(look)).first;
  return it->second;
}

tpanelsize tgdisurface::MeasureText(const tfontlook& font, const std::string& text) {
  // Measured as if regular, in the face's plain size.
  const tfont& measure = Font(tfontlook{font.name, font.size, 0, 0, 1, font.dpi});
  tmemorydc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw std::runtime_error("cannot create a memory device context");
  tselection sel(dc.get(), measure.Handle());
  SIZE s{0, 0};
  const std::wstring wide = Wide(text);
  if (!GetTextExtentPointW(dc.get(), wide.data(), static_cast<int>(wide.size()), &s)) s = SIZE{0, 0};
  return tpanelsize{s.cx, s.cy};
}

void tgdisurface::Text(const tfontlook& font, tlookcolor color, int x, int y, const std::string& text) {
  HDC dc = DC();
  tselection sel(dc, Font(font).Handle());
  SetTextColor(dc, ColorToRGB(color));
  SetBkMode(dc, TRANSPARENT);
  const std::wstring wide = Wide(text);
  if (!TextOutW(dc, x, y, wide.data(), static_cast<int>(wide.size())))
    throw std::runtime_error("cannot draw a panel's text");
}

}  // namespace pendo
