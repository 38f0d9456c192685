#include "app/versiondialog.h"

#include "app/_versionform.h"
#include "framework/application.h"
#include "framework/resource.h"

namespace pendo {

tversiondialog::tversiondialog(tcomponent* owner) : tcomponent(owner) {}

void tversiondialog::Execute() {
  Tversionform* form = Application->CreateForm<Tversionform>();
  form->applicationnameedit->SetText(applicationTitle_ + " " + versionValue_ + ".");
  form->projectnamelabel->SetCaption("Code Name - " + projectTitle_ + ".");
  form->builddatelabel->SetCaption(buildDateValue_);
  // Closing frees the form.
  form->ShowModal();
}

bool tversiondialog::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "ApplicationTitle") SetApplicationTitle(v);
  else if (n == "ProjectTitle") SetProjectTitle(v);
  else if (n == "VersionValue") SetVersionValue(v);
  else if (n == "BuildDateValue") SetBuildDateValue(v);
  else if (n == "SmallIcon") {
    // The name of a 16 by 16 icon resource.
    ticon icon;
    icon.LoadFromResource(GetModuleHandleW(nullptr), v, 16);
    SetSmallIcon(icon);
  } else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
