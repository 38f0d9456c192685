// What the installation and the removal tell whoever drives them: the three
// bars of their page, each step for the log, and moments for the window to
// repaint. The wizards show all of it; the run without a window only logs.
#pragma once

#include <functional>
#include <string>

namespace pendo {

class tsetupprogress {
 public:
  // Files copied or removed, environment (verbs, shortcuts), the information
  // that lets the product be removed.
  enum class tbar { Files, Shortcuts, Information };

  std::function<void(tbar bar, int position, int max)> OnProgress;
  // Called after every file, verb and shortcut so the window can repaint.
  std::function<void()> OnYield;
  std::function<void(const std::string& line)> OnLog;

 protected:
  void Progress(tbar bar, int position, int max) const {
    if (OnProgress) OnProgress(bar, position, max);
  }
  void LetWindowWork() const {
    if (OnYield) OnYield();
  }
  void Log(const std::string& line) const {
    if (OnLog) OnLog(line);
  }
};

}  // namespace pendo
