#include "installer/shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cwchar>

#include "installer/scriptformat.h"
#include "settings/platform.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

// Releases a COM interface when it goes out of scope.
template <class I>
struct tcomref {
  I* p = nullptr;
  ~tcomref() {
    if (p) p->Release();
  }
};

struct tcomscope {
  bool ok;
  tcomscope() : ok(SUCCEEDED(CoInitialize(nullptr))) {}
  ~tcomscope() {
    if (ok) CoUninitialize();
  }
};

}  // namespace

bool CreateShortcut(const std::string& target, const std::string& shortcut) {
  std::string path = shortcut;
  if (platform::LowerText(path.size() >= 4 ? path.substr(path.size() - 4) : path) != ".lnk") path += ".lnk";
  tcomscope com;
  if (!com.ok) return false;
  tcomref<IShellLinkW> link;
  // The headers' own class and interface numbers: the uuid library's would
  // bring some two thousand others into Mondax with them (35 KB).
  if (FAILED(CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                              reinterpret_cast<void**>(&link.p))))
    return false;
  if (FAILED(link.p->SetPath(Wide(target).c_str()))) return false;
  if (FAILED(link.p->SetWorkingDirectory(Wide(StoredFolder(FolderPartOf(target))).c_str()))) return false;
  if (FAILED(link.p->SetDescription(Wide(script::kShortcutDescription).c_str()))) return false;
  tcomref<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&file.p)))) return false;
  return SUCCEEDED(file.p->Save(Wide(path).c_str(), TRUE));
}

std::string ShortcutTarget(const std::string& shortcut) {
  tcomscope com;
  if (!com.ok) return std::string();
  tcomref<IShellLinkW> link;
  if (FAILED(CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER, __uuidof(IShellLinkW),
                              reinterpret_cast<void**>(&link.p))))
    return std::string();
  tcomref<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(__uuidof(IPersistFile), reinterpret_cast<void**>(&file.p)))) return std::string();
  if (FAILED(file.p->Load(Wide(shortcut).c_str(), STGM_READ))) return std::string();
  wchar_t target[MAX_PATH] = {0};
  // The stored path: the target may be gone already when a removal asks.
  if (link.p->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return std::string();
  // Some shells keep that path only in the system's code page, where
  // Japanese names become '?', which no file name holds; the item list keeps
  // every name whole.
  PIDLIST_ABSOLUTE items = nullptr;
  if (std::wcschr(target, L'?') && SUCCEEDED(link.p->GetIDList(&items)) && items) {
    wchar_t whole[MAX_PATH] = {0};
    if (SHGetPathFromIDListW(items, whole)) std::wcscpy(target, whole);
    CoTaskMemFree(items);
  }
  // A target code page 932 cannot hold is none of ours.
  std::string narrow;
  return NarrowExact(target, narrow) ? narrow : std::string();
}

}  // namespace pendo
