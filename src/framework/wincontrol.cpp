#include "framework/wincontrol.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "framework/application.h"
#include "framework/dpi.h"
#include "framework/graphiccontrol.h"
#include "framework/menus.h"
#include "framework/resource.h"
#include "framework/startuptrace.h"
#include "framework/windowentry.h"
#include "framework/windowtext.h"

namespace pendo {

namespace {
// Window to object, looked up for every message. A window property would do,
// but under Wine each property read is a round trip to the server, which made
// every message cost two of them.
class thandlemap {
 public:
  twincontrol* Find(HWND window) {
    AssertUiThread();
    auto it = map_.find(window);
    return it == map_.end() ? nullptr : it->second;
  }
  void Add(HWND window, twincontrol* control) {
    AssertUiThread();
    map_[window] = control;
  }
  void Remove(HWND window) {
    AssertUiThread();
    map_.erase(window);
  }

 private:
  std::unordered_map<HWND, twincontrol*> map_;
};
// Never destroyed: windows may still be going when static objects are.
thandlemap& Handles() {
  static auto* handles = new thandlemap;
  return *handles;
}
// The object whose window is being created: messages sent before WM_NCCREATE
// (WM_GETMINMAXINFO) must already reach it.
thread_local twincontrol* creating = nullptr;
const char kDefaultClass[] = "TPendoWinControl";

// EndPaint also when a handler throws, so the window does not repaint forever.
class tpaintscope {
 public:
  explicit tpaintscope(HWND h) : h_(h) { dc_ = BeginPaint(h_, &ps_); }
  ~tpaintscope() { EndPaint(h_, &ps_); }
  HDC dc() const { return dc_; }

 private:
  HWND h_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};
}  // namespace

twincontrol::twincontrol(tcomponent* owner) : tcontrol(owner) {}

twincontrol::~twincontrol() {
  for (tcontrol* c : controls_) c->SetParent(nullptr);
  DestroyHandle();
}

twincontrol* twincontrol::FromHandle(HWND window) {
  if (!window) return nullptr;
  return Handles().Find(window);
}

HWND twincontrol::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void twincontrol::InsertControl(tcontrol* control) {
  controls_.push_back(control);
  auto* win = dynamic_cast<twincontrol*>(control);
  if (!win) return;
  tabList_.push_back(win);
  if (handle_) {
    win->CreateHandle();
    ApplyTabOrder();
  }
}

int twincontrol::TabOrder() const {
  if (!parent_) return -1;
  const auto& list = parent_->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void twincontrol::SetTabOrder(int order) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  const size_t at = order < 0 ? 0 : std::min(static_cast<size_t>(order), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
  parent_->ApplyTabOrder();
}

void twincontrol::ApplyTabOrder() {
  if (!handle_) return;
  HWND after = HWND_TOP;
  for (twincontrol* w : tabList_) {
    if (!w->handle_) continue;
    SetWindowPos(w->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    after = w->handle_;
  }
}

void twincontrol::RemoveControl(tcontrol* control) {
  if (mouseTarget_ == control) mouseTarget_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                [control](twincontrol* w) { return static_cast<tcontrol*>(w) == control; }),
                 tabList_.end());
  if (handle_ && !dynamic_cast<twincontrol*>(control)) {
    RECT r = control->BoundsRect();
    InvalidateRect(handle_, &r, TRUE);
  }
}

void twincontrol::CreateParams(tcreateparams& p) {
  p.windowClass = kDefaultClass;
  p.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) p.style |= WS_VISIBLE;
  if (!enabled_) p.style |= WS_DISABLED;
  if (tabStop_) p.style |= WS_TABSTOP;
  p.caption = caption_;
  p.x = left_;
  p.y = top_;
  p.width = width_;
  p.height = height_;
  if (parent_) p.parent = parent_->Handle();
}

void twincontrol::CreateHandle() {
  if (handle_) return;
  if (parent_ && !parent_->HandleAllocated()) {
    parent_->CreateHandle();  // creates this one as well
    if (handle_) return;
  }
  CreateWnd();
  if (parentFont_ && parent_) ParentFontChanged();
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  for (twincontrol* w : tabList_) w->CreateHandle();
  ApplyTabOrder();
  HandleCreated();
}

void twincontrol::CreateWnd() {
  tcreateparams p;
  CreateParams(p);
  if (p.clientWidth >= 0 || p.clientHeight >= 0) {
    // Measured with the final style, after every override has had its say.
    RECT r{0, 0, p.clientWidth >= 0 ? p.clientWidth : p.width, p.clientHeight >= 0 ? p.clientHeight : p.height};
    AdjustWindowRectForDpi(r, p.style, p.exStyle, dpi_);
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring windowClass = Wide(p.windowClass);
  if (!p.standardClass) {
    WNDCLASSW wc{};
    wc.style = p.classStyle;
    wc.lpfnWndProc = &twincontrol::WindowProc;
    wc.hIcon = p.icon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = windowClass.c_str();
    RegisterWindowClass(wc);
  }
  twincontrol* outer = creating;
  creating = p.standardClass ? nullptr : this;
  HWND h = CreateWindowExW(p.exStyle, windowClass.c_str(), Wide(p.caption).c_str(), p.style, p.x, p.y, p.width,
                           p.height, p.parent, nullptr, instance, p.standardClass ? nullptr : this);
  creating = outer;
  if (!h) {
    throw std::runtime_error("cannot create window " + Name() + " (error " + std::to_string(GetLastError()) + ")");
  }
  style_ = p.style;
  exStyle_ = p.exStyle;
  if (p.standardClass) {
    Attach(h);
    defaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&twincontrol::WindowProc)));
  }
  // The window's real place (a top-level window may have been placed by the system).
  RECT r;
  GetWindowRect(h, &r);
  if (p.parent && (p.style & WS_CHILD)) MapWindowPoints(nullptr, p.parent, reinterpret_cast<POINT*>(&r), 2);
  UpdateBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void twincontrol::StyleChanged() {
  if (!handle_) return;
  tcreateparams p;
  CreateParams(p);
  const DWORD ownSteps = WS_VISIBLE | WS_DISABLED;
  const DWORD changed = (p.style ^ style_) & ~ownSteps;
  const DWORD exChanged = p.exStyle ^ exStyle_;
  style_ = p.style;
  exStyle_ = p.exStyle;
  if (!changed && !exChanged) return;
  if (changed) {
    const LONG_PTR now = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, (now & ~static_cast<LONG_PTR>(changed)) | (p.style & changed));
  }
  if (exChanged) {
    const LONG_PTR now = GetWindowLongPtrW(handle_, GWL_EXSTYLE);
    SetWindowLongPtrW(handle_, GWL_EXSTYLE, (now & ~static_cast<LONG_PTR>(exChanged)) | (p.exStyle & exChanged));
  }
  // Frames and borders are measured again; the control draws itself anew.
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  InvalidateRect(handle_, nullptr, TRUE);
}

void twincontrol::SetTabStop(bool v) {
  tabStop_ = v;
  StyleChanged();
}

void twincontrol::Attach(HWND hwnd) {
  handle_ = hwnd;
  Handles().Add(hwnd, this);
}

void twincontrol::Detach() {
  if (!handle_) return;
  Handles().Remove(handle_);
  if (defaultProc_) {
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
    defaultProc_ = nullptr;
  }
  handle_ = nullptr;
}

void twincontrol::DestroyHandle() {
  if (!handle_) return;
  for (tcontrol* c : controls_) {
    if (auto* w = dynamic_cast<twincontrol*>(c)) w->DestroyHandle();
  }
  HWND h = handle_;
  // No message may reach this object once it is going.
  Detach();
  DestroyWindow(h);
}

bool twincontrol::Showing() const {
  if (!visible_ || !handle_) return false;
  return parent_ ? parent_->Showing() : IsWindowVisible(handle_) != FALSE;
}

POINT twincontrol::ClientToScreen(POINT p) const {
  if (handle_) ::ClientToScreen(handle_, &p);
  return p;
}

void twincontrol::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void twincontrol::Update() {
  if (handle_) UpdateWindow(handle_);
}

void twincontrol::SetFocus() { ::SetFocus(Handle()); }
bool twincontrol::Focused() const { return handle_ && GetFocus() == handle_; }

void twincontrol::KeyDown(WORD& key, tshiftstate shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void twincontrol::KeyUp(WORD& key, tshiftstate shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void twincontrol::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}
bool twincontrol::CharMessage(WPARAM& wp) {
  const wchar_t w = static_cast<wchar_t>(wp);
  std::string byte;
  if (!NarrowExact(std::wstring_view(&w, 1), byte) || byte.size() != 1) return true;
  char c = byte[0];
  KeyPress(c);
  if (!c) return false;
  if (c != byte[0]) {
    const std::wstring changed = Wide(std::string(1, c));
    wp = changed.size() == 1 ? changed[0] : static_cast<unsigned char>(c);
  }
  return true;
}

HBRUSH twincontrol::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkColor(dc, ColorToRGB(color_));
  if (!colorBrush_) colorBrush_.reset(CreateSolidBrush(ColorToRGB(color_)));
  return colorBrush_.get();
}

bool twincontrol::EraseBackground(HDC dc) {
  RECT r;
  GetClipBox(dc, &r);
  tbrushhandle brush(CreateSolidBrush(ColorToRGB(color_)));
  FillRect(dc, &r, brush.get());
  return true;
}

void twincontrol::PaintControls(HDC dc) {
  for (tcontrol* c : controls_) {
    auto* g = dynamic_cast<tgraphiccontrol*>(c);
    if (!g || !g->Visible()) continue;
    RECT r = g->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, g->Left(), g->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
    {
      tcanvas canvas(dc);
      canvas.Font = g->Font();
      g->Paint(canvas);
    }
    RestoreDC(dc, saved);
  }
}

tcontrol* twincontrol::GraphicControlAt(POINT p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    auto* g = dynamic_cast<tgraphiccontrol*>(*it);
    if (!g || !g->Visible() || !g->Enabled()) continue;
    const RECT r = g->BoundsRect();
    if (PtInRect(&r, p)) return g;
  }
  return nullptr;
}

tpopupmenu* twincontrol::FindPopupMenu(tcontrol* control) {
  for (tcontrol* c = control; c; c = c->Parent())
    if (c->PopupMenu()) return c->PopupMenu();
  return nullptr;
}

void twincontrol::BoundsChanged() {
  if (handle_) SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}
void twincontrol::VisibleChanged() {
  if (handle_) ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
}
void twincontrol::EnabledChanged() {
  if (handle_) EnableWindow(handle_, enabled_);
}
void twincontrol::CaptionChanged() {
  if (handle_) SetText(handle_, caption_);
}
void twincontrol::ColorChanged() {
  colorBrush_.reset();
  Invalidate();
}
void twincontrol::ChangeDpi(int dpi) {
  tcontrol::ChangeDpi(dpi);
  // A copy: a child's handler may add or remove controls.
  const std::vector<tcontrol*> children = controls_;
  for (tcontrol* c : children) c->ChangeDpi(dpi_);
}

void twincontrol::FontChanged() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  for (tcontrol* c : controls_) c->ParentFontChanged();
}

bool twincontrol::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "TabStop") SetTabStop(ParseBool(v));
  else if (n == "TabOrder") SetTabOrder(ParseInt(v));
  else if (n == "OnKeyDown") OnKeyDown = ctx.Handler<tkeyevent>();
  else if (n == "OnKeyUp") OnKeyUp = ctx.Handler<tkeyevent>();
  else if (n == "OnKeyPress") OnKeyPress = ctx.Handler<tkeypressevent>();
  else return tcontrol::SetProperty(n, v, ctx);
  return true;
}

LRESULT twincontrol::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  if (defaultProc_) return CallWindowProcW(defaultProc_, handle_, msg, wp, lp);
  return DefWindowProcW(handle_, msg, wp, lp);
}

LRESULT twincontrol::MouseMessage(UINT msg, WPARAM wp, LPARAM lp) {
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const bool own = defaultProc_ == nullptr;
  tcontrol* target = this;
  if (own) {
    if (mouseTarget_ && GetCapture() == handle_) {
      target = mouseTarget_;
    } else if (tcontrol* g = GraphicControlAt(p)) {
      target = g;
    }
  }
  if (target != this) {
    p.x -= target->Left();
    p.y -= target->Top();
  }
  tshiftstate shift = MouseShiftState(wp);
  tmousebutton button = tmousebutton::mbLeft;
  if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK) button = tmousebutton::mbRight;
  if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK) button = tmousebutton::mbMiddle;
  switch (msg) {
    case WM_MOUSEMOVE:
      target->MouseMove(shift, p.x, p.y);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (own) {
        SetCapture(handle_);
        mouseTarget_ = target;
      }
      target->MouseDown(button, shift, p.x, p.y);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (own && button == tmousebutton::mbLeft) target->DblClick();
      target->MouseDown(button, shift | ssDouble, p.x, p.y);
      break;
    default: {  // button up
      const bool wasPressed = !own || mouseTarget_ == target;
      if (own) {
        mouseTarget_ = nullptr;
        if (GetCapture() == handle_) ReleaseCapture();
      }
      target->MouseUp(button, shift, p.x, p.y);
      if (own && wasPressed && button == tmousebutton::mbLeft && p.x >= 0 && p.y >= 0 && p.x < target->Width() &&
          p.y < target->Height())
        target->Click();
      break;
    }
  }
  return DefaultHandler(msg, wp, lp);
}

void twincontrol::ContextMenu(LPARAM lp) {
  POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  tcontrol* control = this;
  if (lp == -1) {
    screen = ClientToScreen(POINT{0, 0});
  } else if (!defaultProc_) {
    POINT client = screen;
    ScreenToClient(handle_, &client);
    if (tcontrol* g = GraphicControlAt(client)) control = g;
  }
  if (tpopupmenu* menu = FindPopupMenu(control)) {
    menu->SetPopupComponent(control);
    menu->Popup(screen.x, screen.y);
    return;
  }
  DefaultHandler(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle_), lp);
}

LRESULT twincontrol::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETOBJECT:
      if (accessible_.name || accessible_.value || accessible_.role) {
        if (const LRESULT answer = AnswerGetObject(handle_, wp, lp, accessible_)) return answer;
      }
      break;
    case WM_COMMAND:
      if (lp) {
        twincontrol* c = FromHandle(reinterpret_cast<HWND>(lp));
        if (c && c != this && c->Command(HIWORD(wp))) return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      twincontrol* c = FromHandle(header->hwndFrom);
      LRESULT result = 0;
      if (c && c != this && c->Notify(header, result)) return result;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      twincontrol* c = FromHandle(reinterpret_cast<HWND>(lp));
      if (c && c != this) {
        if (HBRUSH b = c->CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
      }
      break;
    }
    case WM_ERASEBKGND:
      if (!defaultProc_ && EraseBackground(reinterpret_cast<HDC>(wp))) return 1;
      break;
    case WM_PAINT:
      if (!defaultProc_) {
        tpaintscope paint(handle_);
        TraceStartupPaint(this, "first paint: begins");
        PaintWindow(paint.dc());
        TraceStartupPaint(this, "first paint: form painted");
        PaintControls(paint.dc());
        TraceStartupPaint(this, "first paint: controls painted", true);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MouseMessage(msg, wp, lp);
    case WM_CAPTURECHANGED:
      mouseTarget_ = nullptr;
      break;
    case WM_CONTEXTMENU:
      ContextMenu(lp);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(wp);
      KeyDown(key, KeyboardShiftState());
      if (!key) return 0;
      wp = key;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(wp);
      KeyUp(key, KeyboardShiftState());
      if (!key) return 0;
      wp = key;
      break;
    }
    case WM_CHAR:
      if (!CharMessage(wp)) return 0;
      break;
    case WM_WINDOWPOSCHANGED: {
      RECT r;
      GetWindowRect(handle_, &r);
      HWND parent = GetParent(handle_);
      if (parent && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      UpdateBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
      break;
    }
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT CALLBACK twincontrol::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  twincontrol* self = FromHandle(hwnd);
  if (!self && creating && !creating->handle_) {
    self = creating;
    creating = nullptr;
    // Out of memory for the map, the window goes on without its object.
    if (!Guard([&] { self->Attach(hwnd); })) self = nullptr;
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  ++self->messageDepth_;
  LRESULT result = 0;
  Guard([&] { result = self->WndProc(msg, wp, lp); });
  // The object may have detached itself (destroyed window) while handling.
  if (FromHandle(hwnd) == self) {
    if (--self->messageDepth_ == 0) self->MessageDone();
    if (msg == WM_NCDESTROY) self->Detach();
  }
  return result;
}

}  // namespace pendo
