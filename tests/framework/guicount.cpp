#include "guicount.h"

namespace pendo::test {

DWORD GdiObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted) return counted;
  // Wine accepts a handle's table index alone (the 16-bit form) for any live object.
  DWORD n = 0;
  for (ULONG_PTR i = 1; i < 0x10000; ++i) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
  }
  return n;
}

DWORD UserObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (counted) return counted;
  DWORD n = 0;
  const DWORD self = GetCurrentProcessId();
  for (ULONG_PTR i = 1; i < 0x10000; ++i) {
    HWND w = reinterpret_cast<HWND>(i);
    DWORD pid = 0;
    if (IsWindow(w) && GetWindowThreadProcessId(w, &pid) && pid == self) ++n;
    else if (IsMenu(reinterpret_cast<HMENU>(i))) ++n;
  }
  return n;
}

}  // namespace pendo::test
