#include "framework/form.h"

#include <vector>

#include "framework/application.h"
#include "framework/dpi.h"
#include "framework/menus.h"
#include "framework/startuptrace.h"
#include "framework/stdctrls.h"

namespace pendo {

tform::tform(tcomponent* owner, const tformdesc& description) : twincontrol(owner), description_(description) {
  if (!Application) throw std::logic_error("a form needs the application object");
  visible_ = false;
  SetName(description.name);
}

tform::~tform() {
  canvas_.SetHandle(nullptr);
  if (Application) Application->FormDestroyed(this);
  DestroyHandle();
}

void tform::Initialize() {
  if (initialized_) throw std::logic_error("form " + Name() + " is built already");
  initialized_ = true;
  tresourcecontext context(this);
  DeclarePublished(context);
  // The description's 96-DPI pixels are scaled as they are read.
  ChangeDpi(SystemDpi());
  for (const auto& p : description_.props) context.Apply(this, p);
  CreateHandle();
  // A monitor of another resolution than the system's.
  const int dpi = WindowDpi(handle_);
  if (dpi != dpi_) ApplyDpi(dpi, nullptr);
  TraceStartup("form: window made");
  context.Read(description_.components);
  TraceStartup("form: components made");
  // The form's loading first, then its components', in description order.
  Loaded();
  const std::vector<tcomponent*> components = Components();
  for (tcomponent* c : components) c->Loaded();
  TraceStartup("form: loaded (profiles read)");
  DoCreate();
  TraceStartup("form: create event done");
}

void tform::CreateParams(tcreateparams& p) {
  twincontrol::CreateParams(p);
  p.windowClass = "T" + Name();
  p.parent = Application->Handle();
  p.icon = Application->Icon();
  p.exStyle = 0;
  switch (borderStyle_) {
    case tborderstyle::bsNone:
      p.style = WS_POPUP;
      break;
    case tborderstyle::bsSingle:
      p.style = WS_POPUP | WS_CAPTION | WS_BORDER;
      break;
    case tborderstyle::bsSizeable:
      p.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
      break;
    case tborderstyle::bsDialog:
      p.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
      p.exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case tborderstyle::bsToolWindow:
      p.style = WS_POPUP | WS_CAPTION;
      p.exStyle = WS_EX_TOOLWINDOW;
      break;
    case tborderstyle::bsSizeToolWin:
      p.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
      p.exStyle = WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != tborderstyle::bsNone && (borderIcons_ & biSystemMenu)) {
    p.style |= WS_SYSMENU;
    if (borderStyle_ != tborderstyle::bsDialog && borderStyle_ != tborderstyle::bsToolWindow &&
        borderStyle_ != tborderstyle::bsSizeToolWin) {
      if (borderIcons_ & biMinimize) p.style |= WS_MINIMIZEBOX;
      if (borderIcons_ & biMaximize) p.style |= WS_MAXIMIZEBOX;
    }
    if (borderIcons_ & biHelp) p.exStyle |= WS_EX_CONTEXTHELP;
  }
  p.style |= WS_CLIPCHILDREN;
  // Hidden until shown, whatever the description says.
  p.style &= ~WS_VISIBLE;
  // The description gives the client size; the window is the frame around it.
  p.clientWidth = designClientWidth_;
  p.clientHeight = designClientHeight_;
}

SIZE tform::FrameExtra() const {
  RECT w{}, c{};
  GetWindowRect(handle_, &w);
  GetClientRect(handle_, &c);
  return SIZE{(w.right - w.left) - c.right, (w.bottom - w.top) - c.bottom};
}

int tform::ClientWidth() const {
  if (!handle_) return designClientWidth_ >= 0 ? designClientWidth_ : width_;
  RECT c{};
  GetClientRect(handle_, &c);
  return c.right;
}

int tform::ClientHeight() const {
  if (!handle_) return designClientHeight_ >= 0 ? designClientHeight_ : height_;
  RECT c{};
  GetClientRect(handle_, &c);
  return c.bottom;
}

void tform::SetClientSize(int width, int height) {
  if (!handle_) {
    designClientWidth_ = width;
    designClientHeight_ = height;
    return;
  }
  const SIZE extra = FrameExtra();
  SetBounds(left_, top_, width + extra.cx, height + extra.cy);
}
void tform::SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
void tform::SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

void tform::BoundsChanged() {
  // A form's place is in screen coordinates and is applied without asking.
  if (handle_) SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void tform::ApplyDpi(int dpi, const RECT* suggested) {
  dpi = ClampDpi(dpi);
  const int before = dpi_;
  const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
  ChangeDpi(dpi);
  if (!handle_) return;
  constexpr LONG kLargest = 32767;
  const bool usable = suggested && suggested->right > suggested->left && suggested->bottom > suggested->top &&
                      suggested->right - suggested->left <= kLargest && suggested->bottom - suggested->top <= kLargest &&
                      suggested->left >= -kLargest && suggested->top >= -kLargest && suggested->left <= kLargest &&
                      suggested->top <= kLargest;
  RECT r{};
  if (usable) {
    r = *suggested;
  } else {
    // The frame the window has: what the system draws around it.
    const SIZE frame = FrameExtra();
    r = RECT{left_, top_, left_ + ScaleBetween(clientWidth, dpi, before) + frame.cx,
             top_ + ScaleBetween(clientHeight, dpi, before) + frame.cy};
  }
  SetWindowPos(handle_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(handle_, nullptr, TRUE);
}

bool tform::Showing() const { return handle_ && IsWindowVisible(handle_); }

void tform::VisibleChanged() {
  if (!handle_) return;
  if (visible_) {
    if (!shownOnce_ && position_ == tposition::poScreenCenter) {
      SetBounds((GetSystemMetrics(SM_CXSCREEN) - width_) / 2, (GetSystemMetrics(SM_CYSCREEN) - height_) / 2,
                width_, height_);
    }
    shownOnce_ = true;
    ShowWindow(handle_, SW_SHOW);
  } else {
    ShowWindow(handle_, SW_HIDE);
  }
}

void tform::Show() {
  SetVisible(true);
  if (!IsWindowVisible(Handle())) {
    // Visible was already set, but the window was hidden behind our back.
    ShowWindow(handle_, SW_SHOW);
  }
  BringToFront();
}

void tform::Hide() {
  SetVisible(false);
  if (handle_ && IsWindowVisible(handle_)) ShowWindow(handle_, SW_HIDE);
}

void tform::BringToFront() {
  if (!handle_) return;
  SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(handle_);
}

tcanvas& tform::Canvas() {
  // Painting happens in the paint message; everything else invalidates.
  if (!painting_) throw std::logic_error("form " + Name() + " has a canvas only while it paints");
  return canvas_;
}

void tform::PaintWindow(HDC dc) {
  HDC previous = canvas_.Handle();
  canvas_.SetHandle(dc);
  canvas_.Font = font_;
  const bool wasPainting = painting_;
  painting_ = true;
  struct trestore {
    tform* f;
    HDC previous;
    bool wasPainting;
    ~trestore() {
      f->canvas_.SetHandle(previous);
      f->painting_ = wasPainting;
    }
  } restore{this, previous, wasPainting};
  Paint();
}

void tform::Paint() {
  if (OnPaint) OnPaint(this);
}
void tform::Resize() {
  if (OnResize) OnResize(this);
}
void tform::DoCreate() {
  if (OnCreate) OnCreate(this);
}
void tform::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void tform::DoShow() {
  if (OnShow) OnShow(this);
}
void tform::DoHide() {
  if (OnHide) OnHide(this);
}
void tform::DoClose(tcloseaction& action) {
  if (OnClose) OnClose(this, action);
}

bool tform::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void tform::Close() {
  if (modal_) {
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  tcloseaction action = tcloseaction::caHide;
  DoClose(action);
  if (action == tcloseaction::caNone) return;
  if (Application->MainForm() == this) {
    // The program ends; the form is freed with the others at shutdown.
    Application->Terminate();
  } else if (action == tcloseaction::caHide) {
    Hide();
  } else if (action == tcloseaction::caMinimize) {
    ShowWindow(handle_, SW_MINIMIZE);
  } else {
    Release();
  }
}

void tform::Release() { Application->ReleaseForm(this); }

void tform::CloseModal() {
  if (!CloseQuery()) {
    modalResult_ = mrNone;
    return;
  }
  tcloseaction action = tcloseaction::caHide;
  DoClose(action);
  if (action == tcloseaction::caNone) {
    modalResult_ = mrNone;
  } else if (action == tcloseaction::caFree) {
    Release();
  }
}

namespace {
struct tdisabledwindows {
  HWND keep;
  std::vector<HWND> windows;
};
BOOL CALLBACK DisableWindow(HWND h, LPARAM lp) {
  auto* d = reinterpret_cast<tdisabledwindows*>(lp);
  // Hidden forms too: one shown meanwhile (from the tray) must not take input.
  const bool form = dynamic_cast<tform*>(twincontrol::FromHandle(h)) != nullptr;
  if (h != d->keep && (IsWindowVisible(h) || form) && IsWindowEnabled(h)) {
    d->windows.push_back(h);
    EnableWindow(h, FALSE);
  }
  return TRUE;
}
}  // namespace

tmodalresult tform::ShowModal() {
  if (modal_ || Showing()) throw std::logic_error("cannot make a visible window modal");
  if (GetCapture()) ReleaseCapture();
  HWND active = GetActiveWindow();
  tdisabledwindows disabled{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableWindow, reinterpret_cast<LPARAM>(&disabled));
  modal_ = true;
  modalResult_ = mrNone;
  struct trestore {
    tform* f;
    tdisabledwindows& d;
    HWND active;
    ~trestore() {
      for (HWND h : d.windows)
        if (IsWindow(h)) EnableWindow(h, TRUE);
      f->modal_ = false;
      if (active && IsWindow(active)) SetActiveWindow(active);
    }
  } restore{this, disabled, active};
  Show();
  while (modalResult_ == mrNone) {
    if (!Application->HandleMessage()) {
      // The program is ending: close the dialog and let the outer loop see the quit.
      modalResult_ = mrCancel;
      PostQuitMessage(0);
      break;
    }
    if (Application->Terminated()) modalResult_ = mrCancel;
    if (modalResult_ != mrNone) CloseModal();
  }
  Hide();
  return modalResult_;
}

namespace {
// The first control Tab would reach, depth first in tab order.
twincontrol* FirstTabStop(const twincontrol& parent) {
  for (twincontrol* w : parent.TabList()) {
    if (!w->HandleAllocated() || !w->Showing() || !w->Enabled()) continue;
    if (w->TabStop()) return w;
    if (twincontrol* inner = FirstTabStop(*w)) return inner;
  }
  return nullptr;
}
}  // namespace

void tform::FocusFirstControl() {
  HWND focus = GetFocus();
  if (focus && (focus == handle_ || IsChild(handle_, focus))) return;
  twincontrol* first = FirstTabStop(*this);
  ::SetFocus(first ? first->Handle() : handle_);
}

tbutton* tform::FindButton(bool defaultButton) const {
  for (tcomponent* c : Components()) {
    auto* b = dynamic_cast<tbutton*>(c);
    if (b && b->Showing() && b->Enabled() && (defaultButton ? b->Default() : b->Cancel())) return b;
  }
  return nullptr;
}

namespace {
// Whether the focus is in a drop-down list whose list is open: Enter and Esc
// then close the list, as in any dialog, and are not the form's.
bool FocusInDroppedList(HWND form) {
  for (HWND h = GetFocus(); h && h != form; h = GetParent(h)) {
    wchar_t cls[16] = L"";
    GetClassNameW(h, cls, 16);
    if (lstrcmpiW(cls, L"ComboBox") == 0) return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0;
  }
  return false;
}
}  // namespace

bool tform::PreviewKey(MSG& m) {
  if ((m.message == WM_KEYDOWN || m.message == WM_CHAR) && (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) &&
      FocusInDroppedList(handle_))
    return false;
  const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
  const bool up = m.message == WM_KEYUP || m.message == WM_SYSKEYUP;
  const tshiftstate shift = KeyboardShiftState();
  if (down) {
    // The shortcuts of every pop-up menu on the form, not only its own.
    const tshortcut shortcut = ShortCut(static_cast<WORD>(m.wParam), shift);
    if (popupMenu_ && popupMenu_->IsShortCut(shortcut)) return true;
    for (tcomponent* c : Components()) {
      auto* menu = dynamic_cast<tpopupmenu*>(c);
      if (menu && menu != popupMenu_ && menu->IsShortCut(shortcut)) return true;
    }
  }
  if (keyPreview_ && m.hwnd != handle_) {
    if (down || up) {
      WORD key = static_cast<WORD>(m.wParam);
      if (down) KeyDown(key, shift);
      else KeyUp(key, shift);
      if (!key) return true;
      m.wParam = key;
    } else if (m.message == WM_CHAR) {
      if (!CharMessage(m.wParam)) return true;
    }
  }
  if (m.message == WM_KEYDOWN && !(shift & (ssCtrl | ssAlt))) {
    if (m.wParam == VK_RETURN) {
      // A focused button takes Enter itself.
      auto* focused = dynamic_cast<tbutton*>(twincontrol::FromHandle(GetFocus()));
      tbutton* b = focused ? focused : FindButton(true);
      if (b) {
        b->Click();
        return true;
      }
    } else if (m.wParam == VK_ESCAPE) {
      if (tbutton* b = FindButton(false)) {
        b->Click();
        return true;
      }
    } else if (m.wParam == VK_TAB) {
      return IsDialogMessageW(handle_, &m) != FALSE;
    }
  }
  if (m.message == WM_SYSCHAR && m.wParam < 0x80 && DialogChar(this, static_cast<char>(m.wParam))) return true;
  return false;
}

void tform::BeforeDestruction() {
  DoDestroy();
  twincontrol::BeforeDestruction();
}

tform* tform::ParentForm(tcontrol* control) {
  tcontrol* c = control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<tform*>(c);
}

LRESULT tform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case kDpiChangedMessage:
      // The DPI the message brings, not the system's: that is the one moved to.
      ApplyDpi(LOWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_SHOWWINDOW:
      // Only the form's own showing and hiding, not its owner's minimising.
      if (lp == 0) {
        visible_ = wp != 0;
        if (wp) DoShow();
        else DoHide();
      }
      break;
    case WM_SIZE:
      if (initialized_) Resize();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        // As a dialog does: the focus comes back where it was (after a colour
        // or file dialog, or another program), not to the first control.
        HWND focus = GetFocus();
        lastFocus_ = focus && IsChild(handle_, focus) ? focus : nullptr;
      } else if (!HIWORD(wp)) {
        if (lastFocus_ && IsChild(handle_, lastFocus_) && IsWindowVisible(lastFocus_) &&
            IsWindowEnabled(lastFocus_)) {
          ::SetFocus(lastFocus_);
        } else {
          FocusFirstControl();
        }
        lastFocus_ = nullptr;
        return 0;
      }
      break;
    case WM_ACTIVATEAPP:
      Application->Activate(wp != 0);
      break;
  }
  return twincontrol::WndProc(msg, wp, lp);
}

bool tform::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "ClientWidth") SetClientWidth(Scaled(ParseInt(v)));
  else if (n == "ClientHeight") SetClientHeight(Scaled(ParseInt(v)));
  else if (n == "BorderStyle") {
    static const char* names[] = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    bool found = false;
    for (int i = 0; i < 6; ++i)
      if (v == names[i]) {
        borderStyle_ = static_cast<tborderstyle>(i);
        found = true;
      }
    if (!found) throw std::invalid_argument("unknown border style " + v);
  } else if (n == "BorderIcons") {
    borderIcons_ = static_cast<tbordericons>(ParseFlags(
        v, {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}},
        "border icon"));
  } else if (n == "Position") {
    if (v == "poScreenCenter") position_ = tposition::poScreenCenter;
    else if (v == "poDesigned") position_ = tposition::poDesigned;
    else throw std::invalid_argument("unknown position " + v);
  } else if (n == "KeyPreview") keyPreview_ = ParseBool(v);
  else if (n == "Scaled" || n == "PixelsPerInch") {
    // Every form is scaled by its window's resolution.
  } else if (n == "Visible") {
    // Forms are shown by the program, not by their description.
  } else if (n == "OnCreate") OnCreate = ctx.Handler<tnotifyevent>();
  else if (n == "OnDestroy") OnDestroy = ctx.Handler<tnotifyevent>();
  else if (n == "OnShow") OnShow = ctx.Handler<tnotifyevent>();
  else if (n == "OnHide") OnHide = ctx.Handler<tnotifyevent>();
  else if (n == "OnPaint") OnPaint = ctx.Handler<tnotifyevent>();
  else if (n == "OnResize") OnResize = ctx.Handler<tnotifyevent>();
  else if (n == "OnClose") OnClose = ctx.Handler<tcloseevent>();
  else if (n == "OnCloseQuery") OnCloseQuery = ctx.Handler<tclosequeryevent>();
  else return twincontrol::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
