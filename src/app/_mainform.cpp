#include "app/_mainform.h"

namespace pendo {

namespace {
// Where the clock sits the first time: left, top, client width and height.
const FormPlacement kDesign{40, 114, 117, 32};
}  // namespace

Tmainform::Tmainform() : tform("Tmainform", "mainform", kDesign, WS_POPUP, WS_EX_TOOLWINDOW) {}

Tmainform::~Tmainform() {
  try {
    SaveProfile();
  } catch (...) {
    // The destructor cannot report it; the profile's own destructor tries once more.
  }
}

void Tmainform::Loaded() {
  profile_ = std::make_unique<tprofiler>("profile_" + Name());
  defaults_ = kDesign;
  // No value is clamped to the screen: a window left off it comes back off it.
  SetLeft(profile_->ReadInteger("left", defaults_.left));
  SetTop(profile_->ReadInteger("top", defaults_.top));
  SetClientWidth(profile_->ReadInteger("clientwidth", defaults_.clientWidth));
  SetClientHeight(profile_->ReadInteger("clientheight", defaults_.clientHeight));
  lockmove = profile_->ReadBool("lockmove", false);
}

void Tmainform::SaveProfile() {
  if (!profile_) return;
  profile_->WriteInteger("left", Left());
  profile_->WriteInteger("top", Top());
  profile_->WriteInteger("clientwidth", ClientWidth());
  profile_->WriteInteger("clientheight", ClientHeight());
  profile_->WriteBool("lockmove", lockmove);
  profile_->Save();
}

void Tmainform::ShowAtStartup() {
  Show();
  UpdateWindow(Handle());
}

LRESULT Tmainform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCloseMessage) {
    Close();
    return 0;
  }
  return tform::WndProc(msg, wp, lp);
}

}  // namespace pendo
