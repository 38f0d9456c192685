#include "controls/colordialogex.h"

#include <windows.h>
#include <commdlg.h>

#include <stdexcept>

#include "framework/application.h"
#include "framework/commondialog.h"
#include "framework/resource.h"
#include "framework/types.h"
#include "settings/platform.h"
#include "settings/profiler.h"
#include "settings/safefiles.h"

namespace pendo {

tcolordialogex::tcolordialogex(tcomponent* owner) : tcomponent(owner) {}

tcolordialogex::~tcolordialogex() {
  if (unreadable_) return;
  try {
    platform::WriteFileAtomically(FilePath(), list_.SaveToBytes());
  } catch (...) {
  }
}

std::string tcolordialogex::FilePath() const { return tprofiler::ProfileFolder() + "customcolors_" + Name(); }

void tcolordialogex::Loaded() {
  platform::CreateFolderTree(tprofiler::ProfileFolder());
  std::string bytes;
  const tfileread read = ReadFilePatiently(FilePath(), bytes);
  unreadable_ = read == tfileread::Unreadable;
  if (read == tfileread::Read) list_.LoadFromBytes(bytes);
}

bool tcolordialogex::Execute() {
  std::vector<int> broken;
  tcustomcolorlist::tslots slots = list_.Slots(&broken);
  if (!broken.empty() && !brokenReported_) {
    // A bad line must not cost the user the dialog or the other colours: it
    // is reported once and shown empty; only a confirmed choice replaces it.
    brokenReported_ = true;
    std::string names;
    for (int slot : broken) names += " " + tcustomcolorlist::SlotName(slot);
    const std::runtime_error error(FilePath() + ": not a colour:" + names);
    if (Application) Application->HandleException(&error);
  }
  COLORREF custom[tcustomcolorlist::kSlots];
  for (int i = 0; i < tcustomcolorlist::kSlots; ++i) custom[i] = slots[i];
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = GetActiveWindow();
  if (!cc.hwndOwner && Application) cc.hwndOwner = Application->Handle();
  cc.rgbResult = ColorToRGB(color_);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  if (!RunCommonDialog("ChooseColorW", cc, "colour")) return false;
  color_ = static_cast<tcolor>(cc.rgbResult);
  for (int i = 0; i < tcustomcolorlist::kSlots; ++i) slots[i] = custom[i];
  list_.SetSlots(slots);
  return true;
}

bool tcolordialogex::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Color") color_ = ParseColor(v);
  else if (n == "Ctl3D") ctl3D_ = ParseBool(v);
  else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
