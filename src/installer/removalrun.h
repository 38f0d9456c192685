// One removal of an installed product, from its uninstall script: every file
// and folder below the installation folder, the per-user key, the Start-menu
// shortcuts and the uninstall entry.
#pragma once

#include <functional>
#include <string>

namespace pendo {

class tremovalrun {
 public:
  enum class tbar { Files, Shortcuts, Information };
  enum class tresult {
    Done,
    FolderUnfit,  // a root, a system folder or no "mondax.uix": nothing removed
  };

  // folder: the installation folder, with or without its trailing '\'.
  explicit tremovalrun(std::string folder) : folder_(std::move(folder)) {}

  tresult Run();

  std::function<void(tbar bar, int position, int max)> OnProgress;

 private:
  void Progress(tbar bar, int position, int max);

  std::string folder_;
};

}  // namespace pendo
