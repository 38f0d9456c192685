#include "framework/font.h"

#include <cstring>
#include <cwchar>
#include <stdexcept>

#include "settings/widetext.h"

namespace pendo {

int ScreenPixelsPerInch() {
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    const int value = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

tfont::tfont() : name_("ＭＳ Ｐゴシック"), height_(-12) {}

tfont::tfont(const tfont& o)
    : name_(o.name_),
      height_(o.height_),
      heightDpi_(o.heightDpi_),
      dpi_(o.dpi_),
      style_(o.style_),
      color_(o.color_),
      charset_(o.charset_) {}

tfont& tfont::operator=(const tfont& o) {
  if (this == &o) return *this;
  name_ = o.name_;
  height_ = o.height_;
  heightDpi_ = o.heightDpi_;
  dpi_ = o.dpi_;
  style_ = o.style_;
  color_ = o.color_;
  charset_ = o.charset_;
  Changed();
  return *this;
}

bool tfont::operator==(const tfont& o) const {
  return name_ == o.name_ && Height() == o.Height() && dpi_ == o.dpi_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_;
}

void tfont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

void tfont::SetName(const std::string& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}
int tfont::Height() const { return ScaleBetween(height_, dpi_, heightDpi_); }
void tfont::SetHeight(int height) {
  if (height == Height()) return;
  height_ = height;
  heightDpi_ = dpi_;
  Changed();
}
int tfont::Size() const { return -MulDiv(height_, 72, heightDpi_); }
void tfont::SetSize(int points) { SetHeight(-MulDiv(points, dpi_, 72)); }
void tfont::SetDpi(int dpi) {
  dpi = ClampDpi(dpi);
  if (dpi == dpi_) return;
  dpi_ = dpi;
  Changed();
}
void tfont::SetStyle(tfontstyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}
void tfont::SetColor(tcolor color) {
  if (color == color_) return;
  color_ = color;
  // The colour is not part of the GDI font, but users repaint on it.
  if (OnChange) OnChange();
}
void tfont::SetCharset(BYTE charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

LOGFONTW tfont::LogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = Height();
  lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
  lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = charset_;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  lstrcpynW(lf.lfFaceName, Wide(name_).c_str(), LF_FACESIZE);
  return lf;
}

void tfont::AssignLogFont(const LOGFONTW& lf) {
  tfont f(*this);
  f.name_ = Narrow(std::wstring_view(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE)));
  f.height_ = lf.lfHeight;
  f.heightDpi_ = dpi_;
  tfontstyles style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fsBold;
  if (lf.lfItalic) style |= fsItalic;
  if (lf.lfUnderline) style |= fsUnderline;
  if (lf.lfStrikeOut) style |= fsStrikeOut;
  f.style_ = style;
  f.charset_ = lf.lfCharSet;
  if (f != *this) *this = f;  // one change, not one per part
}

HFONT tfont::Handle() const {
  if (!handle_) {
    const LOGFONTW lf = LogFont();
    handle_.reset(CreateFontIndirectW(&lf));
    if (!handle_) throw std::runtime_error("cannot create font " + name_);
  }
  return handle_.get();
}

tfontstyles tfont::ParseStyle(const std::string& text) {
  return static_cast<tfontstyles>(ParseFlags(
      text, {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}},
      "font style"));
}

bool tfont::SetProperty(const std::string& key, const std::string& value) {
  if (key == "Font.Name") SetName(value);
  // A description's height is in 96-DPI pixels.
  else if (key == "Font.Height") SetHeight(ScaleToDpi(ParseInt(value), dpi_));
  else if (key == "Font.Size") SetSize(ParseInt(value));
  else if (key == "Font.Style") SetStyle(ParseStyle(value));
  else if (key == "Font.Color") SetColor(ParseColor(value));
  else if (key == "Font.Charset") SetCharset(static_cast<BYTE>(ParseInt(value)));
  else return false;
  return true;
}

}  // namespace pendo
