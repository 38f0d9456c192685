#include "installer/setuplog.h"

#include <cstdio>

#include "framework/windowtext.h"
#include "settings/widetext.h"

namespace pendo {

bool tsetuplog::Open(const std::string& path) {
  Close();
  // Others may read it while the run goes on.
  file_ = OwnFileHandle(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  return IsOpen();
}

void tsetuplog::Close() { file_.reset(); }

void tsetuplog::Line(const std::string& text) const {
  if (!IsOpen()) return;
  SYSTEMTIME t;
  GetLocalTime(&t);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  // Line breaks inside a message would make one step look like several.
  std::string line = stamp;
  for (const char c : text) {
    if (c != '\r') line += c == '\n' ? ' ' : c;
  }
  line += "\r\n";
  DWORD put = 0;
  WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
}

int SetupMessage(HWND owner, const std::string& text, const char* caption, UINT type, const tsetuplog* log) {
  if (log) log->Line(std::string(caption) + ": " + text);
  const int answer = ShowMessage(owner, text, caption, type);
  if (log && (type & MB_TYPEMASK) != MB_OK)
    log->Line(std::string("→ ") + (answer == IDOK ? "OK" : answer == IDRETRY ? "再試行" : "キャンセル"));
  return answer;
}

}  // namespace pendo
