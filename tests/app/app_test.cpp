// The about box and Pendo's main window: in this process, and Pendo.exe
// itself started as its own process and driven from outside.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/_mainform.h"
#include "app/versiondialog.h"
#include "framework/application.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

struct tseen {
  HWND dialog = nullptr;
  std::string caption, edit, project, build;
  int dialogsAtOnce = 0;
  WORD key = VK_RETURN;
};
tseen g_seen;

BOOL CALLBACK CountDialogs(HWND h, LPARAM lp) {
  char cls[64];
  GetClassNameA(h, cls, sizeof cls);
  if (std::string(cls) == "Tversionform" && IsWindowVisible(h)) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

BOOL CALLBACK ReadChild(HWND h, LPARAM) {
  char cls[64], text[256] = {0};
  GetClassNameA(h, cls, sizeof cls);
  GetWindowTextA(h, text, sizeof text);
  const std::string c = cls, t = text;
  if (lstrcmpiA(cls, "Edit") == 0) g_seen.edit = t;
  else if (t.compare(0, 12, "Code Name - ") == 0) g_seen.project = t;
  else if (t.compare(0, 8, "Build on") == 0) g_seen.build = t;
  return TRUE;
}

// Looks at the open about box, then presses the key that should close it.
void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA("Tversionform", nullptr);
  if (!dialog || !IsWindowVisible(dialog)) return;  // not up yet
  KillTimer(nullptr, id);
  g_seen.dialog = dialog;
  char caption[128] = {0};
  GetWindowTextA(dialog, caption, sizeof caption);
  g_seen.caption = caption;
  EnumChildWindows(dialog, &ReadChild, 0);
  g_seen.dialogsAtOnce = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountDialogs, reinterpret_cast<LPARAM>(&g_seen.dialogsAtOnce));
  HWND focus = GetFocus();
  PostMessageA(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, g_seen.key, 0);
}

// Chooses バージョン情報 in the menu as soon as it is open.
void CALLBACK ChooseAbout(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, id);
  PostMessageA(menu, WM_CHAR, 'v', 0);
}

// Opens the about box as a user does (Esc for the menu, then its item) and
// closes it with key once it has been looked at.
void OpenAboutBox(Tmainform* form, WORD key) {
  g_seen = tseen{};
  g_seen.key = key;
  SetTimer(nullptr, 0, 30, &InspectAndClose);
  SetTimer(nullptr, 0, 20, &ChooseAbout);
  PostMessageA(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  // The menu and the dialog run their own loops inside this pumping.
  for (int i = 0; i < 100 && !(g_seen.dialog && !IsWindow(g_seen.dialog)); ++i) Pump(20);
}

class AboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DeleteProfile("profile_mainform");
    mainform = Application->CreateForm<Tmainform>();
  }
  void TearDown() override {
    if (mainform) mainform->Free();
    test::DeleteProfile("profile_mainform");
    Pump(10);
  }
  Tmainform* mainform = nullptr;
};

TEST_F(AboutBox, ShowsTheProductTextsAndClosesOnEnterAndEsc) {
  EXPECT_EQ(static_cast<tversioninfo*>(mainform->versiondialog), mainform->versiondialogalias());
  EXPECT_EQ("Sorvek Pendo + Short Message", mainform->Caption());
  OpenAboutBox(mainform, VK_RETURN);
  ASSERT_NE(nullptr, g_seen.dialog);
  EXPECT_EQ("バージョン情報 - About", g_seen.caption);
  EXPECT_EQ("Sorvek Pendo + Short Message v2.05k0.95-98.", g_seen.edit);
  EXPECT_EQ("Code Name - Velmora.", g_seen.project);
  EXPECT_NE(std::string::npos, g_seen.build.find("Lines.(Velmora)"));
  // Made by the build that made this program, not when the build was configured.
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(exe, GetFileExInfoStandard, &data));
  FILETIME local;
  SYSTEMTIME built;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &built);
  char day[16];
  wsprintfA(day, "%04d/%02d/%02d", built.wYear, built.wMonth, built.wDay);
  EXPECT_EQ(g_seen.build.substr(0, 19), std::string("Build on ") + day) << g_seen.build;
  Pump();
  EXPECT_FALSE(IsWindow(g_seen.dialog));  // closing freed it
  const HWND first = g_seen.dialog;
  OpenAboutBox(mainform, VK_ESCAPE);
  ASSERT_NE(nullptr, g_seen.dialog);
  EXPECT_EQ(1, g_seen.dialogsAtOnce);
  EXPECT_EQ("Sorvek Pendo + Short Message v2.05k0.95-98.", g_seen.edit);
  Pump();
  EXPECT_FALSE(IsWindow(g_seen.dialog));
  (void)first;
}

TEST_F(AboutBox, SmallIconIsTheComponentsOwnSixteenBySixteenCopy) {
  const ticon& icon = mainform->versiondialog->SmallIcon();
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(16, icon.Width());
  EXPECT_EQ(16, icon.Height());
  EXPECT_EQ(icon.Handle(), mainform->TrayRecord()->hIcon);
}

TEST_F(AboutBox, AHundredOpeningsLeaveNoGdiOrUserObjects) {
  // The first openings fill the system's caches (fonts, brushes) once.
  for (int i = 0; i < 10; ++i) OpenAboutBox(mainform, i % 2 ? VK_ESCAPE : VK_RETURN);
  Pump();
  const DWORD gdi = test::GdiObjects(), user = test::UserObjects();
  for (int i = 0; i < 100; ++i) {
    OpenAboutBox(mainform, i % 2 ? VK_ESCAPE : VK_RETURN);
    ASSERT_NE(nullptr, g_seen.dialog) << "opening " << i;
  }
  Pump();
  EXPECT_EQ(nullptr, FindWindowA("Tversionform", nullptr));
  EXPECT_EQ(gdi, test::GdiObjects());
  EXPECT_EQ(user, test::UserObjects());
}

// Pendo.exe in a folder of its own, started and ended from here.
class PendoProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "pendo_app_test\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "profile").c_str(), nullptr);
    DeleteFileA(Profile().c_str());
    ASSERT_TRUE(CopyFileA(PENDO_EXE, (folder_ + "Pendo.exe").c_str(), FALSE));
  }
  void TearDown() override {
    if (process_.hProcess) {
      TerminateProcess(process_.hProcess, 1);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }
  std::string Profile() const { return folder_ + "profile\\profile_mainform"; }
  void WriteProfile(const std::string& lines) {
    std::ofstream out(Profile(), std::ios::binary);
    out << lines;
  }
  std::string ReadProfile() const {
    std::ifstream in(Profile(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Starts Pendo with a show command and waits for its main window.
  HWND Start(int show = SW_SHOWNORMAL) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    std::string cmd = "\"" + folder_ + "Pendo.exe\"";
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si, &process_))
      return nullptr;
    WaitForInputIdle(process_.hProcess, 5000);
    for (int i = 0; i < 200; ++i) {
      if (HWND h = WindowOf("Tmainform")) {
        Sleep(200);
        return h;
      }
      Sleep(25);
    }
    return nullptr;
  }
  struct Find {
    DWORD pid;
    const char* cls;
    HWND found;
  };
  static BOOL CALLBACK FindOne(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char name[64];
    GetClassNameA(h, name, sizeof name);
    if (pid == f->pid && std::string(name) == f->cls) {
      f->found = h;
      return FALSE;
    }
    return TRUE;
  }
  HWND WindowOf(const char* cls) {
    Find f{process_.dwProcessId, cls, nullptr};
    EnumWindows(&FindOne, reinterpret_cast<LPARAM>(&f));
    return f.found;
  }
  // Whether the shell holds a tray icon of the program.
  bool TrayIconPresent() {
    HWND tray = WindowOf("TPendoUtilityWindow");
    if (!tray) return false;
    NOTIFYICONDATAA record{};
    record.cbSize = 88;
    record.hWnd = tray;
    record.uID = 0;
    record.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
  }
  void End(HWND window) {
    SendMessageA(window, 1692, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, 10000));
    DWORD code = 99;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = PROCESS_INFORMATION{};
  }

  std::string folder_;
  PROCESS_INFORMATION process_{};
};

TEST_F(PendoProcess, StartsSeeThroughAtItsDefaultPlaceAndBringsAPlaceOffTheScreenOntoIt) {
  HWND h = Start();
  ASSERT_NE(nullptr, h);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_THICKFRAME),
            GetWindowLongA(h, GWL_STYLE) & (WS_POPUP | WS_THICKFRAME | WS_CAPTION));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(40, r.left);
  EXPECT_EQ(114, r.top);
  RECT c;
  GetClientRect(h, &c);
  EXPECT_EQ(117, c.right);
  EXPECT_EQ(32, c.bottom);
  SetWindowPos(h, nullptr, -300, 900, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  End(h);
  EXPECT_NE(std::string::npos, ReadProfile().find("left,-300"));
  h = Start();
  ASSERT_NE(nullptr, h);
  GetWindowRect(h, &r);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(0, r.left) << "brought onto the screen";
  EXPECT_EQ(work.bottom, r.bottom);
  End(h);
}

TEST_F(PendoProcess, VisibleZeroStartsHiddenWithOnlyTheTrayIcon) {
  WriteProfile("visible,0\r\nfirstboot,0\r\n");
  HWND h = Start();
  ASSERT_NE(nullptr, h);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(TrayIconPresent());
  End(h);
  EXPECT_NE(std::string::npos, ReadProfile().find("visible,0"));
}

TEST_F(PendoProcess, AMinimisedStartStaysHiddenWhateverVisibleSays) {
  WriteProfile("visible,1\r\n");
  HWND h = Start(SW_SHOWMINNOACTIVE);
  ASSERT_NE(nullptr, h);
  EXPECT_FALSE(IsWindowVisible(h));
  EXPECT_TRUE(TrayIconPresent());
  End(h);
}

}  // namespace
}  // namespace pendo
