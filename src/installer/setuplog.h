// The log of one run of Mondax: one line per step, each written to the file
// at once, so that a run that is killed leaves its log up to its last step.
#pragma once

#include <windows.h>

#include <string>

#include "settings/uniquehandle.h"

namespace pendo {

class tsetuplog {
 public:
  tsetuplog() = default;
  ~tsetuplog() { Close(); }
  tsetuplog(const tsetuplog&) = delete;
  tsetuplog& operator=(const tsetuplog&) = delete;

  // Starts the file anew; false when it cannot be written.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return static_cast<bool>(file_); }
  // The local time and text (code page 932) as one line; nothing when closed.
  void Line(const std::string& text) const;

 private:
  tkernelhandle file_;
};

// Every message box of Mondax. With a log, the log hears "caption: text"
// first and, when there was a choice, the answer after it.
int SetupMessage(HWND owner, const std::string& text, const char* caption, UINT type, const tsetuplog* log);

}  // namespace pendo
