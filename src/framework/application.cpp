#include "framework/application.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "framework/form.h"
#include "framework/startuptrace.h"
#include "framework/windowentry.h"
#include "framework/windowtext.h"

namespace pendo {

tapplication* Application = nullptr;

#ifndef NDEBUG
void AssertUiThread() {
  static const DWORD ui = GetCurrentThreadId();
  if (GetCurrentThreadId() != ui) {
    OutputDebugStringW(L"the framework was used from a second thread\n");
    std::abort();
  }
}
#endif

namespace {
const char kClassName[] = "TApplication";
const UINT kReleaseMessage = WM_APP + 0x100;
}  // namespace

tapplication::tapplication(HINSTANCE instance) : instance_(instance) {
  if (HANDLE h = LoadImageW(instance_, L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)) {
    icon_.SetHandle(static_cast<HICON>(h));
  } else {
    icon_.AssignHandle(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
  }
  TraceStartup("application: icon");
  // Zero-sized in the middle of the screen: it only carries the taskbar entry.
  tutilitywindow::tparams p;
  p.windowClass = kClassName;
  p.icon = icon_.Handle();
  p.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
  p.exStyle = 0;
  p.x = GetSystemMetrics(SM_CXSCREEN) / 2;
  p.y = GetSystemMetrics(SM_CYSCREEN) / 2;
  window_ = std::make_unique<tutilitywindow>(
      [this](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return WndProc(hwnd, msg, wp, lp); }, p);
  handle_ = window_->Handle();
  Application = this;
}

tapplication::~tapplication() {
  DestroyForms();
  pendingReleases_.clear();
  window_.reset();
  handle_ = nullptr;
  if (Application == this) Application = nullptr;
}

void tapplication::SetTitle(const std::string& title) {
  title_ = title;
  if (handle_) SetText(handle_, title_);
}

bool tapplication::HelpCommand(UINT command, ULONG_PTR data) {
  if (helpFile_.empty()) return false;
  HWND owner = mainForm_ && mainForm_->ExistingHandle() ? mainForm_->ExistingHandle() : handle_;
  return WinHelpW(owner, Wide(helpFile_).c_str(), command, data) != FALSE;
}

void tapplication::Minimize() {
  if (!IsIconic(handle_)) ShowWindow(handle_, SW_MINIMIZE);
}

void tapplication::Restore() {
  if (IsIconic(handle_)) ShowWindow(handle_, SW_RESTORE);
}

tform* tapplication::Adopt(tform* form, bool main) {
  try {
    forms_.push_back(form);
    if (main) mainForm_ = form;
    form->Initialize();
  } catch (...) {
    // Its destruction takes it off the list and from the main form.
    form->Free();
    throw;
  }
  return form;
}

void tapplication::FormDestroyed(tform* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
  if (mainForm_ == form) mainForm_ = nullptr;
  auto& pending = pendingReleases_;
  for (auto it = pending.begin(); it != pending.end();) {
    if (it->second == form) it = pending.erase(it);
    else ++it;
  }
}

void tapplication::ReleaseForm(tform* form) {
  AssertUiThread();
  pendingReleases_[++releaseSerial_] = form;
  PostMessageW(handle_, kReleaseMessage, releaseSerial_, 0);
}

bool tapplication::Dispatch(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  bool used = false;
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
    const bool previewed = Guard([&] {
      HWND root = GetAncestor(msg.hwnd, GA_ROOT);
      if (auto* form = dynamic_cast<tform*>(twincontrol::FromHandle(root))) used = form->PreviewKey(msg);
    });
    if (!previewed) used = true;  // a key whose preview failed is not handled again
  }
  if (!used) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool tapplication::HandleMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == -1) return false;
  if (got == 0) {
    terminated_ = true;
    return false;
  }
  return Dispatch(msg);
}

void tapplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(msg)) {
      // Leave the quit for the loop that owns it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
  }
}

void tapplication::Run() {
  if (showMainForm_ && mainForm_) mainForm_->Show();
  while (!terminated_) {
    if (!HandleMessage()) break;
  }
  terminated_ = true;
}

void tapplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  PostQuitMessage(0);
}

void tapplication::DestroyForms() {
  while (!forms_.empty()) {
    // Take it out first so that a form freeing others never sees itself listed.
    tform* form = forms_.back();
    forms_.pop_back();
    if (form == mainForm_) mainForm_ = nullptr;
    form->Free();
  }
}

void tapplication::Activate(bool active) {
  if (active == active_) return;
  active_ = active;
  Guard([&] {
    if (active && OnActivate) OnActivate();
    if (!active && OnDeactivate) OnDeactivate();
  });
}

namespace {

BOOL CALLBACK CollectForm(HWND h, LPARAM list) {
  if (auto* f = dynamic_cast<tform*>(twincontrol::FromHandle(h)))
    reinterpret_cast<std::vector<tform*>*>(list)->push_back(f);
  return TRUE;
}

}  // namespace

void tapplication::HandleException(const std::exception* error) {
  if (dynamic_cast<const EPaintFailed*>(error)) {
    // Once: a form saving may paint and fail again.
    static bool ending = false;
    if (!ending) {
      ending = true;
      // Every form with a window, whoever owns it.
      std::vector<tform*> forms;
      EnumThreadWindows(GetCurrentThreadId(), &CollectForm, reinterpret_cast<LPARAM>(&forms));
      for (tform* f : forms) {
        try {
          f->SaveBeforeExit();
        } catch (...) {
        }
      }
    }
    ExitProcess(1);
  }
  // An error inside the report is not reported again.
  if (reportingError_) return;
  reportingError_ = true;
  struct treset {
    bool& flag;
    ~treset() { flag = false; }
  } reset{reportingError_};
  try {
    if (OnException) {
      OnException(error);
      return;
    }
  } catch (...) {
  }
  const char* text = error ? error->what() : "unknown error";
  ShowMessage(handle_, text, title_, MB_OK | MB_ICONSTOP);
}

LRESULT tapplication::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATEAPP:
      Activate(wp != 0);
      break;
    case WM_CLOSE:
      // Closing the taskbar entry closes the main form.
      if (mainForm_) mainForm_->Close();
      return 0;
    case kReleaseMessage: {
      auto& pending = pendingReleases_;
      auto it = pending.find(static_cast<UINT>(wp));
      if (it != pending.end()) {
        tform* form = it->second;
        pending.erase(it);
        forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
        form->Free();
      }
      return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace pendo
