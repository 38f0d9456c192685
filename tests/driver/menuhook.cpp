// Loaded by wininspect's "menu" command into the program that shows a
// pop-up menu: a menu's items live in the process that made it, so they are
// read there, as UTF-16, and handed back through a named mapping (first line
// the process's ANSI code page, then one item a line).
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHook(int code, WPARAM wp, LPARAM lp) {
  static const UINT ask = RegisterWindowMessageW(L"WinInspectReadMenu");
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && call->message == ask) {
    const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(call->hwnd, MN_GETHMENU, 0, 0));
    std::wstring all = L"acp " + std::to_wstring(GetACP()) + L"\n";
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
      wchar_t item[256] = L"";
      GetMenuStringW(menu, static_cast<UINT>(i), item, 256, MF_BYPOSITION);
      all += item;
      all += L'\n';
    }
    if (HANDLE map = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"WinInspectMenuText")) {
      if (auto* view = static_cast<wchar_t*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0))) {
        const size_t n = all.copy(view, 32767);
        view[n] = L'\0';
        UnmapViewOfFile(view);
      }
      CloseHandle(map);
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
