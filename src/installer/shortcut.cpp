#include "installer/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "installer/scriptformat.h"
#include "settings/platform.h"

namespace pendo {

namespace {

// Releases a COM interface when it goes out of scope.
template <class I>
struct ComRef {
  I* p = nullptr;
  ~ComRef() {
    if (p) p->Release();
  }
};

struct ComScope {
  bool ok;
  ComScope() : ok(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (ok) CoUninitialize();
  }
};

}  // namespace

bool CreateShortcut(const std::string& target, const std::string& shortcut) {
  std::string path = shortcut;
  if (platform::LowerText(path.size() >= 4 ? path.substr(path.size() - 4) : path) != ".lnk") path += ".lnk";
  ComScope com;
  if (!com.ok) return false;
  ComRef<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link.p))))
    return false;
  if (FAILED(link.p->SetPath(target.c_str()))) return false;
  if (FAILED(link.p->SetWorkingDirectory(StoredFolder(FolderPartOf(target)).c_str()))) return false;
  if (FAILED(link.p->SetDescription(script::kShortcutDescription))) return false;
  ComRef<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return false;
  WCHAR wide[MAX_PATH] = {0};
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH - 1) == 0) return false;
  return SUCCEEDED(file.p->Save(wide, TRUE));
}

std::string ShortcutTarget(const std::string& shortcut) {
  ComScope com;
  if (!com.ok) return std::string();
  ComRef<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link.p))))
    return std::string();
  ComRef<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return std::string();
  WCHAR wide[MAX_PATH] = {0};
  if (MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH - 1) == 0) return std::string();
  if (FAILED(file.p->Load(wide, STGM_READ))) return std::string();
  char target[MAX_PATH] = {0};
  // The stored path: the target may be gone already when a removal asks.
  if (link.p->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return std::string();
  return target;
}

}  // namespace pendo
