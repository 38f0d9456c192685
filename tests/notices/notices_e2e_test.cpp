// Pendo as a process, its notice file written before the start: the notice
// window seen and read from outside, and a notice that starts a program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "processdriver.h"
#include "settings/programidentity.h"
#include "settings/widetext.h"

using namespace pendo::testing;

namespace {

constexpr DWORD kStartMs = 20000;
constexpr UINT kCloseMessage = 1692;

struct tfindargs {
  DWORD pid;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND w, LPARAM lp) {
  auto* a = reinterpret_cast<tfindargs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (pid == a->pid && std::string(cls) == a->className) a->found.push_back(w);
  return TRUE;
}

std::vector<HWND> WindowsOf(DWORD pid, const char* className) {
  tfindargs args{pid, className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

// Dark pixels (text drawn in black) of an image, row by row.
struct tmask {
  int width = 0, height = 0;
  std::vector<bool> dark;
  bool At(int x, int y) const { return dark[static_cast<std::size_t>(y * width + x)]; }
};

tmask MaskOf(HDC source, int x, int y, int width, int height) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(source);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  tmask m{width, height, std::vector<bool>(static_cast<std::size_t>(width * height))};
  const auto* px = static_cast<const unsigned char*>(bits);
  for (int i = 0; i < width * height; ++i) {
    m.dark[static_cast<std::size_t>(i)] = px[4 * i] < 80 && px[4 * i + 1] < 80 && px[4 * i + 2] < 80;
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return m;
}

// The text as GDI draws it in black on white in that font.
tmask TextMask(const std::string& text, const char* face, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, pendo::Wide(face).c_str());
  HGDIOBJ oldFont = SelectObject(dc, font);
  const std::wstring wide = pendo::Wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
  HBITMAP bmp = CreateCompatibleBitmap(screen, size.cx, size.cy);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  RECT r{0, 0, size.cx, size.cy};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 0, 0, wide.data(), static_cast<int>(wide.size()));
  tmask m = MaskOf(dc, 0, 0, size.cx, size.cy);
  SelectObject(dc, oldBmp);
  SelectObject(dc, oldFont);
  DeleteObject(bmp);
  DeleteObject(font);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return m;
}

// Whether the window shows the text: somewhere its dark pixels and the
// text's agree on all but a few pixels of the text's box.
bool Shows(HWND window, const tmask& text) {
  RECT c;
  GetClientRect(window, &c);
  HDC dc = GetDC(window);
  const tmask shot = MaskOf(dc, 0, 0, c.right, c.bottom);
  ReleaseDC(window, dc);
  int inked = 0;
  for (bool b : text.dark) inked += b;
  for (int oy = 0; oy + text.height <= shot.height; ++oy) {
    for (int ox = 0; ox + text.width <= shot.width; ++ox) {
      int wrong = 0;
      for (int y = 0; y < text.height && wrong * 10 <= inked; ++y) {
        for (int x = 0; x < text.width; ++x) wrong += text.At(x, y) != shot.At(ox + x, oy + y);
      }
      if (wrong * 10 <= inked) return true;
    }
  }
  return false;
}

struct tfocusholder {
  HWND window = CreateWindowExA(0, "STATIC", "holder", WS_POPUP | WS_VISIBLE | WS_CAPTION, 700, 600, 120, 60,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ~tfocusholder() { DestroyWindow(window); }
  void TakeFocus() const {
    SetForegroundWindow(window);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
};

}  // namespace

TEST(NoticeFromOutside, DueNoticeOpensBlinksTakesAndGivesBackTheFocusAndAProgramStarts) {
  const std::string folder = FreshFolder("notice");
  const std::string exe = folder + "pendo.exe";
  ASSERT_TRUE(CopyFileA(BuiltPendoPath().c_str(), exe.c_str(), FALSE));
  // The program's path has a space; C:\Program.exe must not run in its place.
  // Its Japanese name leads to it also where the system's code page is not 932.
  SpacedProgram program(pendo::GetProgramFolder() + "noticeprogram.exe", "Pendo 通知 test");

  SYSTEMTIME now;
  GetLocalTime(&now);
  if (now.wSecond > 45) {
    Sleep((61 - now.wSecond) * 1000);
    GetLocalTime(&now);
  }
  const int hour = (now.wHour + (now.wMinute + 1) / 60) % 24, minute = (now.wMinute + 1) % 60;
  const std::string when = "2,0,0,0," + std::to_string(hour) + "," + std::to_string(minute) + ",";
  const std::string message = "会議の時間です";
  const std::string list = when + program.path + "\r\n" + when + message + "\r\n";
  CreateDirectoryA((folder + "profile").c_str(), nullptr);
  WriteText(folder + "profile\\element_noticelist", list);
  WriteText(folder + "profile\\profile_mainform", "firstboot,0\r\n");

  tfocusholder holder;
  Process p = Start(exe);
  HWND main = WaitForWindow(p, "Tmainform", kStartMs);
  ASSERT_NE(main, nullptr);
  Sleep(1500);
  holder.TakeFocus();
  ASSERT_EQ(GetForegroundWindow(), holder.window) << "another program's window has the focus before the notice";

  HWND notice = WaitForWindow(p, "Tnoticeform", 75000);
  ASSERT_NE(notice, nullptr) << "the notice due at " << hour << ":" << minute;
  const DWORD opened = GetTickCount();
  EXPECT_EQ(WindowsOf(p.info.dwProcessId, "Tnoticeform").size(), 1u) << "the program's notice opens no window";
  EXPECT_TRUE(program.Ran(5000)) << "the program ran";
  EXPECT_FALSE(program.DecoyRan());
  EXPECT_EQ(GetForegroundWindow(), notice);

  const tmask text = TextMask(message, "ＭＳ Ｐゴシック", -12);
  const tmask colon = TextMask("at " + std::to_string(hour) + ":" + std::to_string(minute), "Arial", -11);
  const tmask blank = TextMask("at " + std::to_string(hour) + " " + std::to_string(minute), "Arial", -11);
  // A loaded machine may paint the window a moment after it opens.
  bool shown = false;
  for (DWORD start = GetTickCount(); !shown && GetTickCount() - start < 3000; Sleep(100)) shown = Shows(notice, text);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(Shows(notice, TextMask("会議の時刻です", "ＭＳ Ｐゴシック", -12))) << "the reading tells texts apart";
  bool sawColon = false, sawBlank = false;
  while (GetTickCount() - opened < 3500) {
    sawColon = sawColon || Shows(notice, colon);
    sawBlank = sawBlank || Shows(notice, blank);
    Sleep(150);
  }
  EXPECT_TRUE(sawColon);
  EXPECT_TRUE(sawBlank) << "the separator blinks";

  while (IsWindow(notice) && GetTickCount() - opened < 20000) Sleep(100);
  EXPECT_FALSE(IsWindow(notice));
  EXPECT_NEAR(static_cast<double>(GetTickCount() - opened), 16000.0, 1500.0);
  EXPECT_EQ(GetForegroundWindow(), holder.window) << "the focus comes back to the other program";

  PostMessageA(main, kCloseMessage, 0, 0);
  EXPECT_EQ(p.WaitExit(kStartMs), 0);
  std::string saved;
  ASSERT_TRUE(ReadText(folder + "profile\\element_noticelist", saved));
  EXPECT_EQ(saved, list);
}
