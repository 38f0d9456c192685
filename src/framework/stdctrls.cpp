#include "framework/stdctrls.h"

#include <algorithm>
#include <cctype>

#include "framework/application.h"
#include "framework/form.h"
#include "framework/windowtext.h"
#include "settings/platform.h"

namespace pendo {

namespace {
void Standard(tcreateparams& p, const char* cls) {
  p.windowClass = cls;
  p.standardClass = true;
}
}  // namespace

std::vector<std::string> SplitBarList(const std::string& text) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  std::string item;
  for (size_t i = 0; i < text.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      item += text[i];
      item += text[++i];
    } else if (text[i] == '|') {
      items.push_back(item);
      item.clear();
    } else {
      item += text[i];
    }
  }
  items.push_back(item);
  return items;
}

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i < caption.size(); ++i) {
    const auto c = static_cast<BYTE>(caption[i]);
    if (platform::IsLeadByte(c)) {
      ++i;
    } else if (c == '&' && i + 1 < caption.size()) {
      const auto next = static_cast<BYTE>(caption[i + 1]);
      if (next == '&') {
        ++i;
      } else if (!platform::IsLeadByte(next)) {
        return static_cast<char>(std::toupper(next));
      }
    }
  }
  return 0;
}

bool DialogChar(tcomponent* form, char key) {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  if (!wanted) return false;
  for (tcomponent* c : form->Components()) {
    auto* w = dynamic_cast<twincontrol*>(c);
    if (!w || AcceleratorOf(w->Caption()) != wanted) continue;
    if (auto* label = dynamic_cast<tlabel*>(w)) {
      // A label may be hidden on purpose only to give its control a key:
      // what counts is whether that control can take the focus.
      twincontrol* target = label->FocusControl();
      if (!label->ShowAccelChar() || !target || !target->Showing() || !target->Enabled()) continue;
      target->SetFocus();
      return true;
    }
    if (!w->Showing() || !w->Enabled()) continue;
    if (auto* check = dynamic_cast<tcheckbox*>(w)) {
      check->SetFocus();
      check->SetChecked(!check->Checked());
      check->Click();
      return true;
    }
    if (auto* button = dynamic_cast<tbutton*>(w)) {
      button->SetFocus();
      button->Click();
      return true;
    }
  }
  return false;
}

// Label ---------------------------------------------------------------------

tlabel::tlabel(tcomponent* owner) : twincontrol(owner) { width_ = 65, height_ = 13; }

void tlabel::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  Standard(p, "STATIC");
  p.style |= SS_LEFT | (showAccelChar_ ? 0 : SS_NOPREFIX);
}

void tlabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  StyleChanged();
  Fit();
}

void tlabel::SetAutoSize(bool v) {
  autoSize_ = v;
  Fit();
}

void tlabel::Fit() {
  if (!autoSize_ || !handle_) return;
  twindowdc dc(handle_);
  tselection font(dc.get(), font_.Handle());
  RECT r{0, 0, 0, 0};
  const std::wstring caption = Wide(caption_);
  DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | (showAccelChar_ ? 0 : DT_NOPREFIX));
  SetBounds(left_, top_, r.right, r.bottom);
}

void tlabel::Notification(tcomponent* component) {
  twincontrol::Notification(component);
  if (component == focusControl_) focusControl_ = nullptr;
}

void tlabel::CaptionChanged() {
  twincontrol::CaptionChanged();
  Fit();
}

void tlabel::FontChanged() {
  twincontrol::FontChanged();
  Fit();
}

bool tlabel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "AutoSize") SetAutoSize(ParseBool(v));
  else if (n == "ShowAccelChar") SetShowAccelChar(ParseBool(v));
  else if (n == "FocusControl") {
    ctx.Fixup([this, v, &ctx] {
      auto* target = dynamic_cast<twincontrol*>(ctx.FindComponent(v));
      if (!target) throw std::logic_error(v + " cannot take the focus");
      SetFocusControl(target);
    });
  } else if (n == "Transparent") {
  } else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Button --------------------------------------------------------------------

tbutton::tbutton(tcomponent* owner) : twincontrol(owner) {
  width_ = 75, height_ = 25;
  SetTabStop(true);
}

void tbutton::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  Standard(p, "BUTTON");
  p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void tbutton::SetDefault(bool v) {
  default_ = v;
  if (handle_) SendMessageW(handle_, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void tbutton::Click() {
  twincontrol::Click();
  if (modalResult_ != mrNone)
    if (tform* form = tform::ParentForm(this)) form->SetModalResult(modalResult_);
}

bool tbutton::Command(WORD code) {
  if (code != BN_CLICKED) return false;
  Click();
  return true;
}

bool tbutton::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Default") SetDefault(ParseBool(v));
  else if (n == "Cancel") SetCancel(ParseBool(v));
  else if (n == "ModalResult") {
    if (v == "mrOk") modalResult_ = mrOk;
    else if (v == "mrCancel") modalResult_ = mrCancel;
    else if (v == "mrYes") modalResult_ = mrYes;
    else if (v == "mrNo") modalResult_ = mrNo;
    else if (v == "mrNone") modalResult_ = mrNone;
    else modalResult_ = ParseInt(v);
  } else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Edit ----------------------------------------------------------------------

tedit::tedit(tcomponent* owner) : twincontrol(owner) {
  width_ = 121, height_ = 21;
  color_ = clWindow;
  SetTabStop(true);
}

void tedit::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  Standard(p, "EDIT");
  p.style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  p.exStyle |= WS_EX_CLIENTEDGE;
}

std::string tedit::Text() const {
  if (!handle_) return caption_;
  return GetText(handle_);
}

void tedit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (handle_) SendMessageW(handle_, EM_SETREADONLY, v, 0);
}

const char tedit::kTextNotHeldText[] =
    "入力された文字には、このプログラムで扱えない文字が含まれています。\n"
    "その文字を使わずに入力してください。";

bool tedit::Command(WORD code) {
  if (code != EN_CHANGE) return false;
  if (refusing_) return true;
  std::string text;
  if (!handle_) {
    text = caption_;
  } else if (!GetTextExact(handle_, text)) {
    if (exactText_) {
      RefuseChange();
      return true;
    }
    text = GetText(handle_);
  }
  caption_ = text;
  if (OnChange) OnChange(this);
  return true;
}

void tedit::RefuseChange() {
  // The caret goes back to where the change began.
  const int changedLength = GetWindowTextLengthW(handle_);
  DWORD caret = 0;
  SendMessageW(handle_, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  refusing_ = true;
  pendo::SetText(handle_, caption_);
  refusing_ = false;
  const int length = GetWindowTextLengthW(handle_);
  const int at = std::max(0, std::min(length, static_cast<int>(caret) - (changedLength - length)));
  SendMessageW(handle_, EM_SETSEL, static_cast<WPARAM>(at), static_cast<LPARAM>(at));
  ShowMessage(GetAncestor(handle_, GA_ROOT), kTextNotHeldText, Application ? Application->Title() : std::string(),
              MB_OK | MB_ICONWARNING);
}

bool tedit::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "ReadOnly") SetReadOnly(ParseBool(v));
  else if (n == "ExactText") SetExactText(ParseBool(v));
  else if (n == "OnChange") OnChange = ctx.Handler<tnotifyevent>();
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Drop-down list ------------------------------------------------------------

tcombobox::tcombobox(tcomponent* owner) : twincontrol(owner) {
  width_ = 145, height_ = 21;
  color_ = clWindow;
  SetTabStop(true);
}

void tcombobox::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  Standard(p, "COMBOBOX");
  p.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
  p.height = 200;  // the height of the opened list
}

void tcombobox::HandleCreated() {
  for (const auto& i : items_) SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(i).c_str()));
  SendMessageW(handle_, CB_SETCURSEL, itemIndex_, 0);
}

void tcombobox::AdjustDropDown() {
  // The dropped list takes the height the combo box's window was given.
  int lines = static_cast<int>(items_.size());
  if (lines > dropDownCount_) lines = dropDownCount_;
  if (lines < 1) lines = 1;
  const int item = static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, 0, 0));
  RECT r;
  GetWindowRect(handle_, &r);
  SetWindowPos(handle_, nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + item * lines + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void tcombobox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  itemIndex_ = -1;
  if (handle_) {
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    HandleCreated();
  }
}

void tcombobox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (handle_) SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

int tcombobox::ItemIndex() const {
  return handle_ ? static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void tcombobox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  itemIndex_ = index;
  if (handle_) SendMessageW(handle_, CB_SETCURSEL, index, 0);
}

bool tcombobox::Command(WORD code) {
  if (code == CBN_DROPDOWN) {
    AdjustDropDown();
    return true;
  }
  if (code != CBN_SELCHANGE) return false;
  itemIndex_ = ItemIndex();
  if (OnChange) OnChange(this);
  return true;
}

bool tcombobox::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Items") {
    SetItems(SplitBarList(v));
  } else if (n == "ItemIndex") SetItemIndex(ParseInt(v));
  else if (n == "DropDownCount") SetDropDownCount(ParseInt(v));
  else if (n == "Style") {
  } else if (n == "OnChange") OnChange = ctx.Handler<tnotifyevent>();
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Check box -----------------------------------------------------------------

tcheckbox::tcheckbox(tcomponent* owner) : twincontrol(owner) {
  width_ = 97, height_ = 17;
  SetTabStop(true);
}

void tcheckbox::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  Standard(p, "BUTTON");
  p.style |= BS_AUTOCHECKBOX;
}

bool tcheckbox::Checked() const {
  return handle_ ? SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void tcheckbox::SetChecked(bool v) {
  checked_ = v;
  if (handle_) SendMessageW(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool tcheckbox::Command(WORD code) {
  if (code != BN_CLICKED) return false;
  checked_ = Checked();
  Click();
  return true;
}

bool tcheckbox::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Checked") SetChecked(ParseBool(v));
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
