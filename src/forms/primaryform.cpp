#include "forms/primaryform.h"

#include <algorithm>
#include <cstring>

#include "framework/application.h"
#include "framework/menus.h"
#include "framework/startuptrace.h"
#include "settings/desktop.h"
#include "settings/platform.h"
#include "settings/programidentity.h"
#include "settings/systemlibrary.h"
#include "settings/widetext.h"

namespace pendo {

namespace {
const UINT kPlaceFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;  // 0x13

int StartupShowCommand() {
  STARTUPINFOW info{};
  info.cb = sizeof info;
  GetStartupInfoW(&info);
  return (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWNORMAL;
}
// The record as the shell takes it in UTF-16, the tip converted.
BOOL NotifyTray(DWORD message, const NOTIFYICONDATAA& record) {
  NOTIFYICONDATAW wide{};
  wide.cbSize = NOTIFYICONDATAW_V1_SIZE;
  wide.hWnd = record.hWnd;
  wide.uID = record.uID;
  wide.uFlags = record.uFlags;
  wide.uCallbackMessage = record.uCallbackMessage;
  wide.hIcon = record.hIcon;
  const std::wstring tip = Wide(std::string(record.szTip, strnlen(record.szTip, sizeof record.szTip)));
  tip.copy(wide.szTip, std::min<size_t>(tip.size(), 63));
  static const auto notify = SystemFunction<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
  return notify && notify(message, &wide);
}
}  // namespace

tprimaryform::tprimaryform(tcomponent* owner, const tformdesc& description) : tadvancedform(owner, description) {}

std::string tprimaryform::CutTip(const std::string& text) {
  const std::string::size_type limit = 63;
  if (text.size() <= limit) return text;
  std::string::size_type end = 0;
  while (end < text.size()) {
    const std::string::size_type step = platform::IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return text.substr(0, end);
}

void tprimaryform::SetTip(const std::string& text) {
  const std::string tip = CutTip(text);
  std::memset(trayRecord_->szTip, 0, sizeof trayRecord_->szTip);
  std::memcpy(trayRecord_->szTip, tip.data(), tip.size());
}

void tprimaryform::Loaded() {
  tadvancedform::Loaded();
  Application->SetHelpFile(GetProgramFolder() + GetProgramBaseName() + ".hlp");
  if (versiondialogalias_) {
    trayTip_ = versiondialogalias_->ApplicationTitle() + " " + versiondialogalias_->VersionValue();
    SetCaption(versiondialogalias_->ApplicationTitle());
  }
  trayWindow_ = std::make_unique<tutilitywindow>(
      [this](HWND h, UINT msg, WPARAM wp, LPARAM lp) { return TrayHandler(h, msg, wp, lp); });
  trayRecord_ = std::make_unique<NOTIFYICONDATAA>();
  std::memset(trayRecord_.get(), 0, sizeof(NOTIFYICONDATAA));
  trayRecord_->cbSize = kTrayRecordSize;
  trayRecord_->hWnd = trayWindow_->Handle();
  trayRecord_->uID = 0;
  trayRecord_->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayRecord_->uCallbackMessage = kTrayMessage;
  trayRecord_->hIcon = versiondialogalias_ ? versiondialogalias_->SmallIconHandle() : nullptr;
  SetTip(versiondialogalias_ ? versiondialogalias_->ApplicationTitle() : std::string());
  Setstayontop(Profile()->ReadBool("stayontop", false));
  Settaskbarvisible(Profile()->ReadBool("taskbarvisible", false));
  Application->SetShowMainForm(false);
}

void tprimaryform::Setstayontop(bool value) {
  if (value == stayontop_) return;
  stayontop_ = value;
  SetWindowPos(Application->Handle(), value ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kPlaceFlags);
}

void tprimaryform::Settaskbarvisible(bool value) {
  if (value == taskbarvisible_) return;
  taskbarvisible_ = value;
  ShowWindow(Application->Handle(), value ? SW_SHOWNORMAL : SW_HIDE);
}

void tprimaryform::ApplyStayOnTop() {
  SetWindowPos(Application->Handle(), stayontop_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kPlaceFlags);
}

void tprimaryform::ApplyTaskbarVisibility() {
  ShowWindow(Application->Handle(), taskbarvisible_ ? SW_SHOWNORMAL : SW_HIDE);
}

// The system may have reordered the windows.
void tprimaryform::ApplicationActivated() { ApplyStayOnTop(); }
void tprimaryform::ApplicationDeactivated() { ApplyStayOnTop(); }

void tprimaryform::SaveProfile() {
  tadvancedform::SaveProfile();
  if (!Profile()) return;
  // Saved with the next Save, at the latest when the profile goes.
  Profile()->WriteBool("stayontop", stayontop_);
  Profile()->WriteBool("taskbarvisible", taskbarvisible_);
  Profile()->WriteBool("visible", Showing());
}

void tprimaryform::ShowAtStartup() {
  const bool visible = Profile()->ReadBool("visible", true);
  const int command = StartupShowCommand();
  if (visible && command != SW_SHOWMINIMIZED && command != SW_MINIMIZE && command != SW_SHOWMINNOACTIVE) {
    Show();
  } else {
    // Never shown, so the hide step is run by hand: minimised, in the tray.
    DoHide();
  }
  TraceStartup("shown or put in the tray");
  if (Profile()->ReadBool("firstboot", true)) {
    FirstBoot();
    Profile()->WriteBool("firstboot", false);
  }
}

void tprimaryform::DoShow() {
  tadvancedform::DoShow();
  Application->Restore();
  ApplyTaskbarVisibility();
  RemoveTrayIcon();
}

void tprimaryform::DoHide() {
  tadvancedform::DoHide();
  if (IsDestroying()) return;
  Application->Minimize();
  ApplyTaskbarVisibility();
  if (trayRecord_ && !trayIconShown_) trayIconShown_ = NotifyTray(NIM_ADD, *trayRecord_) != FALSE;
}

void tprimaryform::RemoveTrayIcon() {
  // Asked only of a shown icon: a clock that never went to the tray starts
  // without the shell's library.
  if (!trayRecord_ || !trayIconShown_) return;
  NotifyTray(NIM_DELETE, *trayRecord_);
  trayIconShown_ = false;
}

LRESULT tprimaryform::TrayHandler(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != kTrayMessage) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (static_cast<UINT>(lp)) {
    case WM_MOUSEMOVE:
      SetTip(trayTip_);
      NotifyTray(NIM_MODIFY, *trayRecord_);
      break;
    case WM_LBUTTONDOWN:
      if (IsWindowEnabled(Handle())) {
        SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
        if (Showing()) Hide();
        else Show();
      }
      break;
    case WM_RBUTTONDOWN:
      if (IsWindowEnabled(Handle())) {
        SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
        if (PopupMenu()) PopupMenu()->Popup(GetCursorX(), GetCursorY());
      }
      break;
  }
  return 0;
}

void tprimaryform::BeforeDestruction() {
  try {
    SaveProfile();
  } catch (...) {
    // Saved again when the profile goes.
  }
  if (trayRecord_) {
    RemoveTrayIcon();
    trayWindow_.reset();
    trayRecord_.reset();
  }
  Application->HelpCommand(HELP_QUIT, 0);
  tadvancedform::BeforeDestruction();
}

void tprimaryform::Notification(tcomponent* component) {
  if (versiondialogalias_ && dynamic_cast<tversioninfo*>(component) == versiondialogalias_)
    versiondialogalias_ = nullptr;
  tadvancedform::Notification(component);
}

}  // namespace pendo
