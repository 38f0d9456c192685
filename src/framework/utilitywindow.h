// A window of the framework's own that is no control: hidden windows that
// only receive messages (timer ticks, tray icon callbacks) and the
// application's taskbar window. It hands every message to a function under
// the one guard (windowentry.h).
#pragma once

#include <windows.h>

#include <functional>

#include "framework/handles.h"

namespace pendo {

class tutilitywindow {
 public:
  using thandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
  struct tparams {
    const char* windowClass = "TPendoUtilityWindow";
    HICON icon = nullptr;
    DWORD style = WS_POPUP;
    DWORD exStyle = WS_EX_TOOLWINDOW;
    int x = 0, y = 0;
  };
  // A plain hidden pop-up: the shell's tray posts to it and it can be brought forward.
  explicit tutilitywindow(thandler handler) : tutilitywindow(std::move(handler), tparams()) {}
  tutilitywindow(thandler handler, const tparams& params);
  ~tutilitywindow();
  tutilitywindow(const tutilitywindow&) = delete;
  tutilitywindow& operator=(const tutilitywindow&) = delete;
  HWND Handle() const { return handle_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  thandler handler_;
  twindowhandle handle_;
};

}  // namespace pendo
