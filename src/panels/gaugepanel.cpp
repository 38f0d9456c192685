#include "panels/gaugepanel.h"

#include <stdexcept>

#include "bitmap/halfmix.h"
#include "forms/backdropsource.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/resource.h"
#include "framework/wincontrol.h"
#include "settings/profiler.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

int g_depthOverride = 0;
std::function<void()>& FailureHook() {
  static std::function<void()> hook;
  return hook;
}

bool StartsWith(const std::string& text, const char* prefix, std::string& rest) {
  const std::string p(prefix);
  if (text.compare(0, p.size(), p) != 0) return false;
  rest = text.substr(p.size());
  return true;
}

// "TitleFont.Name" and the like go to the font as "Font.Name".
bool SetFontProperty(tfont& font, const char* prefix, const std::string& name, const std::string& value) {
  std::string rest;
  if (!StartsWith(name, prefix, rest)) return false;
  return font.SetProperty("Font." + rest, value);
}

tbevelingtype ParseBeveling(const std::string& text) {
  if (text == "blnone" || text == "0") return blnone;
  if (text == "blsingle" || text == "1") return blsingle;
  if (text == "bldouble" || text == "2") return bldouble;
  throw std::invalid_argument("unknown beveling " + text);
}

}  // namespace

tgaugepanel::tgaugepanel(tcomponent* owner) : tgraphiccontrol(owner) {
  titleFont_.SetName("Arial");
  titleFont_.SetSize(8);
  centerFont_.SetName("ＭＳ Ｐゴシック");
  centerFont_.SetSize(9);
  valueFont_.SetName("Arial");
  valueFont_.SetSize(8);
  // The framework's own font is not drawn with.
  parentFont_ = false;
  width_ = 73;
  height_ = 30;
}

tgaugepanel::~tgaugepanel() {
  // Freeing the store writes it back.
  profile_.reset();
}

void tgaugepanel::BeforeDestruction() {
  // Like a form: the keys are written while the whole object is alive.
  if (hibernation_ && profile_) WriteLook();
  tgraphiccontrol::BeforeDestruction();
}

void tgaugepanel::SaveProfile() {
  if (!profile_) return;
  if (hibernation_) WriteLook();
  profile_->Save();
}

void tgaugepanel::WriteLook() {
  tprofiler& p = *profile_;
  p.WriteBool("interlace", interlace_);
  p.WriteBool("transparentbackgroundhalftone", transparentBackgroundHalftone_);
  p.WriteBool("transparentbackground", transparentBackground_);
  p.WriteInteger("gradatingblightness", gradatingBlightness_);
  p.WriteBool("gradating", gradating_);
  p.WriteBool("titlevisible", titleVisible_);
  p.WriteBool("visible", Visible());
  p.WriteInteger("titlecolor", requestedTitleColor_);
  p.WriteString("titlefontname", titleFont_.Name());
  p.WriteInteger("titlefontsize", titleFont_.Size());
  p.WriteInteger("titlefontstyle", StyleToCode(titleFont_.Style()));
  p.WriteInteger("valuecolor", requestedValueColor_);
  p.WriteString("valuefontname", valueFont_.Name());
  p.WriteInteger("valuefontsize", valueFont_.Size());
  p.WriteInteger("valuefontstyle", StyleToCode(valueFont_.Style()));
}

void tgaugepanel::Loaded() {
  tgraphiccontrol::Loaded();
  profile_ = std::make_unique<tprofiler>("profile_" + Name());
  defaultTitleColor_ = requestedTitleColor_;
  defaultValueColor_ = requestedValueColor_;
  if (hibernation_) {
    const tprofiler& p = *profile_;
    BeginUpdate();
    SetInterlace(p.ReadBool("interlace", false));
    SetTransparentBackgroundHalftone(p.ReadBool("transparentbackgroundhalftone", transparentBackgroundHalftone_));
    SetTransparentBackground(p.ReadBool("transparentbackground", transparentBackground_));
    SetGradating(p.ReadBool("gradating", true));
    SetGradatingBlightness(p.ReadInteger("gradatingblightness", gradatingBlightness_));
    SetTitleVisible(p.ReadBool("titlevisible", titleVisible_));
    SetVisible(p.ReadBool("visible", Visible()));
    SetTitleColor(p.ReadInteger("titlecolor", titleColor_));
    titleFont_.SetName(p.ReadString("titlefontname", titleFont_.Name()).substr(0, 255));
    titleFont_.SetSize(p.ReadInteger("titlefontsize", titleFont_.Size()));
    titleFont_.SetStyle(StyleFromCode(p.ReadInteger("titlefontstyle", StyleToCode(titleFont_.Style()))));
    SetValueColor(p.ReadInteger("valuecolor", valueColor_));
    valueFont_.SetName(p.ReadString("valuefontname", valueFont_.Name()).substr(0, 255));
    valueFont_.SetSize(p.ReadInteger("valuefontsize", valueFont_.Size()));
    valueFont_.SetStyle(StyleFromCode(p.ReadInteger("valuefontstyle", StyleToCode(valueFont_.Style()))));
    EndUpdate();
  }
  RebuildImages();
}

int tgaugepanel::StyleToCode(tfontstyles style) {
  return ((style & fsBold) ? 1 : 0) + ((style & fsItalic) ? 16 : 0) + ((style & fsUnderline) ? 256 : 0) +
         ((style & fsStrikeOut) ? 4096 : 0);
}

tfontstyles tgaugepanel::StyleFromCode(int code) {
  tfontstyles style = 0;
  if (code & 1) style |= fsBold;
  if (code & 16) style |= fsItalic;
  if (code & 256) style |= fsUnderline;
  if (code & 4096) style |= fsStrikeOut;
  return style;
}

// Setters ------------------------------------------------------------------

void tgaugepanel::Changed() { Paint(); }

void tgaugepanel::ChangedRebuild() {
  RebuildImages();
  Paint();
}

void tgaugepanel::SetBlinkSignal(bool v) {
  if (v == blinkSignal_) return;
  blinkSignal_ = v;
  Changed();
}
void tgaugepanel::SetBeveling(tbevelingtype v) {
  if (v == beveling_) return;
  beveling_ = v;
  Changed();
}
void tgaugepanel::SetTitle(const std::string& v) {
  if (v == title_) return;
  title_ = v;
  Changed();
}
void tgaugepanel::SetTitleColor(tcolor v) {
  requestedTitleColor_ = v;
  if (v == titleColor_) return;
  titleColor_ = v;
  Changed();
}
void tgaugepanel::SetTitleVisible(bool v) {
  if (v == titleVisible_) return;
  titleVisible_ = v;
  Changed();
}
void tgaugepanel::SetTitleFont(const tfont& v) {
  if (&v == &titleFont_) return;
  titleFont_ = v;
  Changed();
}
void tgaugepanel::SetCenter(const std::string& v) {
  if (v == center_) return;
  center_ = v;
  Changed();
}
void tgaugepanel::SetCenterColor(tcolor v) {
  if (v == centerColor_) return;
  centerColor_ = v;
  Changed();
}
void tgaugepanel::SetCenterVisible(bool v) {
  if (v == centerVisible_) return;
  centerVisible_ = v;
  Changed();
}
void tgaugepanel::SetCenterFont(const tfont& v) {
  if (&v == &centerFont_) return;
  centerFont_ = v;
  Changed();
}
void tgaugepanel::SetValue(const std::string& v) {
  if (v == value_) return;
  value_ = v;
  Changed();
}
void tgaugepanel::SetValueColor(tcolor v) {
  requestedValueColor_ = v;
  if (v == valueColor_) return;
  valueColor_ = v;
  Changed();
}
void tgaugepanel::SetValueVisible(bool v) {
  if (v == valueVisible_) return;
  valueVisible_ = v;
  Changed();
}
void tgaugepanel::SetValueFont(const tfont& v) {
  if (&v == &valueFont_) return;
  valueFont_ = v;
  Changed();
}
void tgaugepanel::SetGradatingBlightness(int v) {
  if (v == gradatingBlightness_) return;
  gradatingBlightness_ = v;
  ChangedRebuild();
}
void tgaugepanel::SetGradating(bool v) {
  if (v == gradating_) return;
  gradating_ = v;
  Changed();
}
void tgaugepanel::SetTransparentBackground(bool v) {
  if (v == transparentBackground_) return;
  transparentBackground_ = v;
  ChangedRebuild();
}
void tgaugepanel::SetTransparentBackgroundHalftone(bool v) {
  if (v == transparentBackgroundHalftone_) return;
  transparentBackgroundHalftone_ = v;
  ChangedRebuild();
}
void tgaugepanel::SetInterlace(bool v) {
  if (v == interlace_) return;
  interlace_ = v;
  ChangedRebuild();
}

bool tgaugepanel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "BlinkSignal") SetBlinkSignal(ParseBool(v));
  else if (n == "Beveling") SetBeveling(ParseBeveling(v));
  else if (n == "Title") SetTitle(v);
  else if (n == "TitleColor") SetTitleColor(ParseColor(v));
  else if (n == "TitleVisible") SetTitleVisible(ParseBool(v));
  else if (SetFontProperty(titleFont_, "TitleFont.", n, v)) Changed();
  else if (n == "Center") SetCenter(v);
  else if (n == "CenterColor") SetCenterColor(ParseColor(v));
  else if (n == "CenterVisible") SetCenterVisible(ParseBool(v));
  else if (SetFontProperty(centerFont_, "CenterFont.", n, v)) Changed();
  else if (n == "Value") SetValue(v);
  else if (n == "ValueColor") SetValueColor(ParseColor(v));
  else if (n == "ValueVisible") SetValueVisible(ParseBool(v));
  else if (SetFontProperty(valueFont_, "ValueFont.", n, v)) Changed();
  else if (n == "GradatingBlightness") SetGradatingBlightness(ParseInt(v));
  else if (n == "Gradating") SetGradating(ParseBool(v));
  else if (n == "Hibernation") SetHibernation(ParseBool(v));
  else if (n == "TransparentBackground") SetTransparentBackground(ParseBool(v));
  else if (n == "TransparentBackgroundHalftone") SetTransparentBackgroundHalftone(ParseBool(v));
  else if (n == "Interlace") SetInterlace(ParseBool(v));
  else return tgraphiccontrol::SetProperty(n, v, ctx);
  return true;
}

// Images -------------------------------------------------------------------

int tgaugepanel::ScreenColorDepth() {
  if (g_depthOverride > 0) return g_depthOverride;
  tmemorydc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw std::runtime_error("cannot create a memory device context");
  return GetDeviceCaps(dc.get(), BITSPIXEL);
}

void tgaugepanel::OverrideScreenColorDepth(int bits) { g_depthOverride = bits > 0 ? bits : 0; }

tform& tgaugepanel::OwnerForm() const {
  auto* form = dynamic_cast<tform*>(Owner());
  if (!form) throw std::logic_error("the owner of gauge panel " + Name() + " is not a form");
  return *form;
}

tbitmap* tgaugepanel::OwnerBackdrop() {
  if (IsDestroying()) return nullptr;
  tbitmap* backdrop = nullptr;
  if (auto* source = dynamic_cast<tbackdropsource*>(Owner())) backdrop = source->BackdropImage();
  // A backdrop that was never captured has nothing to copy.
  return backdrop && !backdrop->Empty() ? backdrop : nullptr;
}

void tgaugepanel::MixHalf(tbitmap& target, tbitmap& other) {
  // The mix needs both bitmaps out of their canvases' DCs.
  HBITMAP a = target.ReleaseHandle();
  HBITMAP b = other.ReleaseHandle();
  try {
    HalfMix(a, b, 50);
  } catch (...) {
    target.SetHandle(a);
    other.SetHandle(b);
    throw;
  }
  target.SetHandle(a);
  other.SetHandle(b);
}

void tgaugepanel::DrawGradation(tbitmap& bitmap, tcolor base) {
  const int w = bitmap.Width(), h = bitmap.Height();
  const int red = base & 0xFF, green = (base >> 8) & 0xFF, blue = (base >> 16) & 0xFF;
  tcanvas& c = bitmap.Canvas();
  for (int a = -20; a <= w; ++a) {
    // Held in single precision on purpose: the truncated channels depend on it.
    float f = static_cast<float>(static_cast<double>(a) / w * 0.3 + 0.7);
    if (f > 1.0f) f = 1.0f;
    if (f < 0.0f) f = 0.0f;
    const double ff = f;
    const tcolor color = static_cast<int>(red * ff) | (static_cast<int>(green * ff) << 8) |
                         (static_cast<int>(blue * ff) << 16);
    c.Pen.SetColor(color);
    c.Brush.SetColor(color);
    c.MoveTo(a, 0);
    c.LineTo(a + 20, h);
  }
}

void tgaugepanel::BuildBackground() {
  const int w = Width(), h = Height();
  if (w <= 2 || h <= 2) return;
  backgroundImage_.SetSize(w, h);
  workImage_.SetSize(w, h);
  tbitmap overlay(w, h);
  {
    tcanvas& c = overlay.Canvas();
    c.Pen.SetColor(clWhite);
    c.Brush.SetColor(clWhite);
    c.Rectangle(0, 0, w, h);
    if (interlace_) {
      c.Pen.SetColor(0xCCCCCC);
      c.Brush.SetColor(0xCCCCCC);
      for (int i = 0; i <= h; ++i) {
        if (i % 2 == 0) continue;
        c.MoveTo(0, i);
        c.LineTo(w, i);
      }
    }
  }
  if (transparentBackground_) {
    if (tbitmap* backdrop = OwnerBackdrop())
      backgroundImage_.Canvas().BitBlt(0, 0, w, h, backdrop->Canvas().Handle(), Left(), Top(), SRCCOPY);
    if ((transparentBackgroundHalftone_ || interlace_) && TrueColor()) MixHalf(backgroundImage_, overlay);
  } else if (!TrueColor()) {
    tcanvas& c = backgroundImage_.Canvas();
    c.Pen.SetColor(clSilver);
    c.Brush.SetColor(clSilver);
    c.Rectangle(0, 0, w, h);
  } else {
    DrawGradation(backgroundImage_, clSilver);
  }
}

void tgaugepanel::ReleaseImages() {
  backgroundImage_.Clear();
  workImage_.Clear();
}

void tgaugepanel::RebuildImages() {
  ++rebuildCount_;
  ReleaseImages();
  if (Visible()) BuildBackground();
}

void tgaugepanel::RefreshBackground() {
  RebuildImages();
  Paint();
}

void tgaugepanel::EndUpdate() {
  updateLock_ = false;
  Paint();
}

void tgaugepanel::UpdatePanel() { Paint(); }

void tgaugepanel::RestoreDefaultColors() {
  updateLock_ = true;
  SetTitleColor(defaultTitleColor_);
  SetValueColor(defaultValueColor_);
  EndUpdate();
}

void tgaugepanel::VisibleChanged() {
  tgraphiccontrol::VisibleChanged();
  RebuildImages();
}

void tgaugepanel::BoundsChanged() {
  tgraphiccontrol::BoundsChanged();
  // Built images hold the old size and, seen through, the old place. Before
  // loading, the description is still placing the panel: Loaded builds them.
  if (profile_ || !backgroundImage_.Empty()) RebuildImages();
}

// Painting -----------------------------------------------------------------

void tgaugepanel::SetPaintFailureHook(std::function<void()> hook) { FailureHook() = std::move(hook); }

void tgaugepanel::PaintFailed() {
  static bool failing = false;
  if (!failing) {
    failing = true;
    try {
      if (FailureHook()) FailureHook()();
    } catch (...) {
    }
  }
  ExitProcess(1);
}

void tgaugepanel::Paint(tcanvas& canvas) {
  paintTarget_ = &canvas;
  struct treset {
    tcanvas*& target;
    ~treset() { target = nullptr; }
  } reset{paintTarget_};
  Paint();
}

SIZE tgaugepanel::MeasureText(const tfont& font, const std::string& text) {
  measureFont_.SetName(font.Name());
  measureFont_.SetSize(font.Size());
  tmemorydc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw std::runtime_error("cannot create a memory device context");
  tselection sel(dc.get(), measureFont_.Handle());
  SIZE s{0, 0};
  const std::wstring wide = Wide(text);
  if (!GetTextExtentPointW(dc.get(), wide.data(), static_cast<int>(wide.size()), &s)) s = SIZE{0, 0};
  return s;
}

void tgaugepanel::DrawText(HDC dc, const tfont& font, tcolor color, int x, int y, const std::string& text) {
  tselection sel(dc, font.Handle());
  SetTextColor(dc, ColorToRGB(color));
  SetBkMode(dc, TRANSPARENT);
  const std::wstring wide = Wide(text);
  if (!TextOutW(dc, x, y, wide.data(), static_cast<int>(wide.size())))
    throw std::runtime_error("cannot draw the text of gauge panel " + Name());
}

void tgaugepanel::DrawBevel(tcanvas& c) {
  const int w = Width(), h = Height();
  switch (beveling_) {
    case blnone:
      break;
    case blsingle:
      c.Pen.SetColor(clGray);
      c.MoveTo(0, 0), c.LineTo(w, 0);
      c.MoveTo(0, 0), c.LineTo(0, h);
      c.Pen.SetColor(clWhite);
      c.MoveTo(w - 1, 0), c.LineTo(w - 1, h);
      c.MoveTo(1, h - 1), c.LineTo(w - 1, h - 1);
      break;
    case bldouble:
      c.Pen.SetColor(clGray);
      c.MoveTo(0, 0), c.LineTo(w, 0);
      c.MoveTo(0, 1), c.LineTo(w, 1);
      c.MoveTo(0, 1), c.LineTo(0, h);
      c.Pen.SetColor(clWhite);
      c.MoveTo(w - 1, 1), c.LineTo(w - 1, h);
      c.MoveTo(1, h - 1), c.LineTo(w - 1, h - 1);
      break;
  }
}

void tgaugepanel::Paint() {
  try {
    if (updateLock_ || !Visible()) return;
    if (!OwnerForm().Showing()) return;
    const int w = Width(), h = Height();
    if (w <= 2 || h <= 2) return;
    ++paintCount_;
    tcanvas& c = workImage_.Canvas();
    c.Draw(0, 0, backgroundImage_);
    DrawGauge();
    HDC dc = c.Handle();
    if (!center_.empty() && centerVisible_) {
      const SIZE s = MeasureText(centerFont_, center_);
      DrawText(dc, centerFont_, centerColor_, (w - s.cx) / 2, (h - s.cy) / 2, center_);
    }
    if (!title_.empty() && titleVisible_)
      DrawText(dc, titleFont_, blinkSignal_ ? clRed : titleColor_, 3, beveling_ == bldouble ? 1 : 0, title_);
    if (!value_.empty() && valueVisible_) {
      const SIZE s = MeasureText(valueFont_, value_);
      DrawText(dc, valueFont_, blinkSignal_ ? clRed : valueColor_, w - s.cx - 3, h - s.cy + 1, value_);
    }
    DrawBevel(c);
    ShowImage();
  } catch (...) {
    PaintFailed();
  }
}

void tgaugepanel::ShowBitmap(const tbitmap& image) {
  if (image.Empty() || !parent_ || !parent_->HandleAllocated()) return;
  HDC source = const_cast<tbitmap&>(image).Canvas().Handle();
  if (paintTarget_) {
    paintTarget_->BitBlt(0, 0, Width(), Height(), source, 0, 0, SRCCOPY);
    return;
  }
  tform& form = OwnerForm();
  if (parent_ == &form) {
    form.Canvas().BitBlt(Left(), Top(), Width(), Height(), source, 0, 0, SRCCOPY);
  } else {
    twindowdc dc(parent_->Handle());
    ::BitBlt(dc.get(), Left(), Top(), Width(), Height(), source, 0, 0, SRCCOPY);
  }
}

void tgaugepanel::ShowImage() {
  // The owner's noise timer shows the picture outside of Paint: a failure
  // there ends the program too, rather than reporting itself ten times a second.
  try {
    // A bare gauge panel fills no display image: it shows its work image.
    ShowBitmap(displayImage_.Empty() ? workImage_ : displayImage_);
  } catch (...) {
    PaintFailed();
  }
}

}  // namespace pendo
