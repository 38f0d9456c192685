#include "app/pendoclasses.h"

#include "app/versiondialog.h"
#include "bitmap/bitmapexclasses.h"
#include "controls/controlclasses.h"
#include "framework/frameworkclasses.h"
#include "framework/resource.h"
#include "panels/panelclasses.h"

namespace pendo {

void RegisterPendoClasses() {
  RegisterFrameworkClasses();
  RegisterBitmapExClasses();
  RegisterPanelClasses();
  RegisterControlClasses();
  tresourcecontext::RegisterClass<tversiondialog>("tversiondialog");
}

}  // namespace pendo
