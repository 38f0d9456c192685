// Pop-up menus built from menu item components: captions with accelerators
// ("&R"), shortcuts shown after a tab and matched against key presses, check
// marks, separators ("-") and submenus. The Win32 menu is built fresh for each
// opening and destroyed afterwards, so it always shows the items' current state.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/handles.h"

namespace pendo {

class tcontrol;

class tmenuitem : public tcomponent {
 public:
  explicit tmenuitem(tcomponent* owner);
  ~tmenuitem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c) { caption_ = c; }
  bool IsSeparator() const { return caption_ == "-"; }
  tshortcut ShortCut() const { return shortcut_; }
  void SetShortCut(tshortcut s) { shortcut_ = s; }
  bool Checked() const { return checked_; }
  void SetChecked(bool c) { checked_ = c; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e) { enabled_ = e; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  UINT Command() const { return command_; }

  tmenuitem* ParentItem() const { return parentItem_; }
  const std::vector<tmenuitem*>& Items() const { return items_; }
  void Add(tmenuitem* item);
  void Remove(tmenuitem* item);

  tnotifyevent OnClick;
  virtual void Click();

  // This item or one below it with the command id, or null.
  tmenuitem* FindCommand(UINT command);
  // The enabled, visible item below this one with the shortcut, or null.
  tmenuitem* FindShortCut(tshortcut shortcut);
  // The Win32 menu of the items below this one.
  tmenuhandle BuildMenu() const;

  void SetParentComponent(tcomponent* parent) override;
  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  std::string caption_;
  tshortcut shortcut_ = 0;
  bool checked_ = false, enabled_ = true, visible_ = true;
  UINT command_;
  tmenuitem* parentItem_ = nullptr;
  std::vector<tmenuitem*> items_;
};

class tpopupmenu : public tcomponent {
 public:
  explicit tpopupmenu(tcomponent* owner);
  ~tpopupmenu() override;

  tmenuitem& Items() { return *items_; }
  // Opens the menu with its top-left corner at the screen point and runs
  // the chosen item's click before returning.
  void Popup(int x, int y);
  // The control the menu was last opened from.
  tcontrol* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(tcontrol* c) { popupComponent_ = c; }
  void Notification(tcomponent* component) override;
  // Runs the item bound to the shortcut; false when there is none.
  bool IsShortCut(tshortcut shortcut);

  tnotifyevent OnPopup;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

 private:
  tmenuitem* items_;
  tcontrol* popupComponent_ = nullptr;
};

}  // namespace pendo
