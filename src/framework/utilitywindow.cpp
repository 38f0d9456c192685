#include "framework/utilitywindow.h"

#include <stdexcept>

#include "framework/windowentry.h"
#include "settings/widetext.h"

namespace pendo {

tutilitywindow::tutilitywindow(thandler handler, const tparams& p) : handler_(std::move(handler)) {
  const std::wstring name = Wide(p.windowClass);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &tutilitywindow::WindowProc;
  wc.lpszClassName = name.c_str();
  wc.hIcon = p.icon;
  RegisterWindowClass(wc);
  handle_.reset(CreateWindowExW(p.exStyle, name.c_str(), L"", p.style, p.x, p.y, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), this));
  if (!handle_) throw std::runtime_error("cannot create a utility window");
}

tutilitywindow::~tutilitywindow() {
  // Nothing reaches the handler while the window goes.
  if (handle_) SetWindowLongPtrW(handle_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK tutilitywindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<tutilitywindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->handler_) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  Guard([&] { result = self->handler_(hwnd, msg, wp, lp); });
  return result;
}

}  // namespace pendo
