// The windows at other display resolutions: a WM_DPICHANGED as the system
// sends it (the new DPI in wParam, the suggested rectangle in lParam) lays
// them out anew, text is drawn there rather than stretched, and going back
// and forth a thousand times leaks nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/_mainform.h"
#include "controls/_propertywizardform.h"
#include "framework/application.h"
#include "framework/dpi.h"
#include "guicount.h"
#include "notices/_noticeform.h"
#include "panels/datepanel.h"
#include "panels/gdisurface.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return SIZE{r.right, r.bottom};
}

// What the system suggests: the window around the client area scaled, with
// the frame the window has (this test program's frames do not scale).
void MoveToDpi(HWND w, int dpi, int fromDpi, SIZE client) {
  RECT r{};
  GetWindowRect(w, &r);
  const SIZE now = ClientSize(w);
  r.right = r.left + ScaleBetween(client.cx, dpi, fromDpi) + (r.right - r.left) - now.cx;
  r.bottom = r.top + ScaleBetween(client.cy, dpi, fromDpi) + (r.bottom - r.top) - now.cy;
  SendMessageW(w, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
  UpdateWindow(w);
}

int FontHeightOf(HWND w) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf.lfHeight;
}

class Scaling : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* p : kProfiles) test::DeleteProfile(p);
    test::WritePastFirstBoot();
    clock = Application->CreateForm<Tmainform>();
    clock->ShowAtStartup();
    Pump();
  }
  void TearDown() override {
    const std::vector<tform*> forms = Application->Forms();
    for (tform* f : forms)
      if (f != clock) f->Free();
    clock->Free();
    Pump(10);
    for (const char* p : kProfiles) test::DeleteProfile(p);
  }
  tform* Notice() {
    clock->ShowNotice("会議の時間です");
    Pump();
    for (tform* f : Application->Forms())
      if (auto* n = dynamic_cast<Tnoticeform*>(f)) return n;
    return nullptr;
  }
  tform* Wizard() {
    auto* w = Application->CreateForm<Tpropertywizardform>(clock->clocklook);
    w->Show();
    Pump();
    return w;
  }
  // The clock, a notice and the property wizard.
  std::vector<std::function<tform*()>> Windows() {
    return {[this] { return clock; }, [this] { return Notice(); }, [this] { return Wizard(); }};
  }
  static constexpr const char* kProfiles[] = {"profile_mainform", "profile_datepanel", "profile_propertywizardform",
                                              "profile_noticeform"};
  Tmainform* clock = nullptr;
};

TEST_F(Scaling, EachWindowScalesItsClientAreaAndFontsAndComesBackExactly) {
  const char* names[] = {"clock", "notice", "property wizard"};
  int i = 0;
  for (auto& open : Windows()) {
    SCOPED_TRACE(names[i++]);
    tform* form = open();
    ASSERT_NE(form, nullptr);
    const HWND w = form->Handle();
    const SIZE at96 = ClientSize(w);
    const int font96 = form->Font().Height();
    HWND child = nullptr;
    for (tcontrol* c : form->Controls())
      if (auto* wc = dynamic_cast<twincontrol*>(c); wc && !child) child = wc->ExistingHandle();
    for (const int dpi : {144, 192, 96}) {
      SCOPED_TRACE(dpi);
      MoveToDpi(w, dpi, 96, at96);
      const SIZE now = ClientSize(w);
      EXPECT_NEAR(now.cx, at96.cx * dpi / 96.0, 1.0);
      EXPECT_NEAR(now.cy, at96.cy * dpi / 96.0, 1.0);
      EXPECT_EQ(form->Font().Height(), MulDiv(font96, dpi, 96));
      if (child) EXPECT_EQ(FontHeightOf(child), MulDiv(font96, dpi, 96));
    }
    // Back at 96 DPI everything is as it was, to the pixel.
    EXPECT_EQ(ClientSize(w).cx, at96.cx);
    EXPECT_EQ(ClientSize(w).cy, at96.cy);
  }
  // The clock's panel fills the window as at 96 DPI, its margins scaled.
  MoveToDpi(clock->Handle(), 192, 96, ClientSize(clock->Handle()));
  EXPECT_EQ(clock->datepanel->Left(), 8);
  EXPECT_EQ(clock->datepanel->Width(), ClientSize(clock->Handle()).cx - 16);
}

TEST_F(Scaling, AbsurdResolutionsAndMissingRectanglesAreClamped) {
  const HWND w = clock->Handle();
  struct tcase {
    WPARAM dpi;
    bool rect;
    int expectedDpi;
    bool sized;  // false: as large as the screen lets it be
  } cases[] = {{0, false, 96, true}, {MAKEWPARAM(0xFFFF, 0xFFFF), false, 960, false}, {12, false, 48, true},
               {MAKEWPARAM(192, 192), false, 192, true}, {MAKEWPARAM(96, 96), true, 96, true}};
  for (const tcase& c : cases) {
    SCOPED_TRACE(c.dpi);
    // From the size it has: the screen may have kept it smaller.
    const SIZE before = ClientSize(w);
    const int beforeDpi = clock->Dpi();
    RECT bad{500, 500, 100, 100};  // inverted: not usable
    SendMessageW(w, kDpiChangedMessage, c.dpi, c.rect ? reinterpret_cast<LPARAM>(&bad) : 0);
    UpdateWindow(w);
    EXPECT_EQ(clock->Dpi(), c.expectedDpi);
    EXPECT_EQ(clock->datepanel->Dpi(), c.expectedDpi);
    if (!c.sized) continue;
    EXPECT_NEAR(ClientSize(w).cx, before.cx * c.expectedDpi / double(beforeDpi), 1.0);
    EXPECT_NEAR(ClientSize(w).cy, before.cy * c.expectedDpi / double(beforeDpi), 1.0);
  }
}

TEST_F(Scaling, GdiObjectsStayFlatOverAThousandChanges) {
  // The clock a thousand times; a notice (which closes itself after 16
  // seconds) and the wizard, whose many controls are slow under Wine, less.
  const struct {
    std::function<tform*()> open;
    int changes;
  } cases[] = {{[this] { return clock; }, 1000}, {[this] { return Notice(); }, 100}, {[this] { return Wizard(); }, 100}};
  for (const auto& c : cases) {
    tform* form = c.open();
    const HWND w = form->Handle();
    auto change = [&](int i) {
      const int dpi = i % 2 ? 96 : (i % 4 ? 144 : 192);
      MoveToDpi(w, dpi, form->Dpi(), ClientSize(w));
    };
    // Every resolution once first: the fonts each is drawn in are kept.
    for (int i = 0; i < 4; ++i) change(i);
    Pump();
    const DWORD before = test::GdiObjects(), userBefore = test::UserObjects();
    for (int i = 0; i < c.changes; ++i) change(i);
    Pump();
    const DWORD after = test::GdiObjects(), userAfter = test::UserObjects();
    std::printf("%s: GDI objects %lu before, %lu after %d changes; USER %lu, %lu\n", form->Name().c_str(),
                static_cast<unsigned long>(before), static_cast<unsigned long>(after), c.changes,
                static_cast<unsigned long>(userBefore), static_cast<unsigned long>(userAfter));
    EXPECT_EQ(after, before);
    EXPECT_EQ(userAfter, userBefore);
    // Closed before the next is counted: a notice would close itself meanwhile.
    if (form != clock) form->Free();
    Pump();
  }
}

// Sharpness of the text in a picture at dpi: along each row, every rise or
// fall of the grey level steeper than a few levels a pixel is a stroke's
// edge; an edge crossing most of the contrast counts its share of the
// contrast over its width in 96-DPI pixels (at most 1). Text drawn at the
// resolution has edges as narrow, in 96-DPI pixels, as at 96 DPI; smoothed
// (stretched) text has wider ones.
double Sharpness(tgdisurface& s, RECT area, int dpi) {
  HDC dc = s.Bitmap().Canvas().Handle();
  auto grey = [&](int x, int y) {
    const COLORREF c = GetPixel(dc, x, y);
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100.0;
  };
  double low = 255, high = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      low = std::min(low, grey(x, y));
      high = std::max(high, grey(x, y));
    }
  const double contrast = high - low, scale = dpi / 96.0;
  double sum = 0;
  int edges = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    int x = area.left;
    while (x < area.right) {
      const double d = grey(x + 1, y) - grey(x, y);
      if (std::abs(d) <= 4) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < area.right && (grey(x + 1, y) - grey(x, y)) * d > 0 && std::abs(grey(x + 1, y) - grey(x, y)) > 4) ++x;
      const double rise = std::abs(grey(x, y) - grey(start, y));
      if (contrast > 0 && rise > contrast / 2) {
        sum += std::min(1.0, rise / contrast * scale / (x - start));
        ++edges;
      }
    }
  }
  return edges ? sum / edges : 0;
}

TEST(DateText, IsAsSharpAt192DpiAsAt96AndTwiceAsTall) {
  tclocklook look;
  look.transparentBackground = true;  // on nothing: an even grey behind black text
  look.beveling = blnone;
  tpanelscene scene;
  scene.texts.value = "2024/05/06(月) 12:34";
  auto compose = [&](int dpi) {
    auto background = std::make_unique<tgdisurface>(ScaleToDpi(129, dpi), ScaleToDpi(30, dpi));
    ComposeBackground(*background, look, true, nullptr, 0, 0, {}, dpi);
    auto picture = std::make_unique<tgdisurface>(background->Width(), background->Height());
    scene.dpi = dpi;
    ComposePicture(*picture, *background, nullptr, look, scene);
    return picture;
  };
  const auto at96 = compose(96), at192 = compose(192);
  // The value text's lower half of the picture, less the last column.
  const RECT area96{0, 15, 128, 30}, area192{0, 30, 257, 60};
  const double sharp96 = Sharpness(*at96, area96, 96), sharp192 = Sharpness(*at192, area192, 192);
  std::printf("sharpness of the date text: %.3f at 96 DPI, %.3f at 192 DPI\n", sharp96, sharp192);
  EXPECT_GT(sharp96, 0.5);
  EXPECT_GE(sharp192, 0.9 * sharp96);
  // Drawn with a font twice as tall, not the same one.
  tgdisurface scratch(1, 1);
  const int h96 = scratch.MeasureText(FontAtDpi(look.valueFont, 96), scene.texts.value).cy;
  const int h192 = scratch.MeasureText(FontAtDpi(look.valueFont, 192), scene.texts.value).cy;
  EXPECT_NEAR(h192, 2 * h96, 2);
}

}  // namespace
}  // namespace pendo
