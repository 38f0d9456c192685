#include "panels/panelcompose.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace pendo {

namespace {

constexpr tlookcolor kBlack = 0x000000, kWhite = 0xFFFFFF, kSilver = 0xC0C0C0, kGray = 0x808080;
constexpr tlookcolor kRed = 0x0000FF, kInterlaceGrey = 0xCCCCCC, kLightSkyBlue = 0xF0CAA6;

bool Drawable(const tpanelsurface& s) { return s.Width() > 2 && s.Height() > 2; }

// Bands of one-pixel lines, as thick as the resolution makes a 96-DPI pixel.
void Rows(tpanelsurface& s, int x0, int x1, int y, int count, tlookcolor color) {
  for (int i = 0; i < count; ++i) s.Line(x0, y + i, x1, y + i, color);
}
void Columns(tpanelsurface& s, int x, int y0, int y1, int count, tlookcolor color) {
  for (int i = 0; i < count; ++i) s.Line(x + i, y0, x + i, y1, color);
}

void DrawBevel(tpanelsurface& s, tbevelingtype beveling, const tsystemcolors& system, int dpi) {
  const int w = s.Width(), h = s.Height(), t = ScaleToDpi(1, dpi);
  const tlookcolor gray = system.highContrast ? system.text : kGray;
  const tlookcolor white = system.highContrast ? system.text : kWhite;
  switch (beveling) {
    case blnone:
      break;
    case blsingle:
      Rows(s, 0, w, 0, t, gray);
      Columns(s, 0, 0, h, t, gray);
      Columns(s, w - t, 0, h, t, white);
      Rows(s, t, w - t, h - t, t, white);
      break;
    case bldouble:
      Rows(s, 0, w, 0, 2 * t, gray);
      Columns(s, 0, t, h, t, gray);
      Columns(s, w - t, t, h, t, white);
      Rows(s, t, w - t, h - t, t, white);
      break;
  }
}

void DrawBar(tpanelsurface& picture, const tpanelsurface& gauge, const tclocklook& look, const tbarstate& bar,
             int dpi) {
  if (!look.gaugeVisible || bar.max == 0 || bar.position <= 0) return;
  const int w = picture.Width(), h = picture.Height(), slant = ScaleToDpi(20, dpi);
  // Rounded to double, as the x87 unit's wider values would move the edge.
  volatile double share = static_cast<double>(bar.position) / bar.max;
  volatile double edge = share * (w + slant);
  const int r = static_cast<int>(edge);
  const std::vector<tpanelpoint> rest{{r + 1 - slant, 0}, {r + 1, h}, {w, h}, {w, 0}};
  // The gauge left of the slanted edge, the picture right of it.
  auto barImage = picture.NewSurface(w, h);
  barImage->CopyFrom(gauge, 0, 0);
  barImage->Polygon(rest, kBlack);
  auto mask = picture.NewSurface(w, h);
  mask->Fill(0, 0, w, h, kBlack);
  mask->Polygon(rest, kWhite);
  picture.AndWith(*mask);
  picture.OrWith(*barImage);
}

}  // namespace

tfontlook FontAtDpi(const tfontlook& font, int dpi) {
  dpi = ClampDpi(dpi);
  if (dpi == kDesignDpi) return font;
  tfontlook scaled = font;
  scaled.dpi = dpi;
  return scaled;
}

void DrawGradation(tpanelsurface& s, tlookcolor base, int dpi) {
  const int w = s.Width(), h = s.Height(), slant = ScaleToDpi(20, dpi);
  const int red = base & 0xFF, green = (base >> 8) & 0xFF, blue = (base >> 16) & 0xFF;
  for (int a = -slant; a <= w; ++a) {
    // Held in single precision on purpose: the truncated channels depend on it.
    float f = static_cast<float>(static_cast<double>(a) / w * 0.3 + 0.7);
    if (f > 1.0f) f = 1.0f;
    if (f < 0.0f) f = 0.0f;
    const double ff = f;
    const tlookcolor color = static_cast<int>(red * ff) | (static_cast<int>(green * ff) << 8) |
                             (static_cast<int>(blue * ff) << 16);
    s.Line(a, 0, a + slant, h, color);
  }
}

void ComposeBackground(tpanelsurface& background, const tclocklook& look, bool trueColor,
                       const tpanelsurface* backdrop, int left, int top, const tsystemcolors& system, int dpi) {
  if (!Drawable(background)) return;
  const int w = background.Width(), h = background.Height();
  if (system.highContrast) {
    background.Fill(0, 0, w, h, system.window);
  } else if (look.transparentBackground) {
    // Before the window's first capture there is nothing to see through.
    if (backdrop)
      background.CopyFrom(*backdrop, left, top);
    else
      background.Fill(0, 0, w, h, kBlack);
    if ((look.transparentBackgroundHalftone || look.interlace) && trueColor) {
      auto overlay = background.NewSurface(w, h);
      overlay->Fill(0, 0, w, h, kWhite);
      if (look.interlace) {
        // Every other row of 96-DPI pixels, as many rows high as one is.
        const int row = ScaleToDpi(1, dpi);
        for (int i = row; i < h; i += 2 * row) Rows(*overlay, 0, w, i, std::min(row, h - i), kInterlaceGrey);
      }
      background.MixHalf(*overlay);
    }
  } else if (!trueColor) {
    background.Fill(0, 0, w, h, kSilver);
  } else {
    DrawGradation(background, kSilver, dpi);
  }
}

void ComposeGaugeImage(tpanelsurface& gauge, const tclocklook& look, bool trueColor, const tpanelsurface& background,
                       const tsystemcolors& system, int dpi) {
  if (!Drawable(gauge)) return;
  if (system.highContrast) {
    gauge.Fill(0, 0, gauge.Width(), gauge.Height(), system.highlight);
    return;
  }
  if (!trueColor) {
    // A palette shows only these two bar colours truly.
    const tlookcolor fill =
        look.gaugeColor == kLightSkyBlue || look.gaugeColor == kRed ? look.gaugeColor : kLightSkyBlue;
    gauge.Fill(0, 0, gauge.Width(), gauge.Height(), fill);
    return;
  }
  DrawGradation(gauge, look.gaugeColor, dpi);
  if (look.transparentForeground) gauge.MixHalf(background);
}

void ComposePicture(tpanelsurface& picture, const tpanelsurface& background, const tpanelsurface* gauge,
                    const tclocklook& look, const tpanelscene& scene) {
  if (!Drawable(picture)) return;
  const int w = picture.Width(), h = picture.Height();
  picture.CopyFrom(background, 0, 0);
  const int dpi = scene.dpi;
  if (scene.hasBar && gauge) DrawBar(picture, *gauge, look, scene.bar, dpi);
  const tpaneltexts& t = scene.texts;
  const tsystemcolors& sys = scene.system;
  const tlookcolor blink = sys.highContrast ? sys.highlight : kRed;
  auto colour = [&](tlookcolor own) { return sys.highContrast ? sys.text : own; };
  const int margin = ScaleToDpi(3, dpi), pixel = ScaleToDpi(1, dpi);
  if (!t.center.empty() && look.centerVisible) {
    const tfontlook font = FontAtDpi(look.centerFont, dpi);
    const tpanelsize s = picture.MeasureText(font, t.center);
    picture.Text(font, colour(look.centerColor), (w - s.cx) / 2, (h - s.cy) / 2, t.center);
  }
  if (!t.title.empty() && look.titleVisible)
    picture.Text(FontAtDpi(look.titleFont, dpi), t.blink ? blink : colour(look.titleColor), margin,
                 look.beveling == bldouble ? pixel : 0, t.title);
  if (!t.value.empty() && look.valueVisible) {
    const tfontlook font = FontAtDpi(look.valueFont, dpi);
    const tpanelsize s = picture.MeasureText(font, t.value);
    picture.Text(font, t.blink ? blink : colour(look.valueColor), w - s.cx - margin, h - s.cy + pixel, t.value);
  }
  DrawBevel(picture, look.beveling, sys, dpi);
  // The noise line would only cut through the text a high contrast is for.
  if (scene.hasBar && look.horizontalNoise && !sys.highContrast && scene.noiseRow > 0 && scene.noiseRow < h) {
    for (int y = scene.noiseRow; y < std::min(h, scene.noiseRow + pixel); ++y) picture.ShiftRowRight(y);
  }
}

int AdjustedMax(int position, int max, bool autoAdjust, bool autoFix) {
  if (autoAdjust && position > max) max = position;
  if (autoFix) {
    // Rounded to double: the x87 unit's wider product would make 100 × 0.1
    // exceed 10.
    volatile double tenth = max * 0.1;
    if (tenth > position) max = position;
  }
  return max;
}

}  // namespace pendo
