// Golden pictures of the compose functions, on the host: what a panel draws,
// where and in which order, for the looks the clock and the notice window
// show. PENDO_UPDATE_GOLDEN=1 writes the files anew (look at them first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "panels/panelcompose.h"
#include "pixelsurface.h"

namespace pendo {
namespace {

using test::tpixelsurface;

// A backdrop of stripes and steps, so that a copy from the wrong place shows.
tpixelsurface Backdrop() {
  tpixelsurface b(200, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) b.Set(x, y, ((x * 7) & 255) | (((y * 13 + x) & 255) << 8) | (((x * 3 + y * 5) & 255) << 16));
  return b;
}

struct tgolden {
  const char* name;
  tclocklook look;
  tpanelscene scene;
  int width = 129, height = 30;
  bool backdrop = true;
  int dpi = kDesignDpi;
};

tclocklook Clock() {
  tclocklook l;
  l.titleColor = 0x800000;  // navy
  l.titleFont = tfontlook{"Arial", 8};
  l.valueFont = tfontlook{"Arial", 8};
  l.horizontalNoise = false;
  return l;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Compose, GoldenPicturesOfTheClocksLooks) {
  tclocklook seeThrough = Clock();
  tclocklook interlaced = Clock();
  interlaced.transparentBackgroundHalftone = false;
  interlaced.interlace = true;
  tclocklook solid = Clock();
  solid.transparentBackground = false;
  tclocklook bar = solid;
  bar.horizontalNoise = true;
  bar.transparentForeground = true;
  tclocklook single = solid;
  single.beveling = blsingle;
  single.valueFont.style = lsBold;
  tclocklook notice = Clock();
  notice.titleFont = tfontlook{"Arial", 8};
  notice.centerFont = tfontlook{"ＭＳ Ｐゴシック", 9};

  tpanelscene date;
  date.texts = {"Date", "", "2026/12/9(Wed) 9:30"};
  date.hasBar = true;
  tpanelscene withBar = date;
  withBar.bar = {1, 3};
  withBar.noiseRow = 7;
  tpanelscene blinking = date;
  blinking.texts.blink = true;
  blinking.trueColor = false;
  tpanelscene message;
  message.texts = {"", "meeting", "at 9:30"};
  message.hasBar = true;
  tpanelscene contrast = withBar;
  contrast.system = {true, 0x000000, 0xFFFFFF, 0x00FFFF};
  // At 200 %: twice the margins, bevel, slant, rows and fonts, not a stretch.
  tpanelscene large = withBar;
  large.dpi = 192;
  large.noiseRow = 14;
  tpanelscene largeDate = date;
  largeDate.dpi = 192;

  const tgolden goldens[] = {
      {"see-through-halftone", seeThrough, date},
      {"interlace", interlaced, date},
      {"gradation", solid, date},
      {"bar-and-noise", bar, withBar},
      {"palette-blink-single-bevel", single, blinking},
      {"notice", notice, message, 100, 30},
      {"before-the-first-capture", seeThrough, date, 129, 30, false},
      {"high-contrast", bar, contrast},
      {"bar-and-noise-at-192-dpi", bar, large, 258, 60, true, 192},
      {"interlace-at-192-dpi", interlaced, largeDate, 258, 60, true, 192},
  };
  const tpixelsurface backdrop = Backdrop();
  const bool update = std::getenv("PENDO_UPDATE_GOLDEN") != nullptr;
  for (const auto& g : goldens) {
    tpixelsurface background(g.width, g.height), gauge(g.width, g.height), picture(g.width, g.height);
    ComposeBackground(background, g.look, g.scene.trueColor, g.backdrop ? &backdrop : nullptr, 104, 0,
                      g.scene.system, g.dpi);
    ComposeGaugeImage(gauge, g.look, g.scene.trueColor, background, g.scene.system, g.dpi);
    ComposePicture(picture, background, g.scene.hasBar ? &gauge : nullptr, g.look, g.scene);
    const std::string path = std::string(PENDO_GOLDEN_DIR) + "/" + g.name + ".ppm";
    if (update) {
      std::ofstream(path, std::ios::binary) << picture.Ppm();
      continue;
    }
    EXPECT_EQ(Read(path), picture.Ppm()) << g.name << ": see " << path;
  }
}

TEST(Compose, TheBarsEdgeAndItsMaxRules) {
  // 1/3 of 129 + 20 is 49.67: the edge's top is at 30, its bottom at 50.
  tpixelsurface background(129, 30), gauge(129, 30), picture(129, 30);
  tclocklook look = Clock();
  look.transparentBackground = false;
  look.transparentForeground = false;
  ComposeBackground(background, look, true, nullptr, 0, 0);
  ComposeGaugeImage(gauge, look, true, background);
  tpanelscene scene;
  scene.hasBar = true;
  scene.bar = {1, 3};
  look.beveling = blnone;
  ComposePicture(picture, background, &gauge, look, scene);
  EXPECT_EQ(picture.At(29, 0), gauge.At(29, 0));
  EXPECT_EQ(picture.At(30, 0), background.At(30, 0));
  EXPECT_EQ(picture.At(48, 29), gauge.At(48, 29));
  EXPECT_EQ(picture.At(51, 29), background.At(51, 29));
  // Nothing at Position 0, at Max 0, or with the gauge hidden.
  for (tbarstate none : {tbarstate{0, 3}, tbarstate{5, 0}}) {
    scene.bar = none;
    ComposePicture(picture, background, &gauge, look, scene);
    EXPECT_EQ(picture.At(5, 5), background.At(5, 5));
  }
  const struct {
    int position, max;
    bool adjust, fix;
    int expected;
  } maxes[] = {{15, 10, true, false, 15}, {5, 10, true, false, 10}, {10, 100, false, true, 100},
               {5, 100, false, true, 5},  {3, 1, true, true, 3},    {0, 1, true, false, 1}};
  for (const auto& m : maxes)
    EXPECT_EQ(AdjustedMax(m.position, m.max, m.adjust, m.fix), m.expected) << m.position << "/" << m.max;
}

}  // namespace
}  // namespace pendo
