#include "framework/frameworkclasses.h"

#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/fontdialog.h"
#include "framework/menus.h"
#include "framework/resource.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"

namespace pendo {

void RegisterFrameworkClasses() {
  tresourcecontext::RegisterClass<tlabel>("tlabel");
  tresourcecontext::RegisterClass<tbutton>("tbutton");
  tresourcecontext::RegisterClass<tedit>("tedit");
  tresourcecontext::RegisterClass<tcombobox>("tcombobox");
  tresourcecontext::RegisterClass<tcheckbox>("tcheckbox");
  tresourcecontext::RegisterClass<ttreeview>("ttreeview");
  tresourcecontext::RegisterClass<timagelist>("timagelist");
  tresourcecontext::RegisterClass<topendialog>("topendialog");
  tresourcecontext::RegisterClass<tprogressbar>("tprogressbar");
  tresourcecontext::RegisterClass<tstatusbar>("tstatusbar");
  tresourcecontext::RegisterClass<tnotebook>("tnotebook");
  tresourcecontext::RegisterClass<tpage>("tpage");
  tresourcecontext::RegisterClass<tbevel>("tbevel");
  tresourcecontext::RegisterClass<timage>("timage");
  tresourcecontext::RegisterClass<ttimer>("ttimer");
  tresourcecontext::RegisterClass<tpopupmenu>("tpopupmenu");
  tresourcecontext::RegisterClass<tmenuitem>("tmenuitem");
  tresourcecontext::RegisterClass<tfontdialog>("tfontdialog");
}

}  // namespace pendo
