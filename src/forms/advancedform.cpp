#include "forms/advancedform.h"

#include "framework/application.h"
#include "framework/windowtext.h"

namespace pendo {

const char tadvancedform::kErrorText[] = "例外が発生しました。発生地点は不明です。";
const char tadvancedform::kErrorCaption[] = "例外 - Exception";

tadvancedform::tadvancedform(tcomponent* owner, const tformdesc& description) : tform(owner, description) {
  // The form constructed last owns the hooks.
  Application->OnActivate = [this] { ApplicationActivated(); };
  Application->OnDeactivate = [this] { ApplicationDeactivated(); };
  Application->OnException = [](const std::exception*) {
    // The error's own text means nothing to the user.
    ShowMessage(Application->Handle(), kErrorText, kErrorCaption, MB_OK | MB_ICONINFORMATION);
  };
}

void tadvancedform::Loaded() {
  tform::Loaded();
  profile_ = std::make_unique<tprofiler>("profile_" + Name());
  SetDefaultPlacement();
  // No value is clamped to the screen: a window left off it comes back off it.
  SetLeft(profile_->ReadInteger("left", defaultleft));
  SetTop(profile_->ReadInteger("top", defaulttop));
  SetClientWidth(profile_->ReadInteger("clientwidth", defaultclientwidth));
  SetClientHeight(profile_->ReadInteger("clientheight", defaultclientheight));
  lockmove_ = profile_->ReadBool("lockmove", false);
}

void tadvancedform::SetDefaultPlacement() {
  defaultleft = Left();
  defaulttop = Top();
  defaultclientwidth = ClientWidth();
  defaultclientheight = ClientHeight();
}

void tadvancedform::SaveProfile() {
  if (!profile_) return;
  profile_->WriteInteger("left", Left());
  profile_->WriteInteger("top", Top());
  profile_->WriteInteger("clientwidth", ClientWidth());
  profile_->WriteInteger("clientheight", ClientHeight());
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
      SystemSettingsChanged();
      return r;
    }
  }
  return tform::WndProc(msg, wp, lp);
}

void tadvancedform::BeforeDestruction() {
  // Whoever installed them: no hook may outlive a persistent form.
  Application->OnActivate = nullptr;
  Application->OnDeactivate = nullptr;
  Application->OnException = nullptr;
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
