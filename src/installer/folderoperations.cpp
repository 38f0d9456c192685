#include "installer/folderoperations.h"

#include <windows.h>

#include <cwchar>
#include <deque>

#include "installer/scriptformat.h"
#include "settings/widetext.h"
#include "settings/uniquehandle.h"

namespace pendo {

namespace {

// Calls visit(name, attributes) for every entry of folder\*.* but "." and
// "..". A name code page 932 cannot hold could not be named again: it is
// left alone, so the folder stays and says so when it is removed.
template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  const tfindhandle find = OwnFindHandle(FindFirstFileW(Wide(folder + "\\*.*").c_str(), &data));
  if (!find) return;
  do {
    std::string name;
    if (std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0 &&
        NarrowExact(data.cFileName, name))
      visit(name, data.dwFileAttributes);
  } while (FindNextFileW(find.get(), &data));
}

}  // namespace

bool FolderExists(const std::string& folder) {
  const DWORD a = GetFileAttributesW(Wide(StoredFolder(folder)).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void ListFolderFiles(const std::string& folder, tpathlist& list) {
  list.clear();
  const std::string base = StoredFolder(folder);
  if (!FolderExists(base)) return;
  ForEachEntry(base, [&](const std::string& name, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) list.push_back(base + "\\" + name);
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
    ForEachEntry(item, [&](const std::string& name, DWORD attributes) {
      if ((attributes & kJudged) != FILE_ATTRIBUTE_DIRECTORY) return;
      const std::string path = item + "\\" + name;
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
    const bool gone = DeleteFileW(Wide(f).c_str()) != FALSE;
    if (each) each(f, gone ? 0 : GetLastError());
  }
}

void CreateFolderPath(const std::string& folder) {
  const std::string path = StoredFolder(folder);
  if (path.size() <= 2 || FolderExists(path)) return;
  const std::string parent = StoredFolder(FolderPartOf(path));
  if (!parent.empty() && parent != path) CreateFolderPath(parent);
  CreateDirectoryW(Wide(path).c_str(), nullptr);
}

}  // namespace pendo
