// The clock window as a user drives it: its menu commands, keys, timers, and
// what survives a restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/_mainform.h"
#include "framework/application.h"
#include "panels/datepanel.h"
#include "settings/clockparts.h"
#include "settings/desktop.h"
#include "settings/profiler.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

std::string ProfileText(const std::string& name) {
  std::ifstream in(tprofiler::ProfileFolder() + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The first start opens the property wizard; these runs come after it.
void NotAFirstStart() {
  std::ofstream(tprofiler::ProfileFolder() + "profile_mainform", std::ios::binary) << "firstboot,0\r\n";
}

class Clock : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DeleteProfile("profile_mainform");
    test::DeleteProfile("profile_datepanel");
    NotAFirstStart();
    Open();
  }
  void TearDown() override {
    Close();
    test::DeleteProfile("profile_mainform");
    test::DeleteProfile("profile_datepanel");
  }
  void Open() {
    form = CreateOwnedForm<Tmainform>(nullptr);
    form->ShowAtStartup();
    Pump();
  }
  void Close() {
    if (form) form->Free();
    form = nullptr;
    Pump(10);
  }
  Tmainform* form = nullptr;
};

// The value text as the clock must show it now, with the separator given.
std::string ExpectedValue(bool colon) {
  char date[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  const int minute = GetMinute();
  return std::string(date) + GetWeekdayLabel() + " " + std::to_string(GetHour()) + (colon ? ":" : " ") +
         (minute < 10 ? "0" : "") + std::to_string(minute);
}

TEST_F(Clock, StartsWithTheDateAndTheNoiseOnAnEmptyProfile) {
  tdatepanel* clock = form->datepanel;
  ASSERT_NE(clock, nullptr);
  EXPECT_EQ(clock->Title(), "Date");
  EXPECT_EQ(clock->TitleColor(), clNavy);
  EXPECT_TRUE(clock->Visible());
  EXPECT_TRUE(clock->HorizontalNoise()) << "an empty profile turns the noise on";
  EXPECT_FALSE(clock->Interlace());
  EXPECT_EQ(clock->Left(), 4);
  EXPECT_EQ(clock->Top(), 1);
  EXPECT_EQ(clock->Width(), 109);
  EXPECT_EQ(clock->Height(), 30);

  // Each second tick inverts the separator and repaints the text.
  const bool before = clock->Signal;
  form->slowpanelcontroltimerTimer(form->slowpanelcontroltimer);
  EXPECT_NE(clock->Signal, before);
  std::string expect = ExpectedValue(clock->Signal);
  if (clock->Value() != expect) expect = ExpectedValue(clock->Signal);  // the minute turned meanwhile
  EXPECT_EQ(clock->Value(), expect);
  EXPECT_NE(clock->Value(), "99/04/16(Fri) 18 17") << "the design-time text is replaced";
}

TEST_F(Clock, DockingCommandsUseTheScreenAndTheWorkArea) {
  form->KB1->Click();
  EXPECT_EQ(form->Top(), GetWorkAreaBottom() - form->Height());
  form->KR1->Click();
  EXPECT_EQ(form->Left(), GetWorkAreaRight() - form->Width());
  form->KT1->Click();
  EXPECT_EQ(form->Top(), 0);
  form->KL1->Click();
  EXPECT_EQ(form->Left(), 0);
}

TEST_F(Clock, DefaultSizeOnlyWithAVisibleGauge) {
  form->SetClientSize(200, 50);
  Pump();
  EXPECT_EQ(form->datepanel->Width(), 192) << "the clock follows the window";
  form->KZ2->Click();
  Pump();
  EXPECT_EQ(form->ClientWidth(), 117);
  EXPECT_EQ(form->ClientHeight(), 32);
  EXPECT_EQ(form->datepanel->Left(), 4);
  EXPECT_EQ(form->datepanel->Top(), 1);
  EXPECT_EQ(form->datepanel->Width(), 109);
  EXPECT_EQ(form->datepanel->Height(), 30);

  form->datepanel->SetVisible(false);
  form->SetClientSize(150, 40);
  form->KZ2->Click();
  Pump();
  EXPECT_EQ(form->ClientWidth(), 150) << "nothing happens with every gauge hidden";
}

TEST_F(Clock, SwitchesCarryCheckMarksAndTakeEffectAtOnce) {
  tdatepanel* clock = form->datepanel;
  struct {
    tmenuitem* item;
    bool (tdatepanel::*get)() const;
  } switches[] = {
      {form->transparentbackgroundbutton, &tdatepanel::TransparentBackground},
      {form->transparentforegroundbutton, &tdatepanel::TransparentForeground},
      {form->transparentbackgroundhalftonebutton, &tdatepanel::TransparentBackgroundHalftone},
  };
  for (auto& s : switches) {
    const bool was = (clock->*s.get)();
    EXPECT_EQ(s.item->Checked(), was) << s.item->Caption();
    const int rebuilds = clock->RebuildCount();
    const int paints = clock->PaintCount();
    s.item->Click();
    EXPECT_EQ((clock->*s.get)(), !was);
    EXPECT_EQ(s.item->Checked(), !was);
    EXPECT_GT(clock->RebuildCount(), rebuilds) << "the clock is rebuilt at once";
    EXPECT_GT(clock->PaintCount(), paints);
  }

  form->stayontopbutton->Click();
  EXPECT_TRUE(form->stayontop());
  EXPECT_TRUE(form->stayontopbutton->Checked());
  form->stayontopbutton->Click();
  EXPECT_FALSE(form->stayontop());
  form->lockmovebutton->Click();
  EXPECT_TRUE(form->lockmove());
  EXPECT_TRUE(form->lockmovebutton->Checked());
}

TEST_F(Clock, LookSurvivesARestart) {
  form->transparentbackgroundhalftonebutton->Click();
  form->transparentforegroundbutton->Click();
  form->datepanel->SetTitleColor(0x0000FF);
  Close();
  const std::string saved = ProfileText("profile_datepanel");
  EXPECT_NE(saved.find("transparentbackgroundhalftone,0\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("transparentforeground,0\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("titlecolor,255\r\n"), std::string::npos) << saved;

  Open();
  EXPECT_FALSE(form->datepanel->TransparentBackgroundHalftone());
  EXPECT_FALSE(form->transparentbackgroundhalftonebutton->Checked());
  EXPECT_FALSE(form->datepanel->TransparentForeground());
  EXPECT_EQ(form->datepanel->TitleColor(), 0x0000FFu);
  form->KZ1->Click();
  EXPECT_EQ(form->datepanel->TitleColor(), clNavy) << "default colours are the window's, not the profile's";
  EXPECT_EQ(form->datepanel->ValueColor(), clBlack);
}

TEST_F(Clock, HideToTrayAndBack) {
  EXPECT_FALSE(form->hidebutton->Checked());
  form->hidebutton->Click();
  Pump();
  EXPECT_FALSE(form->Showing());
  EXPECT_TRUE(form->hidebutton->Checked());
  EXPECT_TRUE(form->TrayIconShown());
  form->hidebutton->Click();
  Pump();
  EXPECT_TRUE(form->Showing());
  EXPECT_FALSE(form->hidebutton->Checked());
}

TEST_F(Clock, NoiseTimerStopsItselfWhenTheNoiseIsOff) {
  ASSERT_TRUE(form->noisetimer->Enabled());
  form->datepanel->SetHorizontalNoise(false);
  form->noisetimerTimer(form->noisetimer);
  EXPECT_FALSE(form->noisetimer->Enabled());
  form->datepanel->SetHorizontalNoise(true);
  form->noisetimer->SetEnabled(true);
  form->noisetimerTimer(form->noisetimer);
  EXPECT_TRUE(form->noisetimer->Enabled());
}

TEST_F(Clock, LockedWindowIgnoresADrag) {
  form->Setlockmove(true);
  const int left = form->Left(), top = form->Top();
  form->FormMouseMove(form, ssLeft, 5, 5);
  Pump();
  EXPECT_EQ(form->Left(), left);
  EXPECT_EQ(form->Top(), top);
}

struct tmenuseen {
  RECT rect{};
  bool found = false;
};
tmenuseen g_menu;

// Notes where the open pop-up menu stands, then closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  GetWindowRect(menu, &g_menu.rect);
  g_menu.found = true;
  EndMenu();
}

TEST_F(Clock, EscapeOpensTheMenuAtTheWindowsCorner) {
  form->SetBounds(300, 200, form->Width(), form->Height());
  Pump();
  for (WORD key : {WORD(VK_ESCAPE), WORD(VK_F10)}) {
    g_menu = tmenuseen{};
    SetTimer(nullptr, 0, 30, &CloseMenu);
    WORD k = key;
    form->FormKeyDown(form, k, key == VK_F10 ? ssShift : 0);
    ASSERT_TRUE(g_menu.found) << key;
    EXPECT_EQ(g_menu.rect.left, 300);
    EXPECT_EQ(g_menu.rect.top, 200);
  }
}

TEST_F(Clock, WhatTheScreenShowsIsTheComposedPicture) {
  Pump(300);
  tdatepanel* clock = form->datepanel;
  const tbitmap& shown = clock->DisplayImage();
  ASSERT_EQ(shown.Width(), clock->Width());
  HDC screen = GetDC(nullptr);
  // The picture stays selected in its own canvas; read it there.
  HDC memory = const_cast<tbitmap&>(shown).Canvas().Handle();
  POINT origin{clock->Left(), clock->Top()};
  ClientToScreen(form->Handle(), &origin);
  int compared = 0, differing = 0;
  // Away from the value text, which may change with the second.
  for (int y = 2; y < 14; y += 3) {
    for (int x = 2; x < clock->Width() - 2; x += 7) {
      ++compared;
      if (GetPixel(screen, origin.x + x, origin.y + y) != GetPixel(memory, x, y)) ++differing;
    }
  }
  ReleaseDC(nullptr, screen);
  EXPECT_GT(compared, 50);
  // The noise line may have moved one row between the two reads.
  EXPECT_LE(differing, compared / 10);
}

// Run only as the child of PaintFailure.SavesWhatTheUserSetThenEndsWithCodeOne.
TEST(PaintFailureChild, DISABLED_ClockWindowWithAFailingPanel) {
  auto* form = CreateOwnedForm<Tmainform>(nullptr);
  form->ShowAtStartup();
  Pump();
  // What the user changed since the start, held only in memory so far.
  form->transparentbackgroundhalftonebutton->Click();
  form->lockmovebutton->Click();
  // A panel that cannot find its form fails in its first paint.
  tcomponent holder(nullptr);
  auto* broken = new tgaugepanel(&holder);
  broken->SetTitle("boom");
  std::FILE* f = std::fopen((tprofiler::ProfileFolder() + "survived").c_str(), "wb");
  if (f) std::fputs("yes", f), std::fclose(f);
}

TEST(PaintFailure, SavesWhatTheUserSetThenEndsWithCodeOne) {
  test::DeleteProfile("profile_mainform");
  NotAFirstStart();
  test::DeleteProfile("profile_datepanel");
  test::DeleteProfile("survived");
  EXPECT_EQ(test::RunChildTest("PaintFailureChild.DISABLED_ClockWindowWithAFailingPanel"), 1);
  EXPECT_EQ(ProfileText("survived"), "") << "the program ended at the failed paint";
  EXPECT_NE(ProfileText("profile_datepanel").find("transparentbackgroundhalftone,0\r\n"), std::string::npos)
      << ProfileText("profile_datepanel");
  EXPECT_NE(ProfileText("profile_mainform").find("lockmove,1\r\n"), std::string::npos)
      << ProfileText("profile_mainform");
  test::DeleteProfile("profile_mainform");
  test::DeleteProfile("profile_datepanel");
}

}  // namespace
}  // namespace pendo
