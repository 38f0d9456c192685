#include "installer/folderoperations.h"

#include <windows.h>

#include <cstring>
#include <deque>

#include "installer/scriptformat.h"

namespace pendo {

namespace {

// Calls visit for every entry of folder\*.* but "." and "..".
template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0) visit(data);
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

bool FolderExists(const std::string& folder) {
  const DWORD a = GetFileAttributesA(StoredFolder(folder).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void ListFolderFiles(const std::string& folder, tpathlist& list) {
  list.clear();
  const std::string base = StoredFolder(folder);
  if (!FolderExists(base)) return;
  ForEachEntry(base, [&](const WIN32_FIND_DATAA& d) {
    if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) list.push_back(base + "\\" + d.cFileName);
  });
}

void ListSubfolders(const std::string& folder, tpathlist& list) {
  list.clear();
  constexpr DWORD kJudged = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT;
  std::deque<std::string> work{StoredFolder(folder)};
  while (!work.empty()) {
    const std::string item = work.front();
    work.pop_front();
    if (!FolderExists(item)) continue;
    ForEachEntry(item, [&](const WIN32_FIND_DATAA& d) {
      if ((d.dwFileAttributes & kJudged) != FILE_ATTRIBUTE_DIRECTORY) return;
      const std::string path = item + "\\" + d.cFileName;
      work.push_back(path);
      list.push_back(path);
    });
  }
}

void DeleteFolderFiles(const std::string& folder,
                       const std::function<void(const std::string& path, unsigned long error)>& each) {
  tpathlist files;
  ListFolderFiles(folder, files);
  for (const auto& f : files) {
    const bool gone = DeleteFileA(f.c_str()) != FALSE;
    if (each) each(f, gone ? 0 : GetLastError());
  }
}

void CreateFolderPath(const std::string& folder) {
  const std::string path = StoredFolder(folder);
  if (path.size() <= 2 || FolderExists(path)) return;
  const std::string parent = StoredFolder(FolderPartOf(path));
  if (!parent.empty() && parent != path) CreateFolderPath(parent);
  CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace pendo
