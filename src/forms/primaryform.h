// The base of the program's one primary window: stay on top and the taskbar
// button (both applied to the application window, which owns every form), the
// notification-area icon that stands in for the window while it is hidden,
// the help file, whether the window was visible, and a first-run action.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "forms/advancedform.h"
#include "forms/versioninfo.h"
#include "framework/utilitywindow.h"

namespace pendo {

class tprimaryform : public tadvancedform {
 public:
  // The tray icon record keeps the size of its oldest form.
  static constexpr DWORD kTrayRecordSize = 88;
  static constexpr UINT kTrayMessage = WM_USER;

  tprimaryform(tcomponent* owner, const tformdesc& description);

  bool stayontop() const { return stayontop_; }
  void Setstayontop(bool value);
  bool taskbarvisible() const { return taskbarvisible_; }
  void Settaskbarvisible(bool value);
  tversioninfo* versiondialogalias() const { return versiondialogalias_; }
  void Setversiondialogalias(tversioninfo* value) { versiondialogalias_ = value; }
  void Notification(tcomponent* component) override;

  void ApplyStayOnTop();
  void ApplyTaskbarVisibility();

  void ApplicationActivated() override;
  void ApplicationDeactivated() override;
  void SaveProfile() override;
  void ShowAtStartup() override;
  virtual void FirstBoot() {}

  // The hidden window that receives the tray icon's messages (null before loading).
  HWND TrayWindow() const { return trayWindow_ ? trayWindow_->Handle() : nullptr; }
  bool TrayIconShown() const { return trayIconShown_; }
  const NOTIFYICONDATAA* TrayRecord() const { return trayRecord_.get(); }
  const std::string& TrayTipText() const { return trayTip_; }

  // At most 63 bytes of text, never cutting a double-byte character in two.
  static std::string CutTip(const std::string& text);

 protected:
  void Loaded() override;
  void DoShow() override;
  void DoHide() override;
  void BeforeDestruction() override;

 private:
  LRESULT TrayHandler(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void SetTip(const std::string& text);
  void RemoveTrayIcon();

  bool stayontop_ = false;
  bool taskbarvisible_ = false;
  tversioninfo* versiondialogalias_ = nullptr;
  std::unique_ptr<NOTIFYICONDATAA> trayRecord_;
  std::unique_ptr<tutilitywindow> trayWindow_;
  std::string trayTip_;
  bool trayIconShown_ = false;
};

}  // namespace pendo
