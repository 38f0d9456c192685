// Owning wrappers for the raw handles the framework holds: each frees its
// handle exactly once with the function that matches it.
#pragma once

#include <windows.h>

#include <utility>

namespace pendo {

template <class H, class Traits>
class tuniquehandle {
 public:
  tuniquehandle() = default;
  explicit tuniquehandle(H h) : h_(h) {}
  ~tuniquehandle() { reset(); }
  tuniquehandle(const tuniquehandle&) = delete;
  tuniquehandle& operator=(const tuniquehandle&) = delete;
  tuniquehandle(tuniquehandle&& o) noexcept : h_(o.release()) {}
  tuniquehandle& operator=(tuniquehandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (h_) Traits::Free(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

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
struct tkerneltraits {
  static void Free(HANDLE h) { CloseHandle(h); }
};

using tfonthandle = tuniquehandle<HFONT, tgdiobjecttraits>;
using tpenhandle = tuniquehandle<HPEN, tgdiobjecttraits>;
using tbrushhandle = tuniquehandle<HBRUSH, tgdiobjecttraits>;
using tbitmaphandle = tuniquehandle<HBITMAP, tgdiobjecttraits>;
using tmemorydc = tuniquehandle<HDC, tdctraits>;
using ticonhandle = tuniquehandle<HICON, ticontraits>;
using tmenuhandle = tuniquehandle<HMENU, tmenutraits>;
using twindowhandle = tuniquehandle<HWND, twindowtraits>;
using tkernelhandle = tuniquehandle<HANDLE, tkerneltraits>;

// CreateFile's failure is INVALID_HANDLE_VALUE, every other kernel call's is
// null: both become an empty handle.
inline tkernelhandle OwnFileHandle(HANDLE h) { return tkernelhandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }

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
