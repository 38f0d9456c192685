// A registry key owned for its lifetime, with the installer's error texts.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "settings/uniquehandle.h"

namespace pendo {

class ERegistryError : public std::runtime_error {
 public:
  explicit ERegistryError(const std::string& what) : std::runtime_error(what) {}
};

class tregistrykey {
 public:

  // Opens root\path for reading; false when it does not exist.
  bool Open(HKEY root, const std::string& path);
  // Opens root\path, creating what is missing; throws "ｷｰ <path> の作成に失敗しました".
  void Create(HKEY root, const std::string& path);
  void Close();
  // Takes over a key opened elsewhere (another registry view, say).
  void Adopt(HKEY key) { key_.reset(key); }
  bool IsOpen() const { return static_cast<bool>(key_); }

  // The string value, or empty text when it is missing.
  std::string ReadString(const std::string& name) const;
  // Throws "'<name>' の設定に失敗しました" when the value cannot be written.
  void WriteString(const std::string& name, const std::string& value) const;
  // A DWORD value; throws as WriteString.
  void WriteNumber(const std::string& name, unsigned long value) const;

 private:
  tregistryhandle key_;
};

bool RegistryKeyExists(HKEY root, const std::string& path);
// Deletes root\path with all its subkeys; false when it is still there.
// An empty path (the root itself) or one ending in '\' is refused.
bool DeleteRegistryTree(HKEY root, const std::string& path);

// The key "<file type>\shell\<verb>" beneath HKEY_CLASSES_ROOT for the file
// type that extension names; empty when that type or its "shell" key is missing.
std::string FileVerbKey(const std::string& extension, const std::string& verb);

// Adds verb with command beneath the "shell" key of the file type that
// extension names, only when that file type and its "shell" key exist.
void RegisterFileVerb(const std::string& extension, const std::string& verb, const std::string& command);

}  // namespace pendo
