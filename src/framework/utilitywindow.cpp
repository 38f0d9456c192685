#include "framework/utilitywindow.h"

#include <stdexcept>

#include "framework/application.h"

namespace pendo {

namespace {
const char kClass[] = "TPendoUtilityWindow";
}

tutilitywindow::tutilitywindow(Handler handler) : handler_(std::move(handler)) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (!GetClassInfoA(instance, kClass, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &tutilitywindow::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    if (!RegisterClassA(&wc)) throw std::runtime_error("cannot register the utility window class");
  }
  // A plain hidden pop-up: the shell's tray posts to it and it can be brought forward.
  handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
  if (!handle_) throw std::runtime_error("cannot create a utility window");
}

tutilitywindow::~tutilitywindow() {
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

LRESULT CALLBACK tutilitywindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<tutilitywindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || !self->handler_) return DefWindowProcA(hwnd, msg, wp, lp);
  try {
    return self->handler_(hwnd, msg, wp, lp);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(&e);
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
  return 0;
}

}  // namespace pendo
