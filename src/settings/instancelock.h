// One running copy per executable name: a named mutex called after the
// lower-cased base name, tested for existence and never waited on.
#pragma once

#include <windows.h>

#include "settings/uniquehandle.h"

namespace pendo {

bool IsAlreadyRunning();
// The lock, or an empty handle when another instance holds it.
tkernelhandle CreateInstanceMutex();
// Releases and closes the lock, so that a new copy may start at once.
void ReleaseInstanceMutex(tkernelhandle& mutex);

}  // namespace pendo
