#include "panels/graphicalgaugepanel.h"

#include <chrono>

#include "framework/resource.h"
#include "settings/profiler.h"

namespace pendo {

namespace {

DWORD (*g_tickSource)() = [] { return GetTickCount(); };

constexpr tcolor kLightSkyBlue = 0xF0CAA6;

}  // namespace

void tgraphicalgaugepanel::SetTickSource(DWORD (*source)()) {
  g_tickSource = source ? source : [] { return GetTickCount(); };
}

tgraphicalgaugepanel::tgraphicalgaugepanel(tcomponent* owner)
    : tgaugepanel(owner),
      // The construction colour is what RestoreDefaultColors returns to when
      // the owner never assigns one.
      requestedGaugeColor_(0xFFCCAA),
      defaultGaugeColor_(0xFFCCAA),
      random_(static_cast<std::mt19937::result_type>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {
  noiseRow_ = std::uniform_int_distribution<int>(0, Height() - 2)(random_);
  lastNoiseStep_ = g_tickSource();
}

void tgraphicalgaugepanel::WriteLook() {
  // Before the base class's keys, so they end up after them in the file.
  WriteGaugeLook();
  tgaugepanel::WriteLook();
}

void tgraphicalgaugepanel::WriteGaugeLook() {
  tprofiler& p = *Profile();
  p.WriteBool("horizontalnoise", horizontalNoise_);
  p.WriteBool("transparentforeground", transparentForeground_);
  p.WriteInteger("gaugecolor", gaugeColor_);
}

void tgraphicalgaugepanel::Loaded() {
  tgaugepanel::Loaded();
  if (maxAutoAdjust_) SetMax(1);
  defaultGaugeColor_ = requestedGaugeColor_;
  if (Hibernation()) {
    const tprofiler& p = *Profile();
    BeginUpdate();
    SetHorizontalNoise(p.ReadBool("horizontalnoise", true));
    SetGaugeColor(p.ReadInteger("gaugecolor", gaugeColor_));
    SetTransparentForeground(p.ReadBool("transparentforeground", transparentForeground_));
    EndUpdate();
  }
}

void tgraphicalgaugepanel::SetHorizontalNoise(bool v) {
  if (v == horizontalNoise_) return;
  horizontalNoise_ = v;
  Paint();
}
void tgraphicalgaugepanel::SetTransparentForeground(bool v) {
  if (v == transparentForeground_) return;
  transparentForeground_ = v;
  RebuildImages();
  Paint();
}
void tgraphicalgaugepanel::SetPosition(int v) {
  if (v == position_) return;
  position_ = v;
  Paint();
}
void tgraphicalgaugepanel::SetMax(int v) {
  if (v == max_) return;
  max_ = v;
  Paint();
}
void tgraphicalgaugepanel::SetGaugeColor(tcolor v) {
  requestedGaugeColor_ = v;
  if (v == gaugeColor_) return;
  gaugeColor_ = v;
  RebuildImages();
  Paint();
}
void tgraphicalgaugepanel::SetGaugeVisible(bool v) {
  if (v == gaugeVisible_) return;
  gaugeVisible_ = v;
  Paint();
}

bool tgraphicalgaugepanel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "HorizontalNoise") SetHorizontalNoise(ParseBool(v));
  else if (n == "TransparentForeground") SetTransparentForeground(ParseBool(v));
  else if (n == "Position") SetPosition(ParseInt(v));
  else if (n == "Max") SetMax(ParseInt(v));
  else if (n == "GaugeColor") SetGaugeColor(ParseColor(v));
  else if (n == "GaugeVisible") SetGaugeVisible(ParseBool(v));
  else if (n == "MaxAutoFix") SetMaxAutoFix(ParseBool(v));
  else if (n == "MaxAutoAdjust") SetMaxAutoAdjust(ParseBool(v));
  else return tgaugepanel::SetProperty(n, v, ctx);
  return true;
}

void tgraphicalgaugepanel::RestoreDefaultColors() {
  tgaugepanel::RestoreDefaultColors();
  SetGaugeColor(defaultGaugeColor_);
}

void tgraphicalgaugepanel::ReleaseGaugeImages() {
  gaugeImage_.Clear();
  barImage_.Clear();
  barMask_.Clear();
}

void tgraphicalgaugepanel::RebuildImages() {
  tgaugepanel::RebuildImages();
  ReleaseGaugeImages();
  if (Visible()) BuildGaugeImages();
}

void tgraphicalgaugepanel::BuildGaugeImages() {
  const int w = Width(), h = Height();
  if (w <= 2 || h <= 2) return;
  gaugeImage_.SetSize(w, h);
  barImage_.SetSize(w, h);
  barMask_.SetSize(w, h);
  if (!TrueColor()) {
    const tcolor fill = gaugeColor_ == kLightSkyBlue || gaugeColor_ == clRed ? gaugeColor_ : kLightSkyBlue;
    tcanvas& c = gaugeImage_.Canvas();
    c.Pen.SetColor(fill);
    c.Brush.SetColor(fill);
    c.Rectangle(0, 0, w, h);
    return;
  }
  DrawGradation(gaugeImage_, gaugeColor_);
  if (transparentForeground_) MixHalf(gaugeImage_, Background());
}

void tgraphicalgaugepanel::DrawGauge() {
  if (maxAutoAdjust_ && position_ > max_) max_ = position_;
  if (maxAutoFix_) {
    // Rounded to double: the x87 unit's wider product would make 100 × 0.1
    // exceed 10.
    volatile double tenth = max_ * 0.1;
    if (tenth > position_) max_ = position_;
  }
  if (!gaugeVisible_ || max_ == 0 || position_ <= 0) return;
  const int w = Width(), h = Height();
  if (gaugeImage_.Empty() || barImage_.Empty() || barMask_.Empty()) return;
  volatile double share = static_cast<double>(position_) / max_;
  volatile double edge = share * (w + 20);
  const int r = static_cast<int>(edge);
  const std::vector<POINT> rest{{r - 19, 0}, {r + 1, h}, {w, h}, {w, 0}};

  tcanvas& bar = barImage_.Canvas();
  bar.Draw(0, 0, gaugeImage_);
  bar.Pen.SetColor(clBlack);
  bar.Brush.SetColor(clBlack);
  bar.Polygon(rest);

  tcanvas& mask = barMask_.Canvas();
  mask.Pen.SetColor(clBlack);
  mask.Brush.SetColor(clBlack);
  mask.Rectangle(0, 0, barMask_.Width(), barMask_.Height());
  mask.Pen.SetColor(clWhite);
  mask.Brush.SetColor(clWhite);
  mask.Polygon(rest);

  tcanvas& work = Work().Canvas();
  work.BitBlt(0, 0, w, h, mask.Handle(), 0, 0, SRCAND);
  work.BitBlt(0, 0, w, h, bar.Handle(), 0, 0, SRCPAINT);
}

void tgraphicalgaugepanel::ShowImage() {
  try {
    const int w = Width();
    tbitmap& display = Display();
    tbitmap& work = Work();
    if (work.Empty()) {
      display.Clear();
    } else {
      display.SetSize(work.Width(), work.Height());
      display.Canvas().BitBlt(0, 0, work.Width(), work.Height(), work.Canvas().Handle(), 0, 0, SRCCOPY);
      if (noiseRow_ > 0 && horizontalNoise_) {
        HDC dc = display.Canvas().Handle();
        ::BitBlt(dc, 1, noiseRow_, w + 1, 1, dc, 0, noiseRow_, SRCCOPY);
      }
    }
    const DWORD now = g_tickSource();
    if (static_cast<LONG>(now - lastNoiseStep_) > 100 || now < lastNoiseStep_) {
      if (noiseRow_ != -1) {
        --noiseRow_;
      } else if (std::uniform_int_distribution<int>(0, 15)(random_) == 0) {
        noiseRow_ = Height() - 1;
      }
      lastNoiseStep_ = now;
    }
  } catch (...) {
    PaintFailed();
  }
  tgaugepanel::ShowImage();
}

}  // namespace pendo
