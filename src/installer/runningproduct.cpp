#include "installer/runningproduct.h"

#include <windows.h>

#include "settings/programidentity.h"
#include "settings/uniquehandle.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

bool LockHeld(const std::string& name) {
  if (tkernelhandle(OpenMutexW(SYNCHRONIZE, FALSE, Wide(name).c_str()))) return true;
  // A lock made by another user exists although we may not open it.
  return GetLastError() == ERROR_ACCESS_DENIED;
}

// A file that is there but cannot be opened the way its replacement or
// deletion needs it (a running program's image, a file held open).
bool FileInUse(const std::string& path) {
  if (OwnFileHandle(CreateFileW(Wide(path).c_str(), GENERIC_WRITE | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)))
    return false;
  const DWORD error = GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

std::string FirstFileInUse(const std::string& prefix, const std::vector<tbinditem>& files) {
  for (const auto& f : files) {
    if (FileInUse(prefix + f.name)) return prefix + f.name;
  }
  return std::string();
}

}  // namespace

std::string FindRunningProduct(const std::string& prefix, const std::vector<tbinditem>& files) {
  for (const auto& name : InstanceLockNames(files)) {
    if (LockHeld(name)) {
      for (const auto& f : files) {
        if (BaseNameOf(f.name) == name && ExtensionOf(f.name) == ".exe") return prefix + f.name;
      }
    }
  }
  // A file held only for a moment (the shell reading a new shortcut's icon,
  // a virus scanner) is no running program.
  constexpr int kLooks = 6;
  for (int look = 1;; ++look) {
    const std::string held = FirstFileInUse(prefix, files);
    if (held.empty() || look == kLooks) return held;
    Sleep(100);
  }
}

}  // namespace pendo
