// The floor for Pendo's start-up: a bare Win32 program that opens a
// borderless window of the clock's size and place and draws what the clock
// draws, in its fonts (the title "Date" and the value in Arial, and Japanese
// text in "ＭＳ Ｐゴシック", the forms' font), straight into the window in its
// first WM_PAINT. It writes that paint's performance-counter reading as
// Pendo's trace build does (src/framework/startuptrace.h), so that
// bench/startup-bench.sh times both alike; message 1692 ends it, as it ends
// Pendo. Built a second time as bare_start_imports.exe, which also imports
// one function of each system library Pendo imports besides these (never
// called), to tell the loader's share of Pendo's start-up.
#include <windows.h>

#include <cstdio>
#include <string>

#ifdef PENDO_BARE_IMPORTS
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shlobj.h>
#include <wtsapi32.h>

void* volatile g_pendoImports[] = {
    reinterpret_cast<void*>(&InitCommonControlsEx), reinterpret_cast<void*>(&GetOpenFileNameW),
    reinterpret_cast<void*>(&SHGetFolderPathW),     reinterpret_cast<void*>(&sndPlaySoundW),
    reinterpret_cast<void*>(&WTSRegisterSessionNotification), reinterpret_cast<void*>(&RegOpenKeyExW)};
#endif

namespace {

constexpr UINT kCloseMessage = 1692;
LONGLONG g_winMain = 0, g_painted = 0;
bool g_written = false;

LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

void WriteTrace() {
  wchar_t exe[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe, n);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"startup-trace.txt";
  std::FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::fprintf(f, "%lld\tfrequency\n%lld\tWinMain\n%lld\tfirst paint: controls painted\n",
               static_cast<long long>(frequency.QuadPart), static_cast<long long>(g_winMain),
               static_cast<long long>(g_painted));
  std::fclose(f);
}

HFONT Font(const wchar_t* face, int height, int weight = FW_NORMAL) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

void Paint(HWND window, HDC dc) {
  static const HFONT arial = Font(L"Arial", -11);
  static const HFONT gothic = Font(L"ＭＳ Ｐゴシック", -12);
  RECT r;
  GetClientRect(window, &r);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ old = SelectObject(dc, arial);
  SetTextColor(dc, RGB(0, 0, 128));
  TextOutW(dc, 4, 2, L"Date", 4);
  SYSTEMTIME t;
  GetLocalTime(&t);
  wchar_t date[64];
  int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 64);
  static const wchar_t* const kDays[] = {L"(Sun)", L"(Mon)", L"(Tue)", L"(Wed)", L"(Thu)", L"(Fri)", L"(Sat)"};
  wchar_t value[128];
  n = swprintf(value, 128, L"%ls%ls %u:%02u", n > 0 ? date : L"", kDays[t.wDayOfWeek % 7], t.wHour, t.wMinute);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, 4, 16, value, n > 0 ? n : 0);
  SelectObject(dc, gothic);
  TextOutW(dc, 80, 2, L"時計", 2);
  SelectObject(dc, old);
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(window, dc);
      EndPaint(window, &ps);
      if (!g_written) {
        g_painted = Now();
        g_written = true;
        WriteTrace();
      }
      return 0;
    }
    case kCloseMessage:
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  g_winMain = Now();
  WNDCLASSW c{};
  c.lpfnWndProc = WindowProc;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  c.lpszClassName = L"Tbarestart";
  if (!RegisterClassW(&c)) return 1;
  // The clock's default place and client size.
  HWND window = CreateWindowExW(0, c.lpszClassName, L"bare_start", WS_POPUP, 40, 114, 117, 32, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
