#include "framework/dpi.h"

#include "framework/font.h"

namespace pendo {

namespace {

using tgetdpiforwindow = UINT(WINAPI*)(HWND);
using tgetdpiforsystem = UINT(WINAPI*)();
using tadjustwindowrectexfordpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct tdpifunctions {
  tgetdpiforwindow forWindow = nullptr;
  tgetdpiforsystem forSystem = nullptr;
  tadjustwindowrectexfordpi adjust = nullptr;
};

const tdpifunctions& Functions() {
  static const tdpifunctions f = [] {
    tdpifunctions r;
    // user32 is loaded already: looking up adds no import and no library.
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
      r.forWindow = reinterpret_cast<tgetdpiforwindow>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
      r.forSystem = reinterpret_cast<tgetdpiforsystem>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForSystem")));
      r.adjust = reinterpret_cast<tadjustwindowrectexfordpi>(
          reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi")));
    }
    return r;
  }();
  return f;
}

}  // namespace

int SystemDpi() {
  const tdpifunctions& f = Functions();
  return ClampDpi(f.forSystem ? static_cast<int>(f.forSystem()) : ScreenPixelsPerInch());
}

int WindowDpi(HWND window) {
  const tdpifunctions& f = Functions();
  const int dpi = f.forWindow && window ? static_cast<int>(f.forWindow(window)) : 0;
  return dpi > 0 ? ClampDpi(dpi) : SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  const tdpifunctions& f = Functions();
  if (!f.adjust || !f.adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(ClampDpi(dpi))))
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace pendo
