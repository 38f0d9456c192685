#include "forms/advancedform.h"

#include "framework/application.h"
#include "framework/windowtext.h"
#include "settings/desktop.h"

namespace pendo {

const char tadvancedform::kErrorText[] = "例外が発生しました。発生地点は不明です。";
const char tadvancedform::kErrorCaption[] = "例外 - Exception";

namespace {
// The persistent form that holds the program-wide hooks, if any.
tadvancedform* hookholder = nullptr;
}  // namespace

tadvancedform::tadvancedform(tcomponent* owner, const tformdesc& description) : tform(owner, description) {
  // The first one (the main window) keeps them for its whole life: a notice
  // window opened and closed later must neither take nor clear them.
  if (hookholder) return;
  hookholder = this;
  Application->OnActivate = [this] { ApplicationActivated(); };
  Application->OnDeactivate = [this] { ApplicationDeactivated(); };
  Application->OnException = [](const std::exception*) {
    // The error's own text means nothing to the user.
    ShowMessage(Application->Handle(), kErrorText, kErrorCaption, MB_OK | MB_ICONINFORMATION);
  };
}

tadvancedform::~tadvancedform() {
  if (hookholder == this) hookholder = nullptr;
}

void tadvancedform::Loaded() {
  tform::Loaded();
  profile_ = std::make_unique<tprofiler>("profile_" + Name());
  SetDefaultPlacement();
  const tplacement stored = ToPixels({profile_->ReadInteger("left", defaultleft), profile_->ReadInteger("top", defaulttop),
                                      profile_->ReadInteger("clientwidth", defaultclientwidth),
                                      profile_->ReadInteger("clientheight", defaultclientheight)});
  SetLeft(stored.left);
  SetTop(stored.top);
  SetClientWidth(stored.clientwidth);
  SetClientHeight(stored.clientheight);
  lockmove_ = profile_->ReadBool("lockmove", false);
  stored_ = stored;
  KeepReachable();
}

tadvancedform::tplacement tadvancedform::CurrentPlacement() const {
  return {Left(), Top(), ClientWidth(), ClientHeight()};
}

tadvancedform::tplacement tadvancedform::ToPixels(const tplacement& p) const {
  return {Scaled(p.left), Scaled(p.top), Scaled(p.clientwidth), Scaled(p.clientheight)};
}

tadvancedform::tplacement tadvancedform::FromPixels(const tplacement& p) const {
  const int dpi = Dpi();
  return {ScaleFromDpi(p.left, dpi), ScaleFromDpi(p.top, dpi), ScaleFromDpi(p.clientwidth, dpi),
          ScaleFromDpi(p.clientheight, dpi)};
}

void tadvancedform::DpiChanged() {
  tform::DpiChanged();
  // The place the system suggests for the new resolution is the one to keep.
  stored_.reset();
}

void tadvancedform::KeepReachable() {
  const tplacement wanted = stored_ ? *stored_ : CurrentPlacement();
  const SIZE frame = FrameExtra();
  const tscreenrect reachable =
      ReachableBounds({wanted.left, wanted.top, wanted.left + wanted.clientwidth + frame.cx,
                       wanted.top + wanted.clientheight + frame.cy},
                      MonitorAreas());
  placing_ = true;
  struct tdone {
    bool& flag;
    ~tdone() { flag = false; }
  } done{placing_};
  const tplacement target{reachable.left, reachable.top, reachable.Width() - frame.cx, reachable.Height() - frame.cy};
  if (!(CurrentPlacement() == target)) SetBounds(reachable.left, reachable.top, reachable.Width(), reachable.Height());
  placed_ = CurrentPlacement();
  if (placed_ == wanted) stored_.reset();
  else stored_ = wanted;
}

void tadvancedform::SetDefaultPlacement() {
  const tplacement p = FromPixels(CurrentPlacement());
  defaultleft = p.left;
  defaulttop = p.top;
  defaultclientwidth = p.clientwidth;
  defaultclientheight = p.clientheight;
}

void tadvancedform::SaveProfile() {
  if (!profile_) return;
  const tplacement placement = FromPixels(stored_ ? *stored_ : CurrentPlacement());
  profile_->WriteInteger("left", placement.left);
  profile_->WriteInteger("top", placement.top);
  profile_->WriteInteger("clientwidth", placement.clientwidth);
  profile_->WriteInteger("clientheight", placement.clientheight);
  profile_->WriteBool("lockmove", lockmove_);
  profile_->Save();
}

void tadvancedform::SaveForSessionEnd() {
  // The steps of destruction: SaveProfile, then the store's own save.
  SaveProfile();
  if (profile_) profile_->Save();
}

void tadvancedform::KeyDown(WORD& key, tshiftstate shift) {
  tform::KeyDown(key, shift);
  if (lockmove_) return;
  const int step = (shift & ssShift) ? 4 : 1;
  int dx = 0, dy = 0;
  switch (key) {
    case VK_LEFT:
      dx = -step;
      break;
    case VK_RIGHT:
      dx = step;
      break;
    case VK_UP:
      dy = -step;
      break;
    case VK_DOWN:
      dy = step;
      break;
    default:
      return;
  }
  int left = Left(), top = Top(), width = Width(), height = Height();
  if (shift & ssCtrl) {
    left += dx;
    top += dy;
  }
  if (shift & ssAlt) {
    width += dx;
    height += dy;
  }
  if (shift & (ssCtrl | ssAlt)) SetBounds(left, top, width, height);
}

void tadvancedform::DoShow() {
  tform::DoShow();
  Application->SetShowMainForm(true);
}

void tadvancedform::DoHide() {
  tform::DoHide();
  Application->SetShowMainForm(false);
}

LRESULT tadvancedform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SYSCOMMAND: {
      const WPARAM command = wp & 0xFFF0;
      if (lockmove_ && (command == SC_SIZE || command == SC_MOVE)) return 0;
      break;
    }
    case WM_GETMINMAXINFO: {
      const LRESULT r = tform::WndProc(msg, wp, lp);
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = kMinimumTrackSize;
      info->ptMinTrackSize.y = kMinimumTrackSize;
      return r;
    }
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) {
        try {
          SaveForSessionEnd();
        } catch (...) {
          // Nobody is left to tell; each file that could be written is.
        }
      }
      return 0;
    case WM_SETTINGCHANGE: {
      const LRESULT r = tform::WndProc(msg, wp, lp);
      if (wp == SPI_SETWORKAREA) KeepReachable();
      SystemSettingsChanged();
      return r;
    }
    case WM_DISPLAYCHANGE: {
      const LRESULT r = tform::WndProc(msg, wp, lp);
      KeepReachable();
      return r;
    }
    case WM_WINDOWPOSCHANGED: {
      const LRESULT r = tform::WndProc(msg, wp, lp);
      // Moved or sized by the user (or the program for the user): that place is the one to keep.
      if (!placing_ && stored_ && !(CurrentPlacement() == placed_)) stored_.reset();
      return r;
    }
  }
  return tform::WndProc(msg, wp, lp);
}

void tadvancedform::BeforeDestruction() {
  // The hooks go with their holder, whoever set them since (the main window
  // sets its own activation hooks).
  if (hookholder == this) {
    Application->OnActivate = nullptr;
    Application->OnDeactivate = nullptr;
    Application->OnException = nullptr;
    hookholder = nullptr;
  }
  try {
    SaveProfile();
  } catch (...) {
    // Nothing can report it here; the profile's destructor tries once more.
  }
  profile_.reset();
  tform::BeforeDestruction();
}

bool tadvancedform::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "lockmove") lockmove_ = ParseBool(v);
  else return tform::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
