#include "framework/menus.h"

#include <algorithm>
#include <stdexcept>

#include "framework/application.h"
#include "framework/control.h"
#include "framework/resource.h"
#include "settings/widetext.h"

namespace pendo {

namespace {
UINT NextCommand() {
  // Menu command ids are 16 bits; 0 means "nothing chosen".
  static UINT next = 0;
  next = next % 0xFFF0 + 1;
  return next;
}
}  // namespace

tmenuitem::tmenuitem(tcomponent* owner) : tcomponent(owner), command_(NextCommand()) {}

tmenuitem::~tmenuitem() {
  for (tmenuitem* i : items_) i->parentItem_ = nullptr;
  if (parentItem_) parentItem_->Remove(this);
}

void tmenuitem::Add(tmenuitem* item) {
  if (item->parentItem_) item->parentItem_->Remove(item);
  item->parentItem_ = this;
  items_.push_back(item);
}

void tmenuitem::Remove(tmenuitem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  if (item->parentItem_ == this) item->parentItem_ = nullptr;
}

void tmenuitem::Click() {
  if (enabled_ && OnClick) OnClick(this);
}

tmenuitem* tmenuitem::FindCommand(UINT command) {
  if (command == command_) return this;
  for (tmenuitem* i : items_)
    if (tmenuitem* found = i->FindCommand(command)) return found;
  return nullptr;
}

tmenuitem* tmenuitem::FindShortCut(tshortcut shortcut) {
  if (!shortcut) return nullptr;
  for (tmenuitem* i : items_) {
    if (!i->visible_ || !i->enabled_) continue;
    if (i->shortcut_ == shortcut && i->items_.empty()) return i;
    if (tmenuitem* found = i->FindShortCut(shortcut)) return found;
  }
  return nullptr;
}

tmenuhandle tmenuitem::BuildMenu() const {
  tmenuhandle menu(CreatePopupMenu());
  if (!menu) throw std::runtime_error("cannot create a menu");
  for (const tmenuitem* i : items_) {
    if (!i->visible_) continue;
    if (i->IsSeparator()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string text = i->caption_;
    if (i->shortcut_) text += "\t" + ShortCutToText(i->shortcut_);
    UINT flags = MF_STRING | (i->checked_ ? MF_CHECKED : 0) | (i->enabled_ ? 0 : MF_GRAYED);
    if (!i->items_.empty()) {
      tmenuhandle sub = i->BuildMenu();
      // The parent menu owns the submenu from here on.
      if (!AppendMenuW(menu.get(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), Wide(text).c_str()))
        throw std::runtime_error("cannot build a menu");
      sub.release();
    } else if (!AppendMenuW(menu.get(), flags, i->command_, Wide(text).c_str())) {
      throw std::runtime_error("cannot build a menu");
    }
  }
  return menu;
}

void tmenuitem::SetParentComponent(tcomponent* parent) {
  if (auto* item = dynamic_cast<tmenuitem*>(parent)) {
    item->Add(this);
  } else if (auto* menu = dynamic_cast<tpopupmenu*>(parent)) {
    menu->Items().Add(this);
  }
}

bool tmenuitem::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Caption") SetCaption(v);
  else if (n == "ShortCut") SetShortCut(ParseShortCut(v));
  else if (n == "Checked") SetChecked(ParseBool(v));
  else if (n == "Enabled") SetEnabled(ParseBool(v));
  else if (n == "Visible") SetVisible(ParseBool(v));
  else if (n == "OnClick") OnClick = ctx.Handler<tnotifyevent>();
  else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

tpopupmenu::tpopupmenu(tcomponent* owner) : tcomponent(owner), items_(new tmenuitem(nullptr)) {}

tpopupmenu::~tpopupmenu() { items_->Free(); }

void tpopupmenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  tmenuhandle menu = items_->BuildMenu();
  HWND owner = Application ? Application->Handle() : nullptr;
  // The owner must be in front, or the menu does not close when the user clicks elsewhere.
  if (owner) SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner,
      nullptr));
  if (owner) PostMessageW(owner, WM_NULL, 0, 0);
  menu.reset();
  if (command)
    if (tmenuitem* item = items_->FindCommand(command)) item->Click();
}

bool tpopupmenu::IsShortCut(tshortcut shortcut) {
  tmenuitem* item = items_->FindShortCut(shortcut);
  if (!item) return false;
  item->Click();
  return true;
}

bool tpopupmenu::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "OnPopup") OnPopup = ctx.Handler<tnotifyevent>();
  else if (n == "AutoPopup") {
  } else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

void tpopupmenu::Notification(tcomponent* component) {
  if (component == popupComponent_) popupComponent_ = nullptr;
}

}  // namespace pendo
