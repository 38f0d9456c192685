// The colour swatch on a real form, read back as pixels, and the colour
// dialog with its custom colour file, driven through the system's dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "systemdialogdriver.h"
#include "controls/colordialogex.h"
#include "controls/colorpalettebutton.h"
#include "framework/application.h"
#include "framework/form.h"
#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/profiler.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;
using test::tsystemdialogdriver;

const tformdesc kSwatchform{"swatchform",
                            {{"Caption", "Swatches"}, {"BorderStyle", "bsSingle"}, {"Left", 100}, {"Top", 100},
                             {"ClientWidth", 120}, {"ClientHeight", 60}, {"Color", "clWhite"}},
                            {}};

class Swatch : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = Application->CreateForm<tform>(kSwatchform);
    swatch_ = Add(10);
    other_ = Add(50);
    swatch_->SetColor(clRed);
    swatch_->OnClick = [this](tobject*) { events_.push_back("click"); };
    swatch_->OnDblClick = [this](tobject*) { events_.push_back("dblclick"); };
    swatch_->OnEnter = [this](tobject*) { events_.push_back("enter"); };
    swatch_->OnExit = [this](tobject*) { events_.push_back("exit"); };
    swatch_->OnKeyDown = [this](tobject*, WORD& key, tshiftstate) { events_.push_back("key " + std::to_string(key)); };
    form_->Show();
    Pump();
  }
  void TearDown() override { form_->Free(); }

  tcolorpalettebutton* Add(int left) {
    auto* s = new tcolorpalettebutton(form_);
    s->SetBounds(left, 10, 20, 20);
    s->SetParent(form_);
    return s;
  }
  // Left button pressed and released over a control, through its window.
  static void ClickOn(twincontrol* c) {
    SendMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // The middle, the four edges and the two corners that the bevel shares.
  std::vector<COLORREF> Probe() {
    HDC dc = GetDC(swatch_->Handle());
    std::vector<COLORREF> v;
    for (POINT p : {POINT{10, 10}, POINT{0, 10}, POINT{10, 0}, POINT{19, 10}, POINT{10, 19}, POINT{19, 0},
                    POINT{0, 19}})
      v.push_back(GetPixel(dc, p.x, p.y));
    ReleaseDC(swatch_->Handle(), dc);
    return v;
  }

  tform* form_ = nullptr;
  tcolorpalettebutton *swatch_ = nullptr, *other_ = nullptr;
  std::vector<std::string> events_;
};

constexpr COLORREF kRed = RGB(255, 0, 0), kGrey = RGB(128, 128, 128), kWhite = RGB(255, 255, 255),
                   kBlack = RGB(0, 0, 0), kSilver = RGB(192, 192, 192), kBlue = RGB(0, 0, 255);

TEST_F(Swatch, ShowsItsColourInABevelAFrameWhenFocusedAndSilverWhenDisabled) {
  using P = std::vector<COLORREF>;
  //                 middle  left   top    right   bottom  top-right bottom-left
  const P bevel{kRed, kGrey, kGrey, kWhite, kWhite, kWhite, kGrey};
  EXPECT_EQ(bevel, Probe());
  ClickOn(swatch_);
  EXPECT_EQ((P{kRed, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack}), Probe());
  // A new colour shows at once, without waiting for the message loop.
  swatch_->SetColor(clBlue);
  EXPECT_EQ(kBlue, Probe()[0]);
  swatch_->SetColor(clRed);
  ClickOn(other_);
  EXPECT_EQ(bevel, Probe());
  swatch_->SetEnabled(false);
  EXPECT_EQ((P{kSilver, kGrey, kGrey, kWhite, kWhite, kWhite, kGrey}), Probe());
  // Repainted by the system, it stays as it was drawn.
  InvalidateRect(swatch_->Handle(), nullptr, TRUE);
  UpdateWindow(swatch_->Handle());
  EXPECT_EQ(kSilver, Probe()[0]);
}

TEST_F(Swatch, ClickFocusesDoubleClickAndSpaceAskForAColour) {
  ClickOn(swatch_);
  SendMessageA(swatch_->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(swatch_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(swatch_->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  PostMessageA(swatch_->Handle(), WM_KEYDOWN, 'A', 0);
  Pump();
  ClickOn(other_);
  EXPECT_EQ((std::vector<std::string>{"click", "enter", "dblclick", "key 32", "dblclick", "key 65", "exit"}), events_);
  EXPECT_TRUE(other_->Focused());
}

// The colour dialog named colordialogex, its file removed before each case.
class ColorDialog : public ::testing::Test {
 protected:
  void SetUp() override { test::DeleteProfile("customcolors_colordialogex"); }
  void TearDown() override {
    Application->OnException = nullptr;
    test::DeleteProfile("customcolors_colordialogex");
  }
  static tcolordialogex* Open() {
    auto* d = new tcolordialogex(nullptr);
    d->SetName("colordialogex");
    d->Loaded();
    return d;
  }
  static std::string Path() { return tprofiler::ProfileFolder() + "customcolors_colordialogex"; }
  static void WriteLines(const std::vector<std::string>& lines) {
    platform::WriteFileAtomically(Path(), JoinProfileLines(lines));
  }
  static std::vector<std::string> FileLines() {
    std::string bytes;
    platform::ReadFileBytes(Path(), bytes);
    return SplitProfileLines(bytes);
  }
};

TEST_F(ColorDialog, AColourMixedOnceIsOfferedAgainAfterARestart) {
  auto* d = Open();
  d->SetColor(clGreen);
  COLORREF before = 0;
  auto driver = tsystemdialogdriver::ColorDialog(
      [&](HWND dlg) {
        before = tsystemdialogdriver::CustomColor(dlg, 0);
        tsystemdialogdriver::MixAndAdd(dlg, 10, 20, 30);
      },
      IDOK);
  ASSERT_TRUE(d->Execute());
  ASSERT_TRUE(driver.Done());
  EXPECT_EQ(RGB(10, 20, 30), static_cast<COLORREF>(d->Color()));
  EXPECT_NE(RGB(10, 20, 30), before);
  d->Free();
  const auto lines = FileLines();
  ASSERT_EQ(16u, lines.size());
  EXPECT_EQ("ColorA=1e140a", lines[0]);
  EXPECT_EQ("ColorP=ffffffff", lines[15]);

  // The next run offers it; cancelling changes neither the colour nor the file.
  d = Open();
  d->SetColor(clNavy);
  COLORREF offered = 0;
  auto again = tsystemdialogdriver::ColorDialog([&](HWND dlg) { offered = tsystemdialogdriver::CustomColor(dlg, 0); }, IDCANCEL);
  EXPECT_FALSE(d->Execute());
  ASSERT_TRUE(again.Done());
  EXPECT_EQ(RGB(10, 20, 30), offered);
  EXPECT_EQ(clNavy, d->Color());
  d->Free();
  EXPECT_EQ(lines, FileLines());
}

TEST_F(ColorDialog, ConfirmingKeepsTheFileOrderAndABadLineIsReportedOnceAndMended) {
  WriteLines({"ColorC=ff0000", "ColorB=not a colour", "ColorA=00ff00"});
  int reports = 0;
  Application->OnException = [&](const std::exception*) { ++reports; };
  auto* d = Open();
  COLORREF a = 0, b = 0, c = 0, empty = 0;
  auto first = tsystemdialogdriver::ColorDialog(
      [&](HWND dlg) {
        a = tsystemdialogdriver::CustomColor(dlg, 0);
        b = tsystemdialogdriver::CustomColor(dlg, 1);
        c = tsystemdialogdriver::CustomColor(dlg, 2);
        empty = tsystemdialogdriver::CustomColor(dlg, 5);
      },
      IDCANCEL);
  EXPECT_FALSE(d->Execute());
  ASSERT_TRUE(first.Done());
  EXPECT_EQ(1, reports);
  EXPECT_EQ(RGB(0, 255, 0), a);
  EXPECT_EQ(RGB(0, 0, 255), c);
  EXPECT_EQ(empty, b);
  EXPECT_EQ("ColorB=not a colour", d->CustomColors().Lines()[1]) << "cancelled, nothing is mended";
  // Opened again, it reports nothing; confirmed, it rewrites every line in place.
  auto second = tsystemdialogdriver::ColorDialog([](HWND) {}, IDOK);
  EXPECT_TRUE(d->Execute());
  ASSERT_TRUE(second.Done());
  EXPECT_EQ(1, reports);
  d->Free();
  const auto lines = FileLines();
  ASSERT_EQ(16u, lines.size());
  EXPECT_EQ((std::vector<std::string>{"ColorC=ff0000", "ColorB=ffffffff", "ColorA=00ff00", "ColorD=ffffffff"}),
            std::vector<std::string>(lines.begin(), lines.begin() + 4));
}

TEST_F(ColorDialog, AFileAnotherProgramHoldsIsNeitherReadNorWrittenOver) {
  WriteLines({"ColorA=0000ff", "ColorB=zz"});
  std::string before;
  ASSERT_TRUE(platform::ReadFileBytes(Path(), before));
  HANDLE held = CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  auto* d = Open();
  EXPECT_TRUE(d->Unreadable());
  COLORREF a = 0;
  auto driver = tsystemdialogdriver::ColorDialog(
      [&](HWND dlg) {
        a = tsystemdialogdriver::CustomColor(dlg, 0);
        tsystemdialogdriver::MixAndAdd(dlg, 1, 2, 3);
      },
      IDOK);
  EXPECT_TRUE(d->Execute());
  ASSERT_TRUE(driver.Done());
  EXPECT_NE(RGB(255, 0, 0), a) << "the slots start empty";
  d->Free();
  CloseHandle(held);
  std::string after;
  ASSERT_TRUE(platform::ReadFileBytes(Path(), after));
  EXPECT_EQ(before, after);
}

}  // namespace
}  // namespace pendo
