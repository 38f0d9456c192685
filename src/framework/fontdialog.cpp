#include "framework/fontdialog.h"

#include <windows.h>
#include <commdlg.h>


#include "framework/application.h"
#include "framework/commondialog.h"
#include "framework/resource.h"

namespace pendo {

tfontdialog::tfontdialog(tcomponent* owner) : tcomponent(owner) {}

bool tfontdialog::Execute() {
  LOGFONTW lf = font_.LogFont();
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = GetActiveWindow();
  if (!cf.hwndOwner && Application) cf.hwndOwner = Application->Handle();
  cf.lpLogFont = &lf;
  cf.rgbColors = ColorToRGB(font_.Color());
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | (ansiOnly_ ? CF_ANSIONLY : 0);
  if (!RunCommonDialog("ChooseFontW", cf, "font")) return false;
  font_.AssignLogFont(lf);
  font_.SetColor(static_cast<tcolor>(cf.rgbColors));
  return true;
}

bool tfontdialog::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Options") {
    if (v != "fdAnsiOnly" && !v.empty()) throw std::invalid_argument("unknown font dialog options " + v);
    ansiOnly_ = v == "fdAnsiOnly";
  } else if (font_.SetProperty(n, v)) {
  } else {
    return tcomponent::SetProperty(n, v, ctx);
  }
  return true;
}

}  // namespace pendo
