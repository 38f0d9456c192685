#include "installer/registrykey.h"

#include <vector>

#include "installer/scriptformat.h"

namespace pendo {

bool tregistrykey::Open(HKEY root, const std::string& path) {
  Close();
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  key_.reset(key);
  return true;
}

void tregistrykey::Create(HKEY root, const std::string& path) {
  Close();
  HKEY key;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    throw ERegistryError("ｷｰ " + path + " の作成に失敗しました");
  key_.reset(key);
}

void tregistrykey::Close() { key_.reset(); }

std::string tregistrykey::ReadString(const std::string& name) const {
  if (!key_) return std::string();
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  std::vector<char> buf(size + 1, '\0');
  if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
      ERROR_SUCCESS)
    return std::string();
  return std::string(buf.data());
}

void tregistrykey::WriteString(const std::string& name, const std::string& value) const {
  if (!key_ || RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw ERegistryError("'" + name + "' の設定に失敗しました");
}

void tregistrykey::WriteNumber(const std::string& name, unsigned long value) const {
  const DWORD data = value;
  if (!key_ || RegSetValueExA(key_.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) != ERROR_SUCCESS)
    throw ERegistryError("'" + name + "' の設定に失敗しました");
}

bool RegistryKeyExists(HKEY root, const std::string& path) { return tregistrykey().Open(root, path); }

namespace {

void DeleteSubkeys(HKEY root, const std::string& path) {
  std::vector<std::string> children;
  {
    HKEY raw;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    const tregistryhandle key(raw);
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name;
      if (RegEnumKeyExA(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      children.emplace_back(name, len);
    }
  }
  for (const auto& child : children) {
    const std::string sub = path + "\\" + child;
    DeleteSubkeys(root, sub);
    RegDeleteKeyA(root, sub.c_str());
  }
}

}  // namespace

bool DeleteRegistryTree(HKEY root, const std::string& path) {
  // A path ending in a separator would name its parent; a trail byte 0x5C is no separator.
  if (path.empty() || StoredFolder(path) != path) return false;
  DeleteSubkeys(root, path);
  RegDeleteKeyA(root, path.c_str());
  return !RegistryKeyExists(root, path);
}

std::string FileVerbKey(const std::string& extension, const std::string& verb) {
  tregistrykey ext;
  if (!ext.Open(HKEY_CLASSES_ROOT, extension)) return std::string();
  const std::string type = ext.ReadString("");
  if (type.empty()) return std::string();
  const std::string shell = type + "\\shell";
  return RegistryKeyExists(HKEY_CLASSES_ROOT, shell) ? shell + "\\" + verb : std::string();
}

void RegisterFileVerb(const std::string& extension, const std::string& verb, const std::string& command) {
  const std::string key = FileVerbKey(extension, verb);
  if (key.empty()) return;
  tregistrykey command_key;
  command_key.Create(HKEY_CLASSES_ROOT, key + "\\command");
  command_key.WriteString("", command);
}

}  // namespace pendo
