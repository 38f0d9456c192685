// Composing a gauge panel's picture: a function of its look, its texts and
// the backdrop of its window, drawn on a surface. Nothing here paints on the
// screen; the panel copies the picture in its window's paint message.
#pragma once

#include <string>

#include "panels/clocklook.h"
#include "panels/panelsurface.h"
#include "settings/dpiscale.h"

namespace pendo {

struct tpaneltexts {
  std::string title, center, value;
  bool blink = false;  // title and value in red
  bool operator==(const tpaneltexts& o) const {
    return title == o.title && center == o.center && value == o.value && blink == o.blink;
  }
};

// The bar gauge: Position out of Max.
struct tbarstate {
  int position = 0;
  int max = 0;
};

// The system's colours, which a high-contrast theme asks for instead of the
// look's: the panel on the window colour, its texts and frame in the text
// colour, the bar and a blinking text in the highlight colour.
struct tsystemcolors {
  bool highContrast = false;
  tlookcolor window = 0xFFFFFF, text = 0x000000, highlight = 0xD77800;
};

// What one picture shows beyond its look: texts, bar and the noise line's row.
struct tpanelscene {
  tpaneltexts texts;
  bool hasBar = false;  // a graphical panel
  tbarstate bar;
  int noiseRow = -1;
  // More than 8 bits per pixel: no mixing in palette mode.
  bool trueColor = true;
  tsystemcolors system;
  // The resolution the picture is for: its 96-DPI geometry and fonts scaled.
  int dpi = kDesignDpi;
};

// A look's font to be drawn at dpi (its points, or its 96-DPI height, made
// there), so that text is drawn at the resolution shown, never stretched.
tfontlook FontAtDpi(const tfontlook& font, int dpi);

// The background: the backdrop from (left, top) on, mixed 50:50 with white
// (and grey odd rows with the interlace) when seen through, else a slanted
// silver gradation (flat silver in palette mode). Built anew only when the
// look, the size or the backdrop changes. backdrop may be null.
void ComposeBackground(tpanelsurface& background, const tclocklook& look, bool trueColor,
                       const tpanelsurface* backdrop, int left, int top, const tsystemcolors& system = {},
                       int dpi = kDesignDpi);
// The bar's picture: a slanted gradation of the gauge colour, mixed with the
// background when the foreground is seen through.
void ComposeGaugeImage(tpanelsurface& gauge, const tclocklook& look, bool trueColor, const tpanelsurface& background,
                       const tsystemcolors& system = {}, int dpi = kDesignDpi);
// The picture: the background, the bar, the centre text, the title, the
// value, the bevel and the noise row. gauge is null without a bar.
void ComposePicture(tpanelsurface& picture, const tpanelsurface& background, const tpanelsurface* gauge,
                    const tclocklook& look, const tpanelscene& scene);

// The slanted gradation of base over the surface: darker to the left.
void DrawGradation(tpanelsurface& surface, tlookcolor base, int dpi = kDesignDpi);

// Max once Position is known: raised to it (adjust), or brought down to it
// when it is below a tenth (fix).
int AdjustedMax(int position, int max, bool autoAdjust, bool autoFix);

}  // namespace pendo
