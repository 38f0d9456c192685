#include "framework/form.h"

#include <stdexcept>

#include "framework/application.h"

namespace pendo {

tform::tform(const std::string& className, const std::string& name, const FormPlacement& design, DWORD style,
             DWORD exStyle)
    : className_(className), name_(name) {
  if (!Application) throw std::logic_error("a form needs the application object");
  RegisterWindowClass();
  RECT r{design.left, design.top, design.left + design.clientWidth, design.top + design.clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  // Hidden until shown; the rectangle keeps the design-time client size.
  handle_ = CreateWindowExA(exStyle, className_.c_str(), "", style & ~WS_VISIBLE, design.left, design.top,
                            r.right - r.left, r.bottom - r.top, Application->Handle(), nullptr,
                            Application->Instance(), this);
  if (!handle_) throw std::runtime_error("cannot create window " + className_);
}

tform::~tform() {
  if (handle_) {
    // No message may reach this object once it is going.
    SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
    handle_ = nullptr;
  }
}

void tform::RegisterWindowClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(Application->Instance(), className_.c_str(), &existing)) return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &tform::WindowProc;
  wc.hInstance = Application->Instance();
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className_.c_str();
  if (!RegisterClassA(&wc)) throw std::runtime_error("cannot register window class " + className_);
}

void tform::RunLoaded() {
  if (loaded_) return;
  loaded_ = true;
  Loaded();
}

namespace {
RECT WindowRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}
RECT ClientRect(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  return r;
}
}  // namespace

int tform::Left() const { return WindowRect(handle_).left; }
int tform::Top() const { return WindowRect(handle_).top; }
int tform::Width() const {
  const RECT r = WindowRect(handle_);
  return r.right - r.left;
}
int tform::Height() const {
  const RECT r = WindowRect(handle_);
  return r.bottom - r.top;
}
int tform::ClientWidth() const { return ClientRect(handle_).right; }
int tform::ClientHeight() const { return ClientRect(handle_).bottom; }

SIZE tform::FrameExtra() const { return SIZE{Width() - ClientWidth(), Height() - ClientHeight()}; }

void tform::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void tform::SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
void tform::SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
void tform::SetClientWidth(int width) { SetBounds(Left(), Top(), width + FrameExtra().cx, Height()); }
void tform::SetClientHeight(int height) { SetBounds(Left(), Top(), Width(), height + FrameExtra().cy); }

void tform::Show() { ShowWindow(handle_, SW_SHOWNOACTIVATE); }
void tform::Hide() { ShowWindow(handle_, SW_HIDE); }
void tform::Close() { PostMessageA(handle_, WM_CLOSE, 0, 0); }

LRESULT tform::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(handle_, msg, wp, lp); }

LRESULT tform::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) {
    // Closing the main form ends the program; the form itself is freed at shutdown.
    if (Application->MainForm() == this) {
      Application->Terminate();
    } else {
      Hide();
    }
    return 0;
  }
  return DefaultHandler(msg, wp, lp);
}

LRESULT CALLBACK tform::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* self = static_cast<tform*>(cs->lpCreateParams);
    self->handle_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<tform*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  try {
    return self->WndProc(msg, wp, lp);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(&e);
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
  return 0;
}

}  // namespace pendo
