// The process's GDI and USER objects. Wine does not count them for
// GetGuiResources, so there they are found by probing the handle tables.
#pragma once

#include <windows.h>

namespace pendo::test {

DWORD GdiObjects();
DWORD UserObjects();

}  // namespace pendo::test
