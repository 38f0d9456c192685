// One running copy per executable name: a named mutex called after the
// lower-cased base name, tested for existence and never waited on.
#pragma once

#include <windows.h>

namespace pendo {

bool IsAlreadyRunning();
// The lock's handle, or nullptr when another instance holds it.
HANDLE CreateInstanceMutex();
// Releases and closes the lock, so that a new copy may start at once.
void ReleaseInstanceMutex(HANDLE mutex);

}  // namespace pendo
