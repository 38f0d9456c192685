// The common controls: tree view, progress bar and status bar.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wincontrol.h"

namespace pendo {

class ttreeview : public twincontrol {
 public:
  explicit ttreeview(tcomponent* owner);
  // Adds an item under parent (null: at the top) and returns it.
  HTREEITEM AddItem(HTREEITEM parent, const std::string& text, LPARAM data = 0);
  void Clear();
  HTREEITEM Selected() const;
  void SetSelected(HTREEITEM item);
  std::string ItemText(HTREEITEM item) const;
  LPARAM ItemData(HTREEITEM item) const;
  int Count() const;
  tnotifyevent OnChange;
  bool Notify(NMHDR* header, LRESULT& result) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
};

class tprogressbar : public twincontrol {
 public:
  explicit tprogressbar(tcomponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const;
  void SetPosition(int position);
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 protected:
  void CreateParams(tcreateparams& p) override;
  void HandleCreated() override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

class tstatusbar : public twincontrol {
 public:
  explicit tstatusbar(tcomponent* owner);
  const std::string& SimpleText() const { return caption_; }
  void SetSimpleText(const std::string& text) { SetCaption(text); }
  std::string DisplayedText() const;

 protected:
  void CreateParams(tcreateparams& p) override;
};

}  // namespace pendo
