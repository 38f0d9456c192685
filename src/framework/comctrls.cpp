#include "framework/comctrls.h"

#include "framework/resource.h"

namespace pendo {

// Tree view -----------------------------------------------------------------

ttreeview::ttreeview(tcomponent* owner) : twincontrol(owner) {
  width_ = 121, height_ = 97;
  color_ = clWindow;
  SetTabStop(true);
}

void ttreeview::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  p.windowClass = WC_TREEVIEWA;
  p.standardClass = true;
  p.style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

HTREEITEM ttreeview::AddItem(HTREEITEM parent, const std::string& text, LPARAM data) {
  TVINSERTSTRUCTA ins{};
  ins.hParent = parent ? parent : TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM;
  ins.item.pszText = const_cast<char*>(text.c_str());
  ins.item.lParam = data;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
  if (!item) throw std::runtime_error("cannot add a tree item");
  return item;
}

void ttreeview::Clear() { SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }

HTREEITEM ttreeview::Selected() const {
  if (!handle_) return nullptr;
  return reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void ttreeview::SetSelected(HTREEITEM item) {
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

std::string ttreeview::ItemText(HTREEITEM item) const {
  char buffer[512] = {0};
  TVITEMA tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer;
  tv.cchTextMax = sizeof buffer;
  if (!handle_ || !SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return {};
  return buffer;
}

LPARAM ttreeview::ItemData(HTREEITEM item) const {
  TVITEMA tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!handle_ || !SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return 0;
  return tv.lParam;
}

int ttreeview::Count() const {
  return handle_ ? static_cast<int>(SendMessageA(handle_, TVM_GETCOUNT, 0, 0)) : 0;
}

bool ttreeview::Notify(NMHDR* header, LRESULT& result) {
  if (header->code != TVN_SELCHANGEDA && header->code != TVN_SELCHANGEDW) return false;
  if (OnChange) OnChange(this);
  result = 0;
  return true;
}

bool ttreeview::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "OnChange") OnChange = ctx.Handler<tnotifyevent>();
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Progress bar --------------------------------------------------------------

tprogressbar::tprogressbar(tcomponent* owner) : twincontrol(owner) { width_ = 150, height_ = 16; }

void tprogressbar::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  p.windowClass = PROGRESS_CLASSA;
  p.standardClass = true;
}

void tprogressbar::HandleCreated() {
  SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
  SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

void tprogressbar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (handle_) SendMessageA(handle_, PBM_SETRANGE32, min_, max_);
}

int tprogressbar::Position() const {
  return handle_ ? static_cast<int>(SendMessageA(handle_, PBM_GETPOS, 0, 0)) : position_;
}

void tprogressbar::SetPosition(int position) {
  position_ = position < min_ ? min_ : position > max_ ? max_ : position;
  if (handle_) SendMessageA(handle_, PBM_SETPOS, position_, 0);
}

bool tprogressbar::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Min") SetRange(ParseInt(v), max_);
  else if (n == "Max") SetRange(min_, ParseInt(v));
  else if (n == "Position") SetPosition(ParseInt(v));
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Status bar ----------------------------------------------------------------

tstatusbar::tstatusbar(tcomponent* owner) : twincontrol(owner) { height_ = 19; }

void tstatusbar::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  p.windowClass = STATUSCLASSNAMEA;
  p.standardClass = true;
  p.style |= CCS_BOTTOM | SBARS_SIZEGRIP;
}

std::string tstatusbar::DisplayedText() const {
  if (!handle_) return caption_;
  char buffer[512] = {0};
  const LRESULT info = SendMessageA(handle_, SB_GETTEXTLENGTHA, 0, 0);
  if (LOWORD(info) >= sizeof buffer) return caption_;
  SendMessageA(handle_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

}  // namespace pendo
