#include "settings/instancelock.h"

#include "settings/programidentity.h"
#include "settings/widetext.h"

namespace pendo {

bool IsAlreadyRunning() {
  HANDLE h = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, Wide(GetProgramBaseName()).c_str());
  if (h == nullptr) return false;
  // Only the existence matters; our own copy of the handle is not kept.
  CloseHandle(h);
  return true;
}

HANDLE CreateInstanceMutex() {
  if (IsAlreadyRunning()) return nullptr;
  return CreateMutexW(nullptr, FALSE, Wide(GetProgramBaseName()).c_str());
}

void ReleaseInstanceMutex(HANDLE mutex) {
  if (mutex == nullptr) return;
  ReleaseMutex(mutex);
  // The name lives as long as a handle is open: close ours, or a new copy
  // could not start until this process has ended.
  CloseHandle(mutex);
}

}  // namespace pendo
