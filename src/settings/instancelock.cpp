#include "settings/instancelock.h"

#include "settings/programidentity.h"
#include "settings/widetext.h"

namespace pendo {

bool IsAlreadyRunning() {
  // Only the existence matters; our own copy of the handle is not kept.
  return static_cast<bool>(tkernelhandle(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, Wide(GetProgramBaseName()).c_str())));
}

tkernelhandle CreateInstanceMutex() {
  if (IsAlreadyRunning()) return tkernelhandle();
  return tkernelhandle(CreateMutexW(nullptr, FALSE, Wide(GetProgramBaseName()).c_str()));
}

void ReleaseInstanceMutex(tkernelhandle& mutex) {
  if (!mutex) return;
  ReleaseMutex(mutex.get());
  // The name lives as long as a handle is open: close ours, or a new copy
  // could not start until this process has ended.
  mutex.reset();
}

}  // namespace pendo
