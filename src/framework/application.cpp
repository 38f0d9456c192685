#include "framework/application.h"

#include "framework/form.h"

namespace pendo {

tapplication* Application = nullptr;

namespace {
const char kClassName[] = "TApplication";
}

tapplication::tapplication(HINSTANCE instance) : instance_(instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &tapplication::WindowProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kClassName;
  wc.hIcon = LoadIconA(instance_, "MAINICON");
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  RegisterClassA(&wc);  // a second application object reuses the class
  // Zero-sized and off in a corner: it only carries the taskbar entry.
  handle_ = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, instance_, this);
  Application = this;
}

tapplication::~tapplication() {
  DestroyForms();
  if (handle_) {
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
  if (Application == this) Application = nullptr;
}

void tapplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetWindowTextA(handle_, title_.c_str());
}

void tapplication::Adopt(std::unique_ptr<tform> form) {
  tform* raw = form.get();
  if (!mainForm_) mainForm_ = raw;
  forms_.push_back(std::move(form));
  raw->RunLoaded();
}

void tapplication::Run() {
  if (showMainForm_ && mainForm_) mainForm_->Show();
  MSG msg;
  while (!terminated_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  terminated_ = true;
}

void tapplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void tapplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void tapplication::DestroyForms() {
  while (!forms_.empty()) {
    // Take it out first so that a form freeing others never sees itself listed.
    std::unique_ptr<tform> form = std::move(forms_.back());
    forms_.pop_back();
    if (form.get() == mainForm_) mainForm_ = nullptr;
    form.reset();
  }
}

void tapplication::HandleException(const std::exception* error) {
  if (OnException) {
    OnException(error);
    return;
  }
  const char* text = error ? error->what() : "unknown error";
  MessageBoxA(handle_, text, title_.c_str(), MB_OK | MB_ICONSTOP);
}

LRESULT CALLBACK tapplication::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* app = reinterpret_cast<tapplication*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  try {
    if (app && msg == WM_ACTIVATEAPP) {
      if (wp && app->OnActivate) app->OnActivate();
      if (!wp && app->OnDeactivate) app->OnDeactivate();
    }
  } catch (const std::exception& e) {
    app->HandleException(&e);
  } catch (...) {
    app->HandleException(nullptr);
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace pendo
