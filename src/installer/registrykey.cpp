#include "installer/registrykey.h"

#include <vector>

#include "installer/scriptformat.h"
#include "settings/widetext.h"

namespace pendo {

bool tregistrykey::Open(HKEY root, const std::string& path) {
  Close();
  HKEY key;
  if (RegOpenKeyExW(root, Wide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  key_.reset(key);
  return true;
}

void tregistrykey::Create(HKEY root, const std::string& path) {
  Close();
  HKEY key;
  if (RegCreateKeyExW(root, Wide(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    throw ERegistryError("ｷｰ " + path + " の作成に失敗しました");
  key_.reset(key);
}

void tregistrykey::Close() { key_.reset(); }

std::string tregistrykey::ReadString(const std::string& name) const {
  if (!key_) return std::string();
  const std::wstring wideName = Wide(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
      ERROR_SUCCESS)
    return std::string();
  // A value code page 932 cannot hold would name another file: none at all.
  std::string value;
  return NarrowExact(buf.data(), value) ? value : std::string();
}

void tregistrykey::WriteString(const std::string& name, const std::string& value) const {
  const std::wstring wide = Wide(value);
  if (!key_ || RegSetValueExW(key_.get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                              static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw ERegistryError("'" + name + "' の設定に失敗しました");
}

void tregistrykey::WriteNumber(const std::string& name, unsigned long value) const {
  const DWORD data = value;
  if (!key_ || RegSetValueExW(key_.get(), Wide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) != ERROR_SUCCESS)
    throw ERegistryError("'" + name + "' の設定に失敗しました");
}

bool RegistryKeyExists(HKEY root, const std::string& path) { return tregistrykey().Open(root, path); }

namespace {

// Wide all the way: a subkey whose name code page 932 cannot hold goes too.
void DeleteSubkeys(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> children;
  {
    HKEY raw;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    const tregistryhandle key(raw);
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof name / sizeof name[0];
      if (RegEnumKeyExW(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      children.emplace_back(name, len);
    }
  }
  for (const auto& child : children) {
    const std::wstring sub = path + L"\\" + child;
    DeleteSubkeys(root, sub);
    RegDeleteKeyW(root, sub.c_str());
  }
}

}  // namespace

bool DeleteRegistryTree(HKEY root, const std::string& path) {
  // A path ending in a separator would name its parent; a trail byte 0x5C is no separator.
  if (path.empty() || StoredFolder(path) != path) return false;
  const std::wstring wide = Wide(path);
  DeleteSubkeys(root, wide);
  RegDeleteKeyW(root, wide.c_str());
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
