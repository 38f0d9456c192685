#include "framework/comctrls.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

#include "framework/resource.h"
#include "settings/systemlibrary.h"
#include "settings/widetext.h"

namespace pendo {

namespace {
template <class F>
F CommonControlFunction(const char* name) {
  return SystemFunction<F>(L"comctl32.dll", name);
}
}  // namespace

void UseCommonControls() {
  static const bool ready = [] {
    const auto start = CommonControlFunction<decltype(&InitCommonControlsEx)>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    return start && start(&icc);
  }();
  if (!ready) throw std::runtime_error("cannot start the common controls");
}

// Tree nodes ----------------------------------------------------------------

int ttreenode::Index() const {
  const auto& siblings = parent_ ? parent_->children_ : tree_->top_;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

ttreenode* ttreenode::Item(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("tree node index " + std::to_string(index));
  return children_[static_cast<size_t>(index)].get();
}

void ttreenode::SetText(const std::string& text) {
  text_ = text;
  if (!item_) return;
  if (!textCallback_) {
    // From now on the control asks for the text when it draws, which spares
    // it measuring every row of a long tree on each change.
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item_;
    tv.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tree_->handle_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    textCallback_ = true;
  }
  // The message takes the item in the rectangle it fills.
  RECT r{};
  std::memcpy(&r, &item_, sizeof item_);
  if (SendMessageW(tree_->handle_, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r)))
    InvalidateRect(tree_->handle_, &r, TRUE);
}

void ttreenode::SetImages() {
  if (!item_) return;
  TVITEMW tv{};
  tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tv.hItem = item_;
  tv.iImage = imageIndex_;
  tv.iSelectedImage = selectedIndex_;
  SendMessageW(tree_->handle_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

void ttreenode::SetImageIndex(int index) {
  imageIndex_ = index;
  SetImages();
}

void ttreenode::SetSelectedIndex(int index) {
  selectedIndex_ = index;
  SetImages();
}

bool ttreenode::Selected() const { return tree_->Selected() == this; }

void ttreenode::Expand(bool recurse) {
  // Asked again, Wine's control would lay out all the rows below once more.
  if (item_ && !Expanded()) SendMessageW(tree_->handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
  if (recurse)
    for (auto& c : children_) c->Expand(true);
}

bool ttreenode::Expanded() const {
  return item_ && (SendMessageW(tree_->handle_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) &
                   TVIS_EXPANDED);
}

void ttreenode::Delete() {
  auto& siblings = parent_ ? parent_->children_ : tree_->top_;
  const int index = Index();
  // Out of the tree's structure before the control lets go of the item: the
  // selection it moves meanwhile must see the nodes that remain.
  std::unique_ptr<ttreenode> self = std::move(siblings[static_cast<size_t>(index)]);
  siblings.erase(siblings.begin() + index);
  tree_->ForgetNode(this);
  if (item_ && tree_->handle_) SendMessageW(tree_->handle_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item_));
}

// Image list ----------------------------------------------------------------

timagelist::timagelist(tcomponent* owner) : tcomponent(owner) {}

timagelist::~timagelist() {
  static const auto destroy = CommonControlFunction<decltype(&ImageList_Destroy)>("ImageList_Destroy");
  if (handle_ && destroy) destroy(handle_);
}

HIMAGELIST timagelist::Handle() {
  if (!handle_) {
    UseCommonControls();
    static const auto create = CommonControlFunction<decltype(&ImageList_Create)>("ImageList_Create");
    handle_ = create ? create(width_, height_, ILC_COLOR24 | ILC_MASK, 8, 8) : nullptr;
    if (!handle_) throw std::runtime_error("cannot create an image list");
  }
  return handle_;
}

int timagelist::Count() const {
  // A list with a handle was made by the library, so it is loaded.
  static const auto count = CommonControlFunction<decltype(&ImageList_GetImageCount)>("ImageList_GetImageCount");
  return handle_ && count ? count(handle_) : 0;
}

int timagelist::AddMasked(HBITMAP bitmap, COLORREF mask) {
  HIMAGELIST list = Handle();
  static const auto add = CommonControlFunction<decltype(&ImageList_AddMasked)>("ImageList_AddMasked");
  const int index = add ? add(list, bitmap, mask) : -1;
  if (index < 0) throw std::runtime_error("cannot add an image to " + Name());
  return index;
}

bool timagelist::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (handle_ && (n == "Width" || n == "Height")) throw std::logic_error("image size is fixed once images exist");
  if (n == "Width") width_ = ParseInt(v);
  else if (n == "Height") height_ = ParseInt(v);
  else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

// Tree view -----------------------------------------------------------------

ttreeview::ttreeview(tcomponent* owner) : twincontrol(owner) {
  width_ = 121, height_ = 97;
  color_ = clWindow;
  SetTabStop(true);
}

ttreeview::~ttreeview() = default;

void ttreeview::Notification(tcomponent* component) {
  twincontrol::Notification(component);
  if (component == images_) SetImages(nullptr);
}

void ttreeview::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  UseCommonControls();
  p.windowClass = WC_TREEVIEWA;
  p.standardClass = true;
  p.style |= TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT;
  if (!hideSelection_) p.style |= TVS_SHOWSELALWAYS;
  if (!readOnly_) p.style |= TVS_EDITLABELS;
  p.exStyle |= WS_EX_CLIENTEDGE;
}

void ttreeview::HandleCreated() {
  if (images_)
    SendMessageW(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
  std::function<void(ttreenode*)> insert = [&](ttreenode* n) {
    InsertItem(n);
    for (auto& c : n->children_) insert(c.get());
  };
  for (auto& n : top_) insert(n.get());
  if (!pendingItems_.empty()) {
    std::string items;
    items.swap(pendingItems_);
    AddItems(items);
  }
}

void ttreeview::InsertItem(ttreenode* node) {
  const std::wstring text = Wide(node->text_);
  TVINSERTSTRUCTW ins{};
  ins.hParent = node->parent_ ? node->parent_->item_ : TVI_ROOT;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = const_cast<wchar_t*>(text.c_str());
  ins.item.iImage = node->imageIndex_;
  ins.item.iSelectedImage = node->selectedIndex_;
  ins.item.lParam = reinterpret_cast<LPARAM>(node);
  node->item_ = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
  if (!node->item_) throw std::runtime_error("cannot add a node to " + Name());
}

ttreenode* ttreeview::AddChild(ttreenode* parent, const std::string& text, int imageIndex, int selectedIndex) {
  if (parent && parent->tree_ != this) throw std::logic_error("the parent node is in another tree");
  auto& siblings = parent ? parent->children_ : top_;
  siblings.push_back(std::unique_ptr<ttreenode>(new ttreenode(this, parent, text)));
  ttreenode* node = siblings.back().get();
  node->imageIndex_ = imageIndex;
  node->selectedIndex_ = selectedIndex;
  ++count_;
  if (handle_) {
    try {
      InsertItem(node);
    } catch (...) {
      siblings.pop_back();
      --count_;
      throw;
    }
  }
  return node;
}

void ttreeview::ForgetNode(ttreenode* node) {
  std::function<int(const ttreenode*)> size = [&](const ttreenode* n) {
    int total = 1;
    for (const auto& c : n->children_) total += size(c.get());
    return total;
  };
  count_ -= size(node);
}

ttreenode* ttreeview::TopItem(int index) const {
  if (index < 0 || index >= TopCount()) return nullptr;
  return top_[static_cast<size_t>(index)].get();
}

void ttreeview::Clear() {
  while (!top_.empty()) top_.front()->Delete();
}

void ttreeview::DeleteChildren(ttreenode* node) {
  while (node->Count() > 0) node->GetFirstChild()->Delete();
}

namespace {
using tnoderanks = std::unordered_map<LPARAM, int>;

int CALLBACK CompareRanks(LPARAM a, LPARAM b, LPARAM ranks) {
  const auto& rank = *reinterpret_cast<const tnoderanks*>(ranks);
  const auto x = rank.find(a), y = rank.find(b);
  return (x == rank.end() ? 0 : x->second) - (y == rank.end() ? 0 : y->second);
}
}  // namespace

void ttreeview::ReorderChildren(ttreenode* parent, const std::vector<ttreenode*>& order) {
  if (parent && parent->tree_ != this) throw std::logic_error("the parent node is in another tree");
  auto& siblings = parent ? parent->children_ : top_;
  tnoderanks rank;
  rank.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) rank.emplace(reinterpret_cast<LPARAM>(order[i]), static_cast<int>(i));
  bool same = order.size() == siblings.size() && rank.size() == order.size();
  for (size_t i = 0; same && i < siblings.size(); ++i)
    same = rank.count(reinterpret_cast<LPARAM>(siblings[i].get())) == 1;
  if (!same) throw std::invalid_argument("the new order does not name each child of the node once");
  std::sort(siblings.begin(), siblings.end(), [&](const auto& a, const auto& b) {
    return rank[reinterpret_cast<LPARAM>(a.get())] < rank[reinterpret_cast<LPARAM>(b.get())];
  });
  if (!handle_ || siblings.size() < 2) return;
  // The control relinks its items in place: nothing is measured or notified
  // again, where deleting and inserting would touch every row.
  TVSORTCB sort{};
  sort.hParent = parent ? parent->item_ : TVI_ROOT;
  sort.lpfnCompare = &CompareRanks;
  sort.lParam = reinterpret_cast<LPARAM>(&rank);
  SendMessageW(handle_, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void ttreeview::FullExpand() {
  for (auto& n : top_) n->Expand(true);
}

ttreenode* ttreeview::Selected() const {
  if (!handle_) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!tv.hItem || !SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return NodeOf(tv);
}

void ttreeview::SetSelected(ttreenode* node) {
  if (node && node->tree_ != this) throw std::logic_error("the node is in another tree");
  SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

ttreenode* ttreeview::NodeAt(int x, int y) const {
  if (!handle_) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!tv.hItem || !(hit.flags & TVHT_ONITEM)) return nullptr;
  if (!SendMessageW(handle_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return NodeOf(tv);
}

void ttreeview::BeginUpdate() {
  if (updating_++ == 0 && handle_) SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
}

void ttreeview::EndUpdate() {
  if (updating_ == 0 || --updating_ > 0 || !handle_) return;
  SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle_, nullptr, TRUE);
}

void ttreeview::SetImages(timagelist* images) {
  if (images == images_) return;
  images_ = images;
  if (handle_)
    SendMessageW(handle_, TVM_SETIMAGELIST, TVSIL_NORMAL,
                 reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
}

void ttreeview::SetReadOnly(bool v) {
  readOnly_ = v;
  StyleChanged();
}

void ttreeview::SetHideSelection(bool v) {
  hideSelection_ = v;
  StyleChanged();
}

void ttreeview::AddItems(const std::string& description) {
  if (!handle_) {
    pendingItems_ += description;
    return;
  }
  // One node per line: a tab per level, the text, then optionally a tab and
  // the image index and a tab and the selected-image index.
  std::vector<ttreenode*> path;
  std::string::size_type start = 0;
  while (start < description.size()) {
    auto end = description.find('\n', start);
    if (end == std::string::npos) end = description.size();
    std::string line = description.substr(start, end - start);
    start = end + 1;
    size_t depth = 0;
    while (depth < line.size() && line[depth] == '\t') ++depth;
    if (depth > path.size()) throw std::invalid_argument("tree item too deep: " + line);
    std::vector<std::string> parts;
    std::string::size_type p = depth;
    while (true) {
      auto tab = line.find('\t', p);
      parts.push_back(line.substr(p, tab == std::string::npos ? std::string::npos : tab - p));
      if (tab == std::string::npos) break;
      p = tab + 1;
    }
    path.resize(depth);
    const int image = parts.size() > 1 ? ParseInt(parts[1]) : 0;
    const int selected = parts.size() > 2 ? ParseInt(parts[2]) : image;
    ttreenode* node = AddChild(path.empty() ? nullptr : path.back(), parts[0], image, selected);
    path.push_back(node);
  }
}

bool ttreeview::Notify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      if (OnChange) OnChange(this);
      result = 0;
      return true;
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW: {
      bool allow = !readOnly_;
      if (allow && OnEditing) OnEditing(this, allow);
      result = allow ? FALSE : TRUE;
      return true;
    }
    case TVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
      if ((info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        const std::wstring text = Wide(NodeOf(info->item)->Text());
        const size_t n = std::min(text.size(), static_cast<size_t>(info->item.cchTextMax - 1));
        text.copy(info->item.pszText, n);
        info->item.pszText[n] = L'\0';
      }
      result = 0;
      return true;
    }
    case NM_RCLICK: {
      // The menu at the mouse, as the control's own right click would ask for.
      const DWORD at = GetMessagePos();
      SendMessageW(handle_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle_), static_cast<LPARAM>(at));
      result = 1;
      return true;
    }
    case NM_DBLCLK:
      DblClick();
      result = 0;
      return false;  // the tree still opens or closes the node
  }
  return false;
}

bool ttreeview::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "OnChange") OnChange = ctx.Handler<tnotifyevent>();
  else if (n == "OnEditing") OnEditing = ctx.Handler<ttveditingevent>();
  else if (n == "Items") AddItems(v);
  else if (n == "ReadOnly") SetReadOnly(ParseBool(v));
  else if (n == "HideSelection") SetHideSelection(ParseBool(v));
  else if (n == "Images") {
    ctx.Fixup([this, v, &ctx] {
      auto* images = dynamic_cast<timagelist*>(ctx.FindComponent(v));
      if (!images) throw std::logic_error(v + " is not an image list");
      SetImages(images);
    });
  } else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

// Progress bar --------------------------------------------------------------

tprogressbar::tprogressbar(tcomponent* owner) : twincontrol(owner) { width_ = 150, height_ = 16; }

void tprogressbar::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  UseCommonControls();
  p.windowClass = PROGRESS_CLASSA;
  p.standardClass = true;
}

void tprogressbar::HandleCreated() {
  SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
  SendMessageW(handle_, PBM_SETPOS, position_, 0);
}

void tprogressbar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (handle_) SendMessageW(handle_, PBM_SETRANGE32, min_, max_);
}

int tprogressbar::Position() const {
  return handle_ ? static_cast<int>(SendMessageW(handle_, PBM_GETPOS, 0, 0)) : position_;
}

void tprogressbar::SetPosition(int position) {
  position_ = position < min_ ? min_ : position > max_ ? max_ : position;
  if (handle_) SendMessageW(handle_, PBM_SETPOS, position_, 0);
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
  UseCommonControls();
  p.windowClass = STATUSCLASSNAMEA;
  p.standardClass = true;
  p.style |= CCS_BOTTOM | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
}

void tstatusbar::HandleCreated() { ApplyPanels(); }

void tstatusbar::SetPanels(const std::vector<int>& widths) {
  panels_.clear();
  for (int w : widths) panels_.push_back(tpanel{w, {}});
  ApplyPanels();
}

void tstatusbar::ApplyPanels() {
  if (!handle_ || panels_.empty()) return;
  std::vector<int> edges;
  int right = 0;
  for (const auto& p : panels_) edges.push_back(right += p.width);
  SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < PanelCount(); ++i) ShowPanelText(i);
}

void tstatusbar::ShowPanelText(int index) const {
  if (!handle_) return;
  // The bevel goes with the text: the bar draws each part as it was last set.
  const WPARAM bevel = panelBevel_ == tpanelbevel::pbNone     ? SBT_NOBORDERS
                       : panelBevel_ == tpanelbevel::pbRaised ? SBT_POPOUT
                                                              : 0;
  SendMessageW(handle_, SB_SETTEXTW, static_cast<WPARAM>(index) | bevel,
               reinterpret_cast<LPARAM>(Wide(panels_[static_cast<size_t>(index)].text).c_str()));
}

void tstatusbar::SetPanelBevel(tpanelbevel bevel) {
  panelBevel_ = bevel;
  for (int i = 0; i < PanelCount(); ++i) ShowPanelText(i);
}

void tstatusbar::SetSizeGrip(bool v) {
  sizeGrip_ = v;
  StyleChanged();
}

int tstatusbar::PanelWidth(int index) const {
  if (index < 0 || index >= PanelCount()) throw std::out_of_range("no status panel " + std::to_string(index));
  return panels_[static_cast<size_t>(index)].width;
}

void tstatusbar::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= PanelCount()) throw std::out_of_range("no status panel " + std::to_string(index));
  panels_[static_cast<size_t>(index)].text = text;
  ShowPanelText(index);
}

void tstatusbar::CaptionChanged() {
  // Without panels the caption is the bar's one text.
  if (panels_.empty()) twincontrol::CaptionChanged();
}

std::string tstatusbar::PanelText(int index) const {
  if (!handle_) {
    if (panels_.empty()) return index == 0 ? caption_ : std::string();
    return index >= 0 && index < PanelCount() ? panels_[static_cast<size_t>(index)].text : std::string();
  }
  const LRESULT info = SendMessageW(handle_, SB_GETTEXTLENGTHW, index, 0);
  std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
  SendMessageW(handle_, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(std::char_traits<wchar_t>::length(text.c_str()));
  return Narrow(text);
}

bool tstatusbar::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Panels") {
    // Panel widths, separated by ",".
    std::vector<int> widths;
    for (const std::string& width : SplitSet(v)) widths.push_back(ParseInt(width));
    SetPanels(widths);
  } else if (n == "SizeGrip") SetSizeGrip(ParseBool(v));
  else if (n == "PanelBevel") {
    if (v == "pbNone") SetPanelBevel(tpanelbevel::pbNone);
    else if (v == "pbLowered") SetPanelBevel(tpanelbevel::pbLowered);
    else if (v == "pbRaised") SetPanelBevel(tpanelbevel::pbRaised);
    else throw std::invalid_argument("unknown panel bevel " + v);
  }
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
