#include "framework/stdctrls.h"

#include "framework/form.h"

namespace pendo {

namespace {
void Standard(tcreateparams& p, const char* cls) {
  p.windowClass = cls;
  p.standardClass = true;
}
}  // namespace

// Label ---------------------------------------------------------------------

tlabel::tlabel(tcomponent* owner) : twincontrol(owner) { width_ = 65, height_ = 13; }

void tlabel::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  Standard(p, "STATIC");
  p.style |= SS_LEFT | (showAccelChar_ ? 0 : SS_NOPREFIX);
}

void tlabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  if (!handle_) return;
  const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  SetWindowLongPtrA(handle_, GWL_STYLE, v ? style & ~SS_NOPREFIX : style | SS_NOPREFIX);
  InvalidateRect(handle_, nullptr, TRUE);
}

void tlabel::SetAutoSize(bool v) {
  autoSize_ = v;
  Fit();
}

void tlabel::Fit() {
  if (!autoSize_ || !handle_) return;
  twindowdc dc(handle_);
  tselection font(dc.get(), font_.Handle());
  SIZE s{0, 0};
  GetTextExtentPoint32A(dc.get(), caption_.data(), static_cast<int>(caption_.size()), &s);
  SetBounds(left_, top_, s.cx, s.cy);
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
  else if (n == "Transparent") {
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
  if (handle_) SendMessageA(handle_, BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
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
  const int n = GetWindowTextLengthA(handle_);
  std::string text(static_cast<size_t>(n) + 1, '\0');
  GetWindowTextA(handle_, &text[0], n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

void tedit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (handle_) SendMessageA(handle_, EM_SETREADONLY, v, 0);
}

bool tedit::Command(WORD code) {
  if (code != EN_CHANGE) return false;
  caption_ = Text();
  if (OnChange) OnChange(this);
  return true;
}

bool tedit::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "ReadOnly") SetReadOnly(ParseBool(v));
  else if (n == "OnChange") OnChange = ctx.FindMethod<tnotifyevent>(v);
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
  for (const auto& i : items_) SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(i.c_str()));
  SendMessageA(handle_, CB_SETCURSEL, itemIndex_, 0);
}

void tcombobox::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  itemIndex_ = -1;
  if (handle_) {
    SendMessageA(handle_, CB_RESETCONTENT, 0, 0);
    HandleCreated();
  }
}

void tcombobox::AddItem(const std::string& item) {
  items_.push_back(item);
  if (handle_) SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int tcombobox::ItemIndex() const {
  return handle_ ? static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0)) : itemIndex_;
}

void tcombobox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  itemIndex_ = index;
  if (handle_) SendMessageA(handle_, CB_SETCURSEL, index, 0);
}

bool tcombobox::Command(WORD code) {
  if (code != CBN_SELCHANGE) return false;
  itemIndex_ = ItemIndex();
  if (OnChange) OnChange(this);
  return true;
}

bool tcombobox::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Items") {
    // Items separated by "|".
    std::vector<std::string> items;
    std::string::size_type start = 0;
    while (start <= v.size() && !v.empty()) {
      auto end = v.find('|', start);
      if (end == std::string::npos) end = v.size();
      items.push_back(v.substr(start, end - start));
      start = end + 1;
    }
    SetItems(items);
  } else if (n == "ItemIndex") SetItemIndex(ParseInt(v));
  else if (n == "Style") {
  } else if (n == "OnChange") OnChange = ctx.FindMethod<tnotifyevent>(v);
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
  return handle_ ? SendMessageA(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void tcheckbox::SetChecked(bool v) {
  checked_ = v;
  if (handle_) SendMessageA(handle_, BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
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
