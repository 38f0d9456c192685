// A hidden window that only receives messages (timer ticks, tray icon
// callbacks) and hands them to a function. The handler's exceptions go to the
// application's error hook.
#pragma once

#include <windows.h>

#include <functional>

namespace pendo {

class tutilitywindow {
 public:
  using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
  explicit tutilitywindow(Handler handler);
  ~tutilitywindow();
  tutilitywindow(const tutilitywindow&) = delete;
  tutilitywindow& operator=(const tutilitywindow&) = delete;
  HWND Handle() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  Handler handler_;
  HWND handle_ = nullptr;
};

}  // namespace pendo
