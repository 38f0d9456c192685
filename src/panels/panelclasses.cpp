#include "panels/panelclasses.h"

#include "framework/resource.h"
#include "panels/datepanel.h"

namespace pendo {

void RegisterPanelClasses() {
  tresourcecontext::RegisterClass<tgaugepanel>("tgaugepanel");
  tresourcecontext::RegisterClass<tgraphicalgaugepanel>("tgraphicalgaugepanel");
  tresourcecontext::RegisterClass<tdatepanel>("tdatepanel");
}

}  // namespace pendo
