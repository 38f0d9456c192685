// The setup wizard in this process: its page rules through real button
// clicks and edit changes, and input that arrives while the run lets the
// message loop work.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "framework/application.h"
#include "installer/_installationform.h"
#include "installer/folderoperations.h"
#include "installer/registrykey.h"
#include "installer/shellfolders.h"
#include "settings/platform.h"
#include "settings/profiler.h"
#include "settings/programidentity.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

const char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PendoWizardTest";

class SetupWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = GetProgramFolder();
    target_ = folder_ + "wizard target";
    Write(folder_ + "mondax.inx",
          "[profile]\r\napplicationname=PendoWizardTest\r\nbindedfilename=wizard\r\nuninstallationtitle=Wizard "
          "Test\r\n[environment]\r\nsendto=0\r\n[Bind]\r\na.bin=1048576\r\nb.bin=1048576\r\nc.bin=1048576\r\n");
    Write(folder_ + "wizard.bdx", std::string(3 << 20, 'w'));
    form_ = Application->CreateForm<Tinstallationform>();
    form_->Show();
    Pump();
  }
  void TearDown() override {
    if (form_) form_->Free();
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kKey);
    WritePrivateProfileStringA("PendoWizardTest", nullptr, nullptr, (GetWindowsFolder() + "mondax.ini").c_str());
    DeleteFolderFiles(target_);
    RemoveDirectoryA(target_.c_str());
    DeleteFileA((folder_ + "mondax.inx").c_str());
    DeleteFileA((folder_ + "wizard.bdx").c_str());
  }
  static void Write(const std::string& path, const std::string& bytes) {
    platform::WriteFileAtomically(path, bytes);
  }
  void Click(tbutton* b, bool post = false) {
    if (post) PostMessageA(b->Handle(), BM_CLICK, 0, 0);
    else SendMessageA(b->Handle(), BM_CLICK, 0, 0);
  }
  int Page() const { return static_cast<int>(SendMessageA(form_->PageList()->Handle(), CB_GETCURSEL, 0, 0)); }

  std::string folder_, target_;
  Tinstallationform* form_ = nullptr;
};

TEST_F(SetupWizard, PagesFolderRuleAndInputDuringTheRun) {
  EXPECT_EQ(form_->PageLabel()->Caption(), "Setup: 0/6");
  // The frame: one borderless panel of 50 and no grip on a fixed window; 16 lines of pages.
  HWND status = form_->StatusBar->Handle();
  int edges[2] = {0, 0};
  EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges)), 1);
  EXPECT_EQ(edges[0], 50);
  EXPECT_EQ(HIWORD(SendMessageA(status, SB_GETTEXTLENGTHA, 0, 0)) & SBT_NOBORDERS, SBT_NOBORDERS);
  EXPECT_FALSE(GetWindowLongPtrA(status, GWL_STYLE) & SBARS_SIZEGRIP);
  EXPECT_EQ(form_->PageList()->DropDownCount(), 16);
  EXPECT_FALSE(IsWindowEnabled(form_->PrevButton()->Handle()));
  for (int i = 0; i < 3; ++i) Click(form_->NextButton());
  EXPECT_EQ(Page(), 3);
  EXPECT_EQ(form_->PageLabel()->Caption(), "Setup: 3/6");
  EXPECT_EQ(form_->installfoldernameedit->Text(), GetProgramFilesFolder() + "PendoWizardTest");
  SetWindowTextA(form_->installfoldernameedit->Handle(), "");
  EXPECT_FALSE(IsWindowEnabled(form_->NextButton()->Handle())) << "an empty folder disables Next";
  SetWindowTextA(form_->installfoldernameedit->Handle(), target_.c_str());
  EXPECT_TRUE(IsWindowEnabled(form_->NextButton()->Handle()));
  SetFocus(form_->NextButton()->Handle());
  PostMessageA(form_->NextButton()->Handle(), WM_SYSCHAR, 'f', 1 << 29);
  Pump();
  EXPECT_EQ(GetFocus(), form_->installfoldernameedit->Handle()) << "Alt+F goes to the folder";

  // Next, Back and Cancel wait in the queue; the run handles them while it
  // copies, and none may start a second run, move a page or ask to cancel.
  Click(form_->NextButton(), true);
  Click(form_->PrevButton(), true);
  Click(form_->CloseButton, true);
  Click(form_->NextButton());  // without "sendto" the SendTo page is passed over
  EXPECT_EQ(Page(), 5);
  EXPECT_FALSE(form_->Running());
  EXPECT_TRUE(IsWindowVisible(form_->endlabel->Handle()));
  Pump(200);
  EXPECT_EQ(FindWindowA("#32770", "確認"), nullptr) << "Cancel during the run asks nothing";
  EXPECT_EQ(Page(), 5);
  EXPECT_TRUE(platform::FileExists(target_ + "\\c.bin"));
  EXPECT_FALSE(IsWindowEnabled(form_->PrevButton()->Handle()));
  EXPECT_FALSE(IsWindowEnabled(form_->CloseButton->Handle()));
  Click(form_->NextButton());
  EXPECT_EQ(Page(), 6);
  EXPECT_EQ(form_->CloseButton->Caption(), "終了(&C)");
}

// What a user reads, through the system's UTF-16 functions: the same where
// the system's code page is not 932.
TEST_F(SetupWizard, FirstPageReadsBackInUtf16) {
  std::vector<std::wstring> texts;
  struct tcollect {
    static BOOL CALLBACK Text(HWND h, LPARAM lp) {
      wchar_t text[512] = L"";
      GetWindowTextW(h, text, 512);
      reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(text);
      return TRUE;
    }
  };
  tcollect::Text(form_->Handle(), reinterpret_cast<LPARAM>(&texts));
  EnumChildWindows(form_->Handle(), &tcollect::Text, reinterpret_cast<LPARAM>(&texts));
  EXPECT_EQ(texts[0], L"セットアップウィザード - Setup Wizard");
  for (const wchar_t* line : {L"導入", L"Setup: 0/6", L"Wizard Test", L"本プログラムをダウンロードﾞいただき誠にありがとうございます。",
                              L"セットアップを行います。", L"「次へ」を押して下さい。"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end()) << Narrow(line);
  }
}

TEST_F(SetupWizard, CopyFailureTellsTwiceAndEnds) {
  Write(folder_ + "mondax.inx",
        "[profile]\r\napplicationname=PendoWizardTest\r\nbindedfilename=wizard\r\n[Bind]\r\na.bin=5\r\n"
        "nosuch\\b.bin=5\r\n");
  Write(folder_ + "wizard.bdx", "aaaaabbbbb");
  for (int i = 0; i < 3; ++i) Click(form_->NextButton());
  SetWindowTextA(form_->installfoldernameedit->Handle(), target_.c_str());
  // Answers the message boxes of the failure, in order.
  std::vector<std::string> texts;
  std::thread answer([&] {
    for (int i = 0; i < 400 && texts.size() < 2; ++i) {
      if (HWND box = FindWindowA("#32770", "失敗")) {
        char text[512] = {0};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        texts.push_back(text);
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        while (IsWindow(box)) Sleep(10);
      }
      Sleep(25);
    }
  });
  const HWND window = form_->Handle();
  Click(form_->NextButton());
  answer.join();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0],
            "何らかの理由でファイルのコピーに失敗しました。本プログラムの旧版が起動中の場合はいったん終了させて下さい。"
            "\r\nコピーしたファイルを削除し、置き換えたファイルを元に戻しました。");
  EXPECT_EQ(texts[1], "インストールは正常終了しませんでした。");
  Pump(200);
  EXPECT_FALSE(IsWindow(window)) << "the wizard ends";
  form_ = nullptr;
  EXPECT_FALSE(platform::FileExists(target_ + "\\a.bin")) << "files written before are taken back";
  EXPECT_FALSE(platform::FileExists(target_ + "\\mondax.uix"));
}

TEST_F(SetupWizard, AFolderNameTheCodePageCannotHoldIsRefusedAsSuch) {
  for (int i = 0; i < 3; ++i) Click(form_->NextButton());
  SetWindowTextW(form_->installfoldernameedit->Handle(), L"C:\\\uD55C\uAD6D\uC5B4 Pendo");
  test::tdialogwatcher refusal("失敗");
  Click(form_->NextButton());
  ASSERT_TRUE(refusal.Found());
  EXPECT_NE(refusal.Text().find("シフトJISで表せない文字を含むフォルダ名は使用できません。"), std::string::npos)
      << refusal.Text();
  EXPECT_EQ(Page(), 3) << "the folder page stays";
}

TEST_F(SetupWizard, CancelAsksFirst) {
  test::tdialogwatcher confirmation("確認");
  const HWND window = form_->Handle();
  Click(form_->CloseButton);
  ASSERT_TRUE(confirmation.Found());
  EXPECT_EQ(confirmation.Text(), "セットアップを中止します。");
  Pump(200);
  EXPECT_FALSE(IsWindow(window)) << "OK closes and frees the wizard";
  form_ = nullptr;
  EXPECT_FALSE(platform::FileExists(tprofiler::ProfileFolder() + "profile_installationform")) << "no profile";
}

}  // namespace
}  // namespace pendo
