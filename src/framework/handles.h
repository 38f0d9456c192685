// The framework's GDI and USER handles on the one owning wrapper; kernel
// handles are settings/uniquehandle.h's.
#pragma once

#include <windows.h>

#include "settings/uniquehandle.h"

namespace pendo {

struct tgdiobjecttraits {
  static void Free(HGDIOBJ h) { DeleteObject(h); }
};
struct tdctraits {
  static void Free(HDC h) { DeleteDC(h); }
};
struct ticontraits {
  static void Free(HICON h) { DestroyIcon(h); }
};
struct tmenutraits {
  static void Free(HMENU h) { DestroyMenu(h); }
};
struct twindowtraits {
  static void Free(HWND h) { DestroyWindow(h); }
};

using tfonthandle = tuniquehandle<HFONT, tgdiobjecttraits>;
using tpenhandle = tuniquehandle<HPEN, tgdiobjecttraits>;
using tbrushhandle = tuniquehandle<HBRUSH, tgdiobjecttraits>;
using tbitmaphandle = tuniquehandle<HBITMAP, tgdiobjecttraits>;
using tmemorydc = tuniquehandle<HDC, tdctraits>;
using ticonhandle = tuniquehandle<HICON, ticontraits>;
using tmenuhandle = tuniquehandle<HMENU, tmenutraits>;
using twindowhandle = tuniquehandle<HWND, twindowtraits>;

// A window's device context, released on scope exit.
class twindowdc {
 public:
  explicit twindowdc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~twindowdc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  twindowdc(const twindowdc&) = delete;
  twindowdc& operator=(const twindowdc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class tselection {
 public:
  tselection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~tselection() {
    if (old_) SelectObject(dc_, old_);
  }
  tselection(const tselection&) = delete;
  tselection& operator=(const tselection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace pendo
