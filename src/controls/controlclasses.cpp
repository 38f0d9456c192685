#include "controls/controlclasses.h"

#include "controls/colordialogex.h"
#include "controls/colorpalettebutton.h"
#include "controls/simpletreeview.h"
#include "framework/resource.h"

namespace pendo {

void RegisterControlClasses() {
  tresourcecontext::RegisterClass<tsimpletreeview>("tsimpletreeview");
  tresourcecontext::RegisterClass<tcolorpalettebutton>("tcolorpalettebutton");
  tresourcecontext::RegisterClass<tcolordialogex>("tcolordialogex");
}

}  // namespace pendo
