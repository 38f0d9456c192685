#include "panels/gaugepanel.h"

#include <stdexcept>

#include "forms/backdropsource.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/resource.h"
#include "framework/wincontrol.h"
#include "settings/profiler.h"

namespace pendo {

namespace {

int g_depthOverride = 0;
int g_highContrastOverride = -1;

bool StartsWith(const std::string& text, const char* prefix, std::string& rest) {
  const std::string p(prefix);
  if (text.compare(0, p.size(), p) != 0) return false;
  rest = text.substr(p.size());
  return true;
}

// "TitleFont.Name" and the like go to the font as "Font.Name".
bool SetFontProperty(tfontlook& look, const char* prefix, const std::string& name, const std::string& value) {
  std::string rest;
  if (!StartsWith(name, prefix, rest)) return false;
  tfont font = FontOf(look);
  if (!font.SetProperty("Font." + rest, value)) return false;
  look = FontLookOf(font);
  return true;
}

tbevelingtype ParseBeveling(const std::string& text) {
  if (text == "blnone" || text == "0") return blnone;
  if (text == "blsingle" || text == "1") return blsingle;
  if (text == "bldouble" || text == "2") return bldouble;
  throw std::invalid_argument("unknown beveling " + text);
}

}  // namespace

tgaugepanel::tgaugepanel(tcomponent* owner) : tgraphiccontrol(owner) {
  look_.titleFont = tfontlook{"Arial", 8};
  look_.centerFont = tfontlook{"ＭＳ Ｐゴシック", 9};
  look_.valueFont = tfontlook{"Arial", 8};
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
  if (hibernation_ && profile_) WriteClockLook(*profile_, look_, LookKeys());
  tgraphiccontrol::BeforeDestruction();
}

void tgaugepanel::SaveProfile() {
  if (!profile_) return;
  WriteClockLook(*profile_, look_, LookKeys());
  profile_->Save();
}

void tgaugepanel::Loaded() {
  tgraphiccontrol::Loaded();
  look_.visible = Visible();
  design_ = look_;
  // Only a panel that keeps its look has a profile: others write none.
  if (hibernation_) {
    profile_ = std::make_unique<tprofiler>("profile_" + Name());
    tclocklook look = look_;
    ReadClockLook(*profile_, look, LookKeys());
    SetLook(look);
  }
  imagesValid_ = false;
}

// Changes ------------------------------------------------------------------

bool tgaugepanel::BackgroundDependsOnChange(const tclocklook& a, const tclocklook& b) const {
  return a.transparentBackground != b.transparentBackground ||
         a.transparentBackgroundHalftone != b.transparentBackgroundHalftone || a.interlace != b.interlace ||
         a.transparentForeground != b.transparentForeground || a.gaugeColor != b.gaugeColor;
}

void tgaugepanel::ChangeLook(const tclocklook& look) {
  if (look == look_) return;
  if (BackgroundDependsOnChange(look_, look)) imagesValid_ = false;
  const bool visibility = look.visible != look_.visible;
  look_ = look;
  if (visibility) SetVisible(look_.visible);
  Invalidate();
}

void tgaugepanel::SetLook(const tclocklook& look) { ChangeLook(look); }

void tgaugepanel::Invalidate() {
  if (updateLock_ || !parent_ || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  // The picture covers the whole rectangle: nothing to erase under it.
  InvalidateRect(parent_->Handle(), &r, FALSE);
}

void tgaugepanel::InvalidateRow(int row) {
  if (updateLock_ || !parent_ || !parent_->HandleAllocated() || row < 0) return;
  RECT r{Left(), Top() + row, Left() + Width(), Top() + row + 1};
  InvalidateRect(parent_->Handle(), &r, FALSE);
}

void tgaugepanel::SetBlinkSignal(bool v) {
  if (v == texts_.blink) return;
  texts_.blink = v;
  Invalidate();
}

void tgaugepanel::SetBeveling(tbevelingtype v) { SetLookField(&tclocklook::beveling, v); }
void tgaugepanel::SetTitleColor(tcolor v) { SetLookField(&tclocklook::titleColor, v); }
void tgaugepanel::SetTitleVisible(bool v) { SetLookField(&tclocklook::titleVisible, v); }
void tgaugepanel::SetCenterColor(tcolor v) { SetLookField(&tclocklook::centerColor, v); }
void tgaugepanel::SetCenterVisible(bool v) { SetLookField(&tclocklook::centerVisible, v); }
void tgaugepanel::SetValueColor(tcolor v) { SetLookField(&tclocklook::valueColor, v); }
void tgaugepanel::SetValueVisible(bool v) { SetLookField(&tclocklook::valueVisible, v); }
void tgaugepanel::SetGradatingBlightness(int v) { SetLookField(&tclocklook::gradatingBlightness, v); }
void tgaugepanel::SetGradating(bool v) { SetLookField(&tclocklook::gradating, v); }
void tgaugepanel::SetTransparentBackground(bool v) { SetLookField(&tclocklook::transparentBackground, v); }
void tgaugepanel::SetTransparentBackgroundHalftone(bool v) {
  SetLookField(&tclocklook::transparentBackgroundHalftone, v);
}
void tgaugepanel::SetInterlace(bool v) { SetLookField(&tclocklook::interlace, v); }
void tgaugepanel::SetTitleFont(const tfont& v) { SetLookField(&tclocklook::titleFont, FontLookOf(v)); }
void tgaugepanel::SetCenterFont(const tfont& v) { SetLookField(&tclocklook::centerFont, FontLookOf(v)); }
void tgaugepanel::SetValueFont(const tfont& v) { SetLookField(&tclocklook::valueFont, FontLookOf(v)); }

void tgaugepanel::SetTitle(const std::string& v) {
  if (v == texts_.title) return;
  texts_.title = v;
  Invalidate();
}
void tgaugepanel::SetCenter(const std::string& v) {
  if (v == texts_.center) return;
  texts_.center = v;
  Invalidate();
}
void tgaugepanel::SetValue(const std::string& v) {
  if (v == texts_.value) return;
  texts_.value = v;
  Invalidate();
}

bool tgaugepanel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  tclocklook l = look_;
  if (n == "BlinkSignal") SetBlinkSignal(ParseBool(v));
  else if (n == "Beveling") SetBeveling(ParseBeveling(v));
  else if (n == "Title") SetTitle(v);
  else if (n == "TitleColor") SetTitleColor(ParseColor(v));
  else if (n == "TitleVisible") SetTitleVisible(ParseBool(v));
  else if (SetFontProperty(l.titleFont, "TitleFont.", n, v)) ChangeLook(l);
  else if (n == "Center") SetCenter(v);
  else if (n == "CenterColor") SetCenterColor(ParseColor(v));
  else if (n == "CenterVisible") SetCenterVisible(ParseBool(v));
  else if (SetFontProperty(l.centerFont, "CenterFont.", n, v)) ChangeLook(l);
  else if (n == "Value") SetValue(v);
  else if (n == "ValueColor") SetValueColor(ParseColor(v));
  else if (n == "ValueVisible") SetValueVisible(ParseBool(v));
  else if (SetFontProperty(l.valueFont, "ValueFont.", n, v)) ChangeLook(l);
  else if (n == "GradatingBlightness") SetGradatingBlightness(ParseInt(v));
  else if (n == "Gradating") SetGradating(ParseBool(v));
  else if (n == "Hibernation") SetHibernation(ParseBool(v));
  else if (n == "TransparentBackground") SetTransparentBackground(ParseBool(v));
  else if (n == "TransparentBackgroundHalftone") SetTransparentBackgroundHalftone(ParseBool(v));
  else if (n == "Interlace") SetInterlace(ParseBool(v));
  else return tgraphiccontrol::SetProperty(n, v, ctx);
  return true;
}

void tgaugepanel::RestoreDefaultColors() {
  tclocklook l = look_;
  l.titleColor = design_.titleColor;
  l.valueColor = design_.valueColor;
  ChangeLook(l);
}

void tgaugepanel::EndUpdate() {
  updateLock_ = false;
  Invalidate();
}

void tgaugepanel::RefreshBackground() {
  imagesValid_ = false;
  Invalidate();
}

void tgaugepanel::VisibleChanged() {
  tgraphiccontrol::VisibleChanged();
  look_.visible = Visible();
  imagesValid_ = false;
}

void tgaugepanel::DpiChanged() {
  // Fonts and geometry are drawn anew at the resolution, never stretched.
  imagesValid_ = false;
  Invalidate();
}

void tgaugepanel::BoundsChanged() {
  tgraphiccontrol::BoundsChanged();
  // Built images hold the old size and, seen through, the old place.
  imagesValid_ = false;
}

// Images -------------------------------------------------------------------

int tgaugepanel::ScreenColorDepth() {
  if (g_depthOverride > 0) return g_depthOverride;
  tmemorydc dc(CreateCompatibleDC(nullptr));
  if (!dc) throw std::runtime_error("cannot create a memory device context");
  return GetDeviceCaps(dc.get(), BITSPIXEL);
}

void tgaugepanel::OverrideScreenColorDepth(int bits) { g_depthOverride = bits > 0 ? bits : 0; }

tsystemcolors tgaugepanel::SystemColors() {
  tsystemcolors c;
  HIGHCONTRASTW hc{sizeof hc, 0, nullptr};
  c.highContrast = g_highContrastOverride >= 0
                       ? g_highContrastOverride == 1
                       : SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
  c.window = static_cast<tlookcolor>(GetSysColor(COLOR_WINDOW));
  c.text = static_cast<tlookcolor>(GetSysColor(COLOR_WINDOWTEXT));
  c.highlight = static_cast<tlookcolor>(GetSysColor(COLOR_HIGHLIGHT));
  return c;
}

void tgaugepanel::OverrideHighContrast(int on) { g_highContrastOverride = on < 0 ? -1 : on; }

const tbitmap& tgaugepanel::BackgroundImage() {
  static const tbitmap none;
  BuildWhenDue();
  return background_ ? background_->Bitmap() : none;
}

const tbitmap& tgaugepanel::DisplayImage() const {
  static const tbitmap none;
  return picture_ ? picture_->Bitmap() : none;
}

void tgaugepanel::BuildImages(const tpanelsurface* backdrop) {
  const int w = Width(), h = Height();
  if (!background_) background_ = std::make_unique<tgdisurface>(w, h);
  background_->SetSize(w, h);
  ComposeBackground(*background_, look_, TrueColor(), backdrop, Left(), Top(), SystemColors(), Dpi());
}

void tgaugepanel::MakeScene(tpanelscene& scene) {
  scene.texts = texts_;
  scene.trueColor = TrueColor();
  scene.system = SystemColors();
  scene.dpi = Dpi();
}

// Painting -----------------------------------------------------------------

void tgaugepanel::BuildWhenDue() {
  if (imagesValid_ || !Visible() || Width() <= 2 || Height() <= 2) return;
  tbitmap* backdrop = nullptr;
  if (auto* source = dynamic_cast<tbackdropsource*>(Owner())) backdrop = source->BackdropImage();
  // A backdrop that was never captured has nothing to copy.
  std::unique_ptr<tgdisurface> seen;
  if (backdrop && !backdrop->Empty()) seen = std::make_unique<tgdisurface>(*backdrop);
  BuildImages(seen.get());
  imagesValid_ = true;
}

const tbitmap& tgaugepanel::Compose() {
  const int w = Width(), h = Height();
  if (!picture_) picture_ = std::make_unique<tgdisurface>(w, h);
  if (w <= 2 || h <= 2) return picture_->Bitmap();
  BuildWhenDue();
  tpanelscene scene;
  MakeScene(scene);
  picture_->SetSize(w, h);
  ComposePicture(*picture_, *background_, GaugeSurface(), look_, scene);
  return picture_->Bitmap();
}

void tgaugepanel::Paint(tcanvas& canvas) {
  if (updateLock_ || !Visible() || Width() <= 2 || Height() <= 2) return;
  try {
    const tbitmap& picture = Compose();
    canvas.BitBlt(0, 0, Width(), Height(), const_cast<tbitmap&>(picture).Canvas().Handle(), 0, 0, SRCCOPY);
  } catch (const std::exception& e) {
    // A panel that cannot paint ends the program, through the window's guard.
    throw EPaintFailed("gauge panel " + Name() + ": " + e.what());
  }
}

}  // namespace pendo
