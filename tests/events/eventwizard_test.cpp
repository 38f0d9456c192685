// The event wizard on the real main window's sounds, through real messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/_mainform.h"
#include "events/_eventwizardform.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "settings/profiler.h"
#include "soundrecording.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

const char* const kFiles[] = {"profile_mainform", "profile_datepanel", "profile_eventwizardform"};

int Differences(const teventsoundsettings& a, const teventsoundsettings& b) {
  int n = (a.allclocked != b.allclocked) + (a.noticed != b.noticed);
  for (size_t i = 0; i < a.clocked.size(); ++i) n += a.clocked[i] != b.clocked[i];
  return n;
}

class EventWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* p : kFiles) test::DeleteProfile(p);
    test::WritePastFirstBoot();
    main = Application->CreateForm<Tmainform>();
    main->ShowAtStartup();
    Pump();
  }
  void TearDown() override {
    if (wizard) wizard->Free();
    main->Free();
    Pump(10);
    for (const char* p : kFiles) test::DeleteProfile(p);
  }
  void OpenWizard() {
    wizard = Application->CreateForm<Teventwizardform>(main->eventsounds, main);
    wizard->Show();
    Pump();
  }
  ttreenode* Item(const std::string& text) {
    ttreenode* group = wizard->eventlist->RootNode()->Item(0);
    for (int i = 0; i < group->Count(); ++i)
      if (group->Item(i)->Text() == text) return group->Item(i);
    return nullptr;
  }
  void Type(const std::string& text) {
    SendMessageA(wizard->executeelementedit->Handle(), EM_SETSEL, 0, -1);
    for (char c : text) PostMessageA(wizard->executeelementedit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
    Pump();
  }
  Tmainform* main = nullptr;
  Teventwizardform* wizard = nullptr;
};

TEST_F(EventWizard, EachItemShowsAndEditsExactlyItsOwnSetting) {
  main->eventsounds.clocked[9] = "nine.wav";
  OpenWizard();
  ASSERT_EQ(52, wizard->eventlist->Count());
  EXPECT_TRUE(wizard->eventlist->RootNode()->Item(0)->Expanded());
  struct Case {
    const char* item;
    std::string* setting;
    const char* shown;
  } cases[] = {
      {"時報 09時", &main->eventsounds.clocked[9], "nine.wav"},
      {"時報 23時30分", &main->eventsounds.clocked[47], ""},
      {"告知時", &main->eventsounds.noticed, ""},
      {"全時報", &main->eventsounds.allclocked, ""},
  };
  for (const Case& c : cases) {
    ttreenode* node = Item(c.item);
    ASSERT_NE(nullptr, node) << c.item;
    wizard->eventlist->SetSelected(node);
    EXPECT_EQ(c.shown, wizard->executeelementedit->Text()) << c.item;
    EXPECT_TRUE(IsWindowEnabled(wizard->executeelementedit->Handle()));
    const teventsoundsettings before = main->eventsounds;
    const std::string typed = "a+" + std::to_string(&c - cases) + ".wav";
    Type(typed);
    EXPECT_EQ(typed, *c.setting);
    EXPECT_EQ(1, Differences(before, main->eventsounds)) << c.item;
  }
  // A sound's name with Hangul, which code page 932 cannot hold, is refused
  // where it is typed: the setting keeps what it had.
  {
    test::tdialogwatcher box(Application->Title());
    SendMessageW(wizard->executeelementedit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\\회의.wav"));
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(tedit::kTextNotHeldText, box.Text());
  }
  EXPECT_EQ("a+3.wav", main->eventsounds.allclocked);
  EXPECT_EQ("a+3.wav", wizard->executeelementedit->Text());
}

TEST_F(EventWizard, GroupAndRootDisableTheControlsAndKeepTheText) {
  OpenWizard();
  wizard->eventlist->SetSelected(Item("告知時"));
  Type("beep");
  for (ttreenode* node : {wizard->eventlist->RootNode()->Item(0), wizard->eventlist->RootNode()}) {
    wizard->eventlist->SetSelected(node);
    for (twincontrol* c : std::initializer_list<twincontrol*>{wizard->executeelementtitlelabel, wizard->executeelementedit,
                                                             wizard->executeelementbrowsebutton,
                                                             wizard->executeelementtestbutton})
      EXPECT_FALSE(IsWindowEnabled(c->Handle())) << c->Name();
    EXPECT_EQ("beep", wizard->executeelementedit->Text());
  }
  EXPECT_EQ("beep", main->eventsounds.noticed);
}

TEST_F(EventWizard, TestPlaysTheTypedSoundsInOrder) {
  const std::string recording = test::RecordingPath();
  if (recording.empty()) GTEST_SKIP() << "no sound recording outside the harness";
  const std::string low = test::WriteLevelWave("wizard_low.wav", 40, 2000);
  const std::string high = test::WriteLevelWave("wizard_high.wav", 200, 2000);
  OpenWizard();
  wizard->eventlist->SetSelected(Item("時報 10時"));
  Type(low + "+" + high);
  const std::string before = test::ReadRecording(recording, 0);
  SendMessageA(wizard->executeelementtestbutton->Handle(), BM_CLICK, 0, 0);
  const std::string after = test::ReadRecording(recording, before.size() + 4000);
  ASSERT_GE(after.size(), before.size() + 4000);
  EXPECT_EQ((std::vector<int>{40, 200}), test::Levels(after.substr(before.size())));
}

void CALLBACK TypeAndPressEsc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  test::HoldKeys(false, false, false);
  auto* w = dynamic_cast<Teventwizardform*>(twincontrol::FromHandle(FindWindowA("Teventwizardform", nullptr)));
  if (!w) return;
  ttreenode* group = w->eventlist->RootNode()->Item(0);
  w->eventlist->SetSelected(group->Item(2));  // 時報 00時
  w->executeelementedit->SetFocus();
  PostMessageA(w->executeelementedit->Handle(), WM_CHAR, 'z', 0);
  PostMessageA(w->executeelementedit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(EventWizard, FromTheMenuEscClosesKeepingTheChangesWhichAreOnDisk) {
  SetTimer(nullptr, 0, 300, &TypeAndPressEsc);
  test::HoldKeys(true, false, false);
  PostMessageA(main->Handle(), WM_KEYDOWN, 'E', 0);
  Pump(100);
  test::HoldKeys(false, false, false);
  Pump(200);
  EXPECT_EQ(nullptr, FindWindowA("Teventwizardform", nullptr));
  EXPECT_EQ("z", main->eventsounds.clocked[0]);
  EXPECT_EQ("z", tprofiler("profile_mainform").ReadString("wavefileatclocked0", ""));
  // One page only: the default page 1 leaves the first.
  EXPECT_EQ(0, tprofiler("profile_eventwizardform").ReadInteger("lastpage", -1));
}

}  // namespace
}  // namespace pendo
