// The property wizard over a real main window: pages, the element tree, the
// swatches with the colour dialog, the font buttons with the font dialog, the
// drop-down lists and their follow-ups, all through real messages.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/_mainform.h"
#include "systemdialogdriver.h"
#include "controls/_propertywizardform.h"
#include "framework/application.h"
#include "panels/datepanel.h"
#include "settings/profiler.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;
using test::tsystemdialogdriver;

std::string ProfileText(const std::string& name) {
  std::ifstream in(tprofiler::ProfileFolder() + name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
void WriteProfileText(const std::string& name, const std::string& text) {
  std::ofstream out(tprofiler::ProfileFolder() + name, std::ios::binary);
  out << text;
}

// Picks an item of a drop-down list as the list itself reports it.
void Choose(tcombobox* list, int index) {
  SendMessageA(list->Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(list->Handle()), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(list->Handle()), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list->Handle()));
}
void Press(twincontrol* c) { SendMessageA(c->Handle(), BM_CLICK, 0, 0); }
// A key as the user types it on the focused control, with the shift keys held.
void Type(WORD key, bool ctrl, bool shift) {
  test::HoldKeys(ctrl, false, shift);
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 0);
  Pump(30);
  test::HoldKeys(false, false, false);
}

class PropertyWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* p : kProfiles) test::DeleteProfile(p);
    WriteProfileText("profile_mainform", "firstboot,0\r\n");
    mainform = Application->CreateForm<Tmainform>();
    mainform->ShowAtStartup();
    Pump();
  }
  void TearDown() override {
    if (wizard) wizard->Free();
    mainform->Free();
    Pump(10);
    for (const char* p : kProfiles) test::DeleteProfile(p);
  }
  // Opens the wizard beside the clock, not modally, so that the test drives it.
  void Open() {
    wizard = Application->CreateForm<Tpropertywizardform>(mainform->clocklook);
    wizard->Show();
    Pump();
  }
  void CloseWizard() {
    wizard->Free();
    wizard = nullptr;
  }
  std::string Counter() { return wizard->PageLabel()->Caption(); }

  static constexpr const char* kProfiles[] = {"profile_mainform", "profile_datepanel", "profile_propertywizardform",
                                              "customcolors_colordialogex"};
  Tmainform* mainform = nullptr;
  Tpropertywizardform* wizard = nullptr;
};

TEST_F(PropertyWizard, OpensOnTheLastPageShownClampedAboveAndKeepsItsStoredPageForANegativeOne) {
  struct Case {
    const char* stored;
    int page;
  } cases[] = {{nullptr, 1}, {"3", 3}, {"0", 0}, {"9", 5}, {"-2", 5}, {"x", 1}};
  for (const auto& c : cases) {
    if (c.stored) WriteProfileText("profile_propertywizardform", std::string("lastpage,") + c.stored + "\r\n");
    else test::DeleteProfile("profile_propertywizardform");
    Open();
    EXPECT_EQ(c.page, wizard->PageIndex()) << c.stored;
    EXPECT_EQ(c.page, wizard->PageList()->ItemIndex()) << c.stored;
    EXPECT_EQ("Property: " + std::to_string(c.page) + "/5", Counter()) << c.stored;
    EXPECT_EQ(c.page >= 1, wizard->PrevButton()->Enabled()) << c.stored;
    EXPECT_EQ(c.page < 5, wizard->NextButton()->Enabled()) << c.stored;
    CloseWizard();
    EXPECT_EQ("lastpage," + std::to_string(c.page) + "\r\n", ProfileText("profile_propertywizardform")) << c.stored;
  }
}

TEST_F(PropertyWizard, ButtonsTheListAndCtrlTabTurnThePages) {
  WriteProfileText("profile_propertywizardform", "lastpage,0\r\n");
  Open();
  const std::vector<std::string> captions{"導入", "概要", "表示要素", "カラーパレット", "透過処理", "エフェクト"};
  EXPECT_EQ(captions, wizard->PageList()->Items());
  EXPECT_FALSE(wizard->PrevButton()->Enabled());
  Press(wizard->NextButton());
  EXPECT_EQ("Property: 1/5", Counter());
  wizard->CloseButton->SetFocus();
  Type(VK_TAB, true, false);
  EXPECT_EQ("Property: 2/5", Counter());
  Choose(wizard->PageList(), 5);
  EXPECT_EQ(5, wizard->PageIndex());
  EXPECT_FALSE(wizard->NextButton()->Enabled());
  Type(VK_TAB, true, false);  // nothing after the last page
  EXPECT_EQ("Property: 5/5", Counter());
  Type(VK_TAB, true, true);
  EXPECT_EQ("Property: 4/5", Counter());
  Press(wizard->PrevButton());
  EXPECT_EQ(3, wizard->PageList()->ItemIndex());
}

TEST_F(PropertyWizard, TheElementTreeEnablesWhatTheChosenElementHas) {
  Open();
  auto* tree = wizard->configrationlist;
  tcontrol* editors[] = {wizard->gaugecolorpalettebutton, wizard->titlecolorpalettebutton,
                         wizard->valuecolorpalettebutton, wizard->changetitlefontbutton,
                         wizard->changevaluefontbutton};
  // Opened on the clock: everything but the gauge colour, which the clock lacks.
  ASSERT_EQ("時計", tree->Selected()->Text());
  std::vector<bool> enabled;
  for (tcontrol* c : editors) enabled.push_back(c->Enabled());
  EXPECT_EQ((std::vector<bool>{false, true, true, true, true}), enabled);
  EXPECT_EQ(clNavy, wizard->titlecolorpalettebutton->Color());
  EXPECT_EQ(clBlack, wizard->valuecolorpalettebutton->Color());
  SendMessageA(tree->Handle(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree->RootNode()->ItemId()));
  for (tcontrol* c : editors) EXPECT_FALSE(c->Enabled()) << c->Name();
  SendMessageA(tree->Handle(), TVM_SELECTITEM, TVGN_CARET,
               reinterpret_cast<LPARAM>(tree->RootNode()->GetFirstChild()->ItemId()));
  EXPECT_TRUE(wizard->titlecolorpalettebutton->Enabled());
}

TEST_F(PropertyWizard, AColourChosenShowsOnTheClockAndTheNextChoiceStartsFromIt) {
  Open();
  tdatepanel* clock = mainform->datepanel;
  auto* swatch = wizard->titlecolorpalettebutton;
  auto pick = tsystemdialogdriver::ColorDialog([](HWND dlg) { tsystemdialogdriver::MixAndAdd(dlg, 200, 20, 30); }, IDOK);
  SendMessageA(swatch->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(pick.Done());
  EXPECT_EQ(static_cast<tcolor>(RGB(200, 20, 30)), clock->TitleColor());
  EXPECT_EQ(static_cast<tcolor>(RGB(200, 20, 30)), swatch->Color());
  // Space on the value swatch opens the dialog on that colour, not on black; cancelled, nothing changes.
  std::string red;
  auto look = tsystemdialogdriver::ColorDialog(
      [&](HWND dlg) {
        SendMessageA(GetDlgItem(dlg, COLOR_MIX), BM_CLICK, 0, 0);
        char text[8] = {0};
        GetDlgItemTextA(dlg, COLOR_RED, text, sizeof text);
        red = text;
      },
      IDCANCEL);
  wizard->valuecolorpalettebutton->SetFocus();
  PostMessageA(wizard->valuecolorpalettebutton->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  Pump();
  ASSERT_TRUE(look.Done());
  EXPECT_EQ("200", red);
  EXPECT_EQ(clBlack, clock->ValueColor());
  CloseWizard();
  EXPECT_EQ(0u, ProfileText("customcolors_colordialogex").find("ColorA=1e14c8\r\n"));
  mainform->datepanel->SaveProfile();
  EXPECT_NE(std::string::npos, ProfileText("profile_datepanel").find("titlecolor," + std::to_string(RGB(200, 20, 30))));
}

// Rows of the clock with text in pure black (the value; the background is
// never that dark): a taller font covers more of them.
int BlackRows(Tmainform* form) {
  tdatepanel* clock = form->datepanel;
  HDC dc = GetDC(form->Handle());
  int rows = 0;
  for (int y = clock->Top(); y < clock->Top() + clock->Height(); ++y) {
    for (int x = clock->Left(); x < clock->Left() + clock->Width(); ++x) {
      if ((GetPixel(dc, x, y) & 0xFFFFFF) == 0) {
        ++rows;
        break;
      }
    }
  }
  ReleaseDC(form->Handle(), dc);
  return rows;
}

TEST_F(PropertyWizard, ANewValueFontShowsOnTheClockWithinASecond) {
  Open();
  tdatepanel* clock = mainform->datepanel;
  const int before = BlackRows(mainform);
  bool offered = false;
  tsystemdialogdriver font(cmb1, [&](HWND dlg) { offered = tsystemdialogdriver::ChooseFont(dlg, "DejaVu Serif", 16); },
                           IDOK);
  Press(wizard->changevaluefontbutton);
  ASSERT_TRUE(font.Done());
  ASSERT_TRUE(offered);
  EXPECT_EQ("DejaVu Serif", wizard->ValueFontCopy().Name());
  EXPECT_EQ("DejaVu Serif", clock->ValueFont().Name());
  EXPECT_EQ(16, clock->ValueFont().Size());
  EXPECT_EQ("Arial", clock->TitleFont().Name());
  EXPECT_EQ(clNavy, clock->TitleColor());
  Pump(1100);
  EXPECT_LE(before, 10);
  EXPECT_GE(BlackRows(mainform), before + 4);
  // Cancelled, the font stays.
  tsystemdialogdriver cancel(cmb1, [](HWND dlg) { tsystemdialogdriver::ChooseFont(dlg, "Liberation Mono", 8); },
                             IDCANCEL);
  Press(wizard->changevaluefontbutton);
  ASSERT_TRUE(cancel.Done());
  EXPECT_EQ("DejaVu Serif", clock->ValueFont().Name());
}

TEST_F(PropertyWizard, DropDownListsSetTheClockAndItsMenuMarksAndTheNoiseTimer) {
  Open();
  tdatepanel* clock = mainform->datepanel;
  struct Case {
    tcombobox* list;
    bool (tdatepanel::*value)() const;
    std::function<bool()> follows;  // the menu mark or timer that goes with it
  } cases[] = {
      {wizard->transparentbackgroundcbox, &tdatepanel::TransparentBackground,
       [&] { return mainform->transparentbackgroundbutton->Checked(); }},
      {wizard->transparentforegroundcbox, &tdatepanel::TransparentForeground,
       [&] { return mainform->transparentforegroundbutton->Checked(); }},
      {wizard->transparentbackgroundhalftonecbox, &tdatepanel::TransparentBackgroundHalftone,
       [&] { return mainform->transparentbackgroundhalftonebutton->Checked(); }},
      {wizard->horizontalnoisecbox, &tdatepanel::HorizontalNoise, [&] { return mainform->noisetimer->Enabled(); }},
      {wizard->interlacecbox, &tdatepanel::Interlace, nullptr},
  };
  for (const auto& c : cases) {
    for (int item : {0, 1, 0, 1}) {
      Choose(c.list, item);
      Pump(150);  // the noise timer ticks meanwhile and must not stop itself while the noise is on
      EXPECT_EQ(item == 1, (clock->*c.value)()) << c.list->Name() << " " << item;
      if (c.follows) {
        EXPECT_EQ(item == 1, c.follows()) << c.list->Name() << " " << item;
      }
    }
  }
  // No choice changes no see-through switch.
  Choose(wizard->transparentbackgroundcbox, -1);
  EXPECT_TRUE(clock->TransparentBackground());
}

TEST_F(PropertyWizard, TheClockBoxHidesAndShowsTheClockFillingTheWindow) {
  Open();
  tdatepanel* clock = mainform->datepanel;
  ASSERT_TRUE(wizard->DateCBox->Checked());
  Press(wizard->DateCBox);
  EXPECT_FALSE(clock->Visible());
  mainform->SetClientSize(150, 40);
  Press(wizard->DateCBox);
  EXPECT_TRUE(clock->Visible());
  EXPECT_EQ((std::vector<int>{4, 1, 142, 38}),
            (std::vector<int>{clock->Left(), clock->Top(), clock->Width(), clock->Height()}));
}

// What the modal wizard showed when it came up, before it was closed with Esc.
struct tmodalseen {
  std::string counter;
  bool ownerEnabled = true;
  int openings = 0;
} g_modal;

void CALLBACK LookAndEscape(HWND, UINT, UINT_PTR id, DWORD) {
  HWND h = FindWindowA("Tpropertywizardform", nullptr);
  if (!h || !IsWindowVisible(h)) return;
  KillTimer(nullptr, id);
  auto* w = dynamic_cast<Tpropertywizardform*>(twincontrol::FromHandle(h));
  if (!w) return;
  ++g_modal.openings;
  g_modal.counter = w->PageLabel()->Caption();
  g_modal.ownerEnabled = IsWindowEnabled(Application->MainForm() ? Application->MainForm()->Handle() : nullptr) != 0;
  test::HoldKeys(false, false, false);
  PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(PropertyWizard, CtrlROnTheClockOpensItModallyOnThePageLastShown) {
  WriteProfileText("profile_propertywizardform", "lastpage,3\r\n");
  g_modal = tmodalseen{};
  SetTimer(nullptr, 0, 50, &LookAndEscape);
  test::HoldKeys(true, false, false);
  PostMessageA(mainform->Handle(), WM_KEYDOWN, 'R', 0);
  Pump(300);
  test::HoldKeys(false, false, false);
  EXPECT_EQ(1, g_modal.openings);
  EXPECT_EQ("Property: 3/5", g_modal.counter);
  EXPECT_EQ(nullptr, FindWindowA("Tpropertywizardform", nullptr));  // freed on closing
  EXPECT_TRUE(IsWindowEnabled(mainform->Handle()));
  EXPECT_EQ("lastpage,3\r\n", ProfileText("profile_propertywizardform"));
}

TEST_F(PropertyWizard, TheFirstStartOpensItOnTheIntroductionOnce) {
  mainform->Free();
  WriteProfileText("profile_propertywizardform", "lastpage,3\r\n");
  test::DeleteProfile("profile_mainform");
  g_modal = tmodalseen{};
  for (int start = 0; start < 2; ++start) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &LookAndEscape);
    mainform = Application->CreateForm<Tmainform>();
    mainform->ShowAtStartup();
    Pump(200);
    KillTimer(nullptr, timer);
    if (start == 0) mainform->Free();
  }
  EXPECT_EQ(1, g_modal.openings);
  EXPECT_EQ("Property: 0/5", g_modal.counter);
}

}  // namespace
}  // namespace pendo
