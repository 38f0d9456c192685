// The base of every long-lived window that remembers where it was: its own
// profile ("profile_" + component name) for placement and move lock, keyboard
// moving and sizing, and the program-wide activate, deactivate and error hooks.
#pragma once

#include <memory>

#include "framework/form.h"
#include "settings/profiler.h"

namespace pendo {

class tadvancedform : public tform {
 public:
  static constexpr int kMinimumTrackSize = 16;

  tadvancedform(tcomponent* owner, const tformdesc& description);

  bool lockmove() const { return lockmove_; }
  void Setlockmove(bool value) { lockmove_ = value; }
  // Exists from loading to destruction.
  tprofiler* Profile() const { return profile_.get(); }

  // Virtual operations, in this order.
  virtual void SetDefaultPlacement();
  virtual void SystemSettingsChanged() {}
  virtual void ApplicationActivated() {}
  virtual void ApplicationDeactivated() {}
  virtual void SaveProfile();
  virtual void ShowAtStartup() {}
  // The session ends and the process may go without its destructors: write
  // now what an ordinary exit writes. This form's profile; forms that hold
  // more (panels with profiles of their own) add theirs.
  virtual void SaveForSessionEnd();

  void KeyDown(WORD& key, tshiftstate shift) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // The fixed report of an error nobody handled.
  static const char kErrorText[];
  static const char kErrorCaption[];

 protected:
  void Loaded() override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void DoShow() override;
  void DoHide() override;
  void BeforeDestruction() override;

  int defaultleft = 0, defaulttop = 0, defaultclientwidth = 0, defaultclientheight = 0;

 private:
  std::unique_ptr<tprofiler> profile_;
  bool lockmove_ = false;
};

}  // namespace pendo
