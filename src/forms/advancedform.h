// The base of every long-lived window that remembers where it was: its own
// profile ("profile_" + component name) for placement and move lock, a place
// the user can always reach, keyboard moving and sizing, and the program-wide
// activate, deactivate and error hooks, which the first such form holds.
#pragma once

#include <memory>
#include <optional>

#include "framework/form.h"
#include "settings/profiler.h"

namespace pendo {

class tadvancedform : public tform {
 public:
  static constexpr int kMinimumTrackSize = 16;

  tadvancedform(tcomponent* owner, const tformdesc& description);
  ~tadvancedform() override;

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
  void SaveBeforeExit() override { SaveForSessionEnd(); }

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

  // In 96-DPI pixels, as the profile keeps the placement.
  int defaultleft = 0, defaulttop = 0, defaultclientwidth = 0, defaultclientheight = 0;

 private:
  struct tplacement {
    int left, top, clientwidth, clientheight;
    bool operator==(const tplacement& o) const {
      return left == o.left && top == o.top && clientwidth == o.clientwidth && clientheight == o.clientheight;
    }
  };
  tplacement CurrentPlacement() const;
  // The profile's 96-DPI placement in the window's pixels, and back.
  tplacement ToPixels(const tplacement& p) const;
  tplacement FromPixels(const tplacement& p) const;
  void DpiChanged() override;
  // Moves the window where the user can reach it (ReachableBounds), from the
  // placement the profile gave while the user has not moved it since.
  void KeepReachable();

  std::unique_ptr<tprofiler> profile_;
  bool lockmove_ = false;
  // The profile's placement while the window stands elsewhere to be
  // reachable: what is saved, so that it comes back there when the screen
  // does. None once the user has moved or sized the window.
  std::optional<tplacement> stored_;
  tplacement placed_{};
  bool placing_ = false;
};

}  // namespace pendo
