// The system's common dialogs as components: the file-open dialog.
#pragma once

#include <windows.h>

#include <string>

#include "framework/component.h"

namespace pendo {

class topendialog : public tcomponent {
 public:
  explicit topendialog(tcomponent* owner);

  // "Description|*.ext|Other|*.a;*.b": pairs of a shown name and its patterns.
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& filter) { filter_ = filter; }
  // 1-based, as the dialog counts; the one chosen last after Execute.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  // The full name of the chosen file; offered as the start when set.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Shows the dialog modally over the active window; true when the user
  // chose a file, which is then in FileName.
  bool Execute();

  // Said instead of taking a chosen name that code page 932 cannot hold.
  static const char kNameNotHeldText[];

  // The filter as the system wants it: every "|" a NUL, ending in two NULs.
  static std::string SystemFilter(const std::string& filter);

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  std::string filter_, fileName_, initialDir_, title_;
  int filterIndex_ = 1;
};

}  // namespace pendo
