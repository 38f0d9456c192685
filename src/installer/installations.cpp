#include "installer/installations.h"

#include <windows.h>

#include "installer/folderfitness.h"
#include "installer/registrykey.h"
#include "installer/scriptfile.h"
#include "installer/scriptformat.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

std::string EntryFolder(const tregistrykey& key) {
  const std::string script = UninstallScriptOf(key.ReadString(script::kUninstallString));
  const std::string folder = script.empty() ? key.ReadString(script::kInstallLocation) : FolderPartOf(script);
  return folder.empty() ? std::string() : StoredFolder(CanonicalFolder(folder));
}

// Calls visit(product, folder) for every uninstall entry of one registry view.
template <class Visit>
void ForEachEntry(REGSAM view, Visit visit) {
  HKEY raw;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(StoredFolder(script::kUninstallKey)).c_str(), 0, KEY_READ | view, &raw) !=
      ERROR_SUCCESS)
    return;
  const tregistryhandle uninstall(raw);
  wchar_t child[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = sizeof child / sizeof child[0];
    if (RegEnumKeyExW(uninstall.get(), i, child, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY sub;
    if (RegOpenKeyExW(uninstall.get(), child, 0, KEY_READ | view, &sub) != ERROR_SUCCESS) continue;
    tregistrykey key;
    key.Adopt(sub);
    visit(Narrow(std::wstring(child, len)), EntryFolder(key));
  }
}

bool SaysWhere(const std::string& folder, const tprotectedfolders& protectedFolders) {
  if (folder.empty() || CheckFolderName(folder) != tfolderverdict::Fit) return false;
  for (const auto& p : protectedFolders.folders) {
    if (IsSameFolder(folder, p)) return false;
  }
  return true;
}

}  // namespace

std::string EntryFolderOf(const std::string& product) {
  tregistrykey key;
  return key.Open(HKEY_LOCAL_MACHINE, script::kUninstallKey + product) ? EntryFolder(key) : std::string();
}

std::string RegisteredFolderOf(const std::string& product) {
  const std::string folder =
      ScriptFile(GetWindowsFolder() + script::kRegister).ReadString(product, script::kInstallationDirectory, "");
  return folder.empty() ? std::string() : StoredFolder(CanonicalFolder(folder));
}

std::vector<std::pair<std::string, std::string>> KnownInstallations() {
  const tprotectedfolders protectedFolders = GetCanonicalProtectedFolders();
  std::vector<std::pair<std::string, std::string>> found;
  auto add = [&](const std::string& product, const std::string& folder) {
    if (!SaysWhere(folder, protectedFolders)) return;
    for (const auto& f : found) {
      if (f.first == product && IsSameFolder(f.second, folder)) return;
    }
    found.emplace_back(product, folder);
  };
  // Not the register: a removal leaves its section, which then names a
  // folder no product is in.
  for (const REGSAM view : {REGSAM{KEY_WOW64_64KEY}, REGSAM{KEY_WOW64_32KEY}}) ForEachEntry(view, add);
  return found;
}

}  // namespace pendo
