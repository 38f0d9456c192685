// The notice wizard on the real main window's notice list, driven through real
// messages: the tree, the six lists and the message, the pop-up menu and its
// keys, the pages, and what closing it leaves on disk.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/_mainform.h"
#include "framework/application.h"
#include "framework/stdctrls.h"
#include "notices/_noticeform.h"
#include "notices/_noticewizardform.h"
#include "panels/graphicalgaugepanel.h"
#include "processdriver.h"
#include "settings/profiler.h"
#include "settings/programidentity.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

const char* const kFiles[] = {"profile_mainform", "profile_datepanel", "profile_noticewizardform",
                              "element_noticelist"};

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

// Esc opens the tree's menu; the mnemonic behind it picks an item there.
void ChooseFromMenu(HWND focus, char mnemonic) {
  PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(focus, WM_CHAR, mnemonic, 0);
}

class NoticeWizard : public ::testing::Test {
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
    for (tform* f : std::vector<tform*>(Application->Forms()))
      if (f != main) f->Free();
    main->Free();
    Pump(10);
    for (const char* p : kFiles) test::DeleteProfile(p);
  }
  void OpenWizard() {
    wizard = Application->CreateForm<Tnoticewizardform>(main->noticelist, main,
                                                [this](const std::string& m) { main->ShowNotice(m); });
    wizard->Show();
    Pump();
  }
  void CloseWizard() {
    wizard->Free();
    wizard = nullptr;
  }
  std::vector<std::string> TreeTexts() {
    std::vector<std::string> texts;
    ttreenode* root = wizard->noticetree->RootNode();
    for (int i = 0; i < root->Count(); ++i) texts.push_back(root->Item(i)->Text());
    return texts;
  }
  // A key as the keyboard sends it to the focused window.
  void Key(HWND target, WORD key, bool ctrl = false, bool shift = false) {
    test::HoldKeys(ctrl, false, shift);
    PostMessageA(target, WM_KEYDOWN, key, 0);
    Pump();
    test::HoldKeys(false, false, false);
  }
  Tmainform* main = nullptr;
  Tnoticewizardform* wizard = nullptr;
};

TEST_F(NoticeWizard, AddSelectsTheNewNoticeAndTypingRewritesRecordAndTreeAtOnce) {
  OpenWizard();
  EXPECT_EQ("Notice: 0/1", wizard->PageLabel()->Caption());
  wizard->noticetree->SetFocus();
  ChooseFromMenu(wizard->noticetree->Handle(), 'a');
  Pump();
  ASSERT_EQ(1, main->noticelist.Count());
  EXPECT_EQ("0,0,0,0,0,0,新しいメッセージ", main->noticelist[0]);
  EXPECT_EQ(wizard->noticetree->RootNode()->Item(0), wizard->noticetree->Selected());
  EXPECT_EQ(wizard->messageedit->Handle(), GetFocus());
  EXPECT_EQ(0, wizard->typecbox->ItemIndex());
  EXPECT_EQ(0, wizard->dayofweekcbox->ItemIndex());
  EXPECT_EQ(0, wizard->hourcbox->ItemIndex());
  EXPECT_EQ(0, wizard->minutecbox->ItemIndex());
  EXPECT_EQ("新しいメッセージ", wizard->messageedit->Text());
  SendMessageA(wizard->messageedit->Handle(), EM_SETSEL, 100, 100);
  PostMessageA(wizard->messageedit->Handle(), WM_CHAR, 'a', 0);
  Pump();
  EXPECT_EQ("0,0,0,0,0,0,新しいメッセージa", main->noticelist[0]);
  EXPECT_EQ((std::vector<std::string>{"毎週 日曜日 0時0分 新しいメッセージa"}), TreeTexts());

  // Pasted text with Hangul, which code page 932 cannot hold, is refused
  // there and then; the record keeps what it had.
  {
    test::tdialogwatcher box(Application->Title());
    SendMessageW(wizard->messageedit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L" 회의 テスト"));
    ASSERT_TRUE(box.Found());
    EXPECT_EQ(tedit::kTextNotHeldText, box.Text());
  }
  EXPECT_EQ("新しいメッセージa", wizard->messageedit->Text());
  EXPECT_EQ("0,0,0,0,0,0,新しいメッセージa", main->noticelist[0]);
  SendMessageW(wizard->messageedit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L" テスト"));
  EXPECT_EQ("0,0,0,0,0,0,新しいメッセージa テスト", main->noticelist[0]) << "the caret stayed at the end";
}

TEST_F(NoticeWizard, DateAndDailyHideListsWhileTheRecordKeepsTheirIndexes) {
  main->noticelist.Add("0,3,4,5,6,7,x");
  OpenWizard();
  ttreenode* node = wizard->noticetree->RootNode()->Item(0);
  wizard->noticetree->SetSelected(node);
  EXPECT_TRUE(IsWindowVisible(wizard->dayofweekcbox->Handle()));
  EXPECT_FALSE(IsWindowVisible(wizard->monthcbox->Handle()));
  struct Step {
    const char* record;
    bool weekday, monthday;
    const char* text;
  } steps[] = {
      {"1,3,4,5,6,7,x", false, true, "5月6日6時7分 x"},
      {"2,3,4,5,6,7,x", false, false, "毎日 6時7分 x"},
  };
  for (const Step& s : steps) {
    SendMessageA(wizard->typecbox->Handle(), WM_KEYDOWN, VK_DOWN, 0);  // the next type
    Pump();
    EXPECT_EQ(s.record, main->noticelist[0]);
    EXPECT_EQ(s.weekday, IsWindowVisible(wizard->dayofweekcbox->Handle()) != FALSE) << s.record;
    EXPECT_EQ(s.monthday, IsWindowVisible(wizard->monthcbox->Handle()) != FALSE) << s.record;
    EXPECT_EQ(s.monthday, IsWindowVisible(wizard->daycbox->Handle()) != FALSE) << s.record;
    EXPECT_EQ(s.text, node->Text());
  }
  SendMessageA(wizard->minutecbox->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ("2,3,4,5,6,8,x", main->noticelist[0]);
}

TEST_F(NoticeWizard, TheRootDisablesEditingAndDeleteThenDoesNothing) {
  main->noticelist.Add("0,0,0,0,8,0,a");
  OpenWizard();
  wizard->noticetree->SetSelected(wizard->noticetree->RootNode()->Item(0));
  EXPECT_TRUE(IsWindowEnabled(wizard->messageedit->Handle()));
  wizard->noticetree->SetSelected(wizard->noticetree->RootNode());
  for (twincontrol* c : std::initializer_list<twincontrol*>{wizard->timelabel, wizard->typecbox, wizard->dayofweekcbox,
                                                           wizard->hourcbox, wizard->minutecbox, wizard->messagelabel,
                                                           wizard->messageedit, wizard->browsebutton, wizard->testbutton})
    EXPECT_FALSE(IsWindowEnabled(c->Handle())) << c->Name();
  EXPECT_EQ("", wizard->messageedit->Text());
  wizard->noticetree->SetFocus();
  Key(wizard->noticetree->Handle(), VK_DELETE);
  EXPECT_EQ(1, main->noticelist.Count());
  SetTimer(nullptr, 0, 100, &EndMenuSoon);
  Key(wizard->noticetree->Handle(), VK_ESCAPE);  // the menu opens with 削除 disabled
  EXPECT_FALSE(wizard->deletebutton->Enabled());
  // On a notice, Delete removes record and node without asking.
  wizard->noticetree->SetSelected(wizard->noticetree->RootNode()->Item(0));
  Key(wizard->noticetree->Handle(), VK_DELETE);
  EXPECT_EQ(0, main->noticelist.Count());
  EXPECT_EQ(0, wizard->noticetree->RootNode()->Count());
}

TEST_F(NoticeWizard, F5SortsTheListAndRebuildsTheTree) {
  for (const char* r : {"2,0,0,0,9,0,a", "0,0,0,0,10,0,b", "0,0,0,0,9,0,c"}) main->noticelist.Add(r);
  OpenWizard();
  EXPECT_EQ("毎日 9時0分 a", TreeTexts()[0]);
  wizard->noticetree->SetFocus();
  Key(wizard->noticetree->Handle(), VK_F5);
  EXPECT_EQ((std::vector<std::string>{"毎週 日曜日 10時0分 b", "毎週 日曜日 9時0分 c", "毎日 9時0分 a"}), TreeTexts());
  EXPECT_EQ("0,0,0,0,10,0,b", main->noticelist[0]);
}

TEST_F(NoticeWizard, PagesStepAndTheLastPageIsShownOnReopening) {
  OpenWizard();
  EXPECT_FALSE(IsWindowEnabled(wizard->PrevButton()->Handle()));
  SendMessageA(wizard->NextButton()->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ("Notice: 1/1", wizard->PageLabel()->Caption());
  EXPECT_FALSE(IsWindowEnabled(wizard->NextButton()->Handle()));
  EXPECT_TRUE(IsWindowEnabled(wizard->PrevButton()->Handle()));
  EXPECT_EQ(1, wizard->PageList()->ItemIndex());
  CloseWizard();
  OpenWizard();
  EXPECT_EQ(1, wizard->PageIndex());
  EXPECT_EQ("Notice: 1/1", wizard->PageLabel()->Caption());
  Key(wizard->PageList()->Handle(), VK_TAB, true, true);
  EXPECT_EQ(0, wizard->PageIndex());
}

TEST_F(NoticeWizard, TestOpensANoticeWindowAndBrowsePutsTheChosenProgramIntoTheRecord) {
  main->noticelist.Add("0,0,0,0,8,0,meeting,room 2");
  OpenWizard();
  wizard->noticetree->SetSelected(wizard->noticetree->RootNode()->Item(0));
  SendMessageA(wizard->testbutton->Handle(), BM_CLICK, 0, 0);
  Pump(200);
  auto* notice = dynamic_cast<Tnoticeform*>(twincontrol::FromHandle(FindWindowA("Tnoticeform", nullptr)));
  ASSERT_NE(nullptr, notice);
  EXPECT_EQ("meeting", notice->noticepanel->Center());  // up to the first comma
  {
    testing::SpacedProgram program(GetProgramFolder() + "noticeprogram.exe", "Pendo test button");
    SetWindowTextA(wizard->messageedit->Handle(), program.path.c_str());
    SendMessageA(wizard->testbutton->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(program.Ran(5000));
    EXPECT_FALSE(program.DecoyRan());
  }
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string program = std::string(dir) + "pendo_notice.exe";
  CloseHandle(CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  wizard->opendialog->SetInitialDir(dir);
  main->Setstayontop(true);
  {
    // The clock stays on top, except while the dialog is open.
    bool ontopWhileOpen = true;
    test::tfiledialogdriver driver("", "pendo_notice.exe", [&] { ontopWhileOpen = main->stayontop(); });
    SendMessageA(wizard->browsebutton->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ("EXE実行ファイル(*.exe)", driver.Filter());
    EXPECT_FALSE(ontopWhileOpen);
  }
  EXPECT_TRUE(main->stayontop());
  EXPECT_EQ(0, lstrcmpiA(("0,0,0,0,8,0," + program).c_str(), main->noticelist[0].c_str())) << main->noticelist[0];
  DeleteFileA(program.c_str());
}

void CALLBACK AddAndCloseTheWizard(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  test::HoldKeys(false, false, false);
  if (auto* w = dynamic_cast<Tnoticewizardform*>(twincontrol::FromHandle(FindWindowA("Tnoticewizardform", nullptr)))) {
    w->noticetree->SetFocus();
    ChooseFromMenu(w->noticetree->Handle(), 'a');
    PostMessageA(w->closebutton->Handle(), BM_CLICK, 0, 0);
  }
}

TEST_F(NoticeWizard, FromTheMenuTheListIsSortedAndOnDiskWhenTheWizardCloses) {
  main->noticelist.Add("2,0,0,0,9,0,a");
  SetTimer(nullptr, 0, 300, &AddAndCloseTheWizard);
  test::HoldKeys(true, false, false);
  PostMessageA(main->Handle(), WM_KEYDOWN, 'P', 0);
  Pump(100);  // returns once the wizard has closed
  test::HoldKeys(false, false, false);
  Pump(200);
  EXPECT_EQ(nullptr, FindWindowA("Tnoticewizardform", nullptr));
  ASSERT_EQ(2, main->noticelist.Count());
  EXPECT_EQ("0,0,0,0,0,0,新しいメッセージ", main->noticelist[0]);  // sorted after closing
  EXPECT_EQ("0,0,0,0,0,0,新しいメッセージ\r\n2,0,0,0,9,0,a\r\n", FileText(tnoticelist::FilePath()));
  EXPECT_EQ(0, tprofiler("profile_noticewizardform").ReadInteger("lastpage", -1));
}

}  // namespace
}  // namespace pendo
