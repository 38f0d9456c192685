#include "colordialogdriver.h"

#include <string>

namespace pendo::test {

namespace {
struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  char cls[16] = {0};
  GetClassNameA(h, cls, sizeof cls);
  if (pid == s->process && std::string(cls) == "#32770" && GetDlgItem(h, COLOR_CUSTOM1) && IsWindowVisible(h)) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

tcolordialogdriver::tcolordialogdriver(std::function<void(HWND)> act, int button) {
  thread_ = std::thread([this, act, button] {
    for (int i = 0; i < 400 && !stop_; ++i) {
      Search s{GetCurrentProcessId(), nullptr};
      EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&s));
      if (s.found) {
        // Painted before anything is read back.
        RedrawWindow(s.found, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (act) act(s.found);
        found_ = true;
        PostMessageA(s.found, WM_COMMAND, button, 0);
        return;
      }
      Sleep(25);
    }
  });
}

tcolordialogdriver::~tcolordialogdriver() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

bool tcolordialogdriver::Done() {
  if (thread_.joinable()) thread_.join();
  return found_;
}

COLORREF tcolordialogdriver::CustomColor(HWND dialog, int slot) {
  HWND boxes = GetDlgItem(dialog, COLOR_CUSTOM1);
  RECT r;
  GetClientRect(boxes, &r);
  // Two rows of eight boxes; the middle of a box is clear of its frame.
  const int dx = r.right / 8, dy = r.bottom / 2;
  const int x = (slot % 8) * dx + dx / 2 - 2, y = (slot / 8) * dy + dy / 2 - 2;
  HDC dc = GetDC(boxes);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(boxes, dc);
  return c;
}

void tcolordialogdriver::MixAndAdd(HWND dialog, int r, int g, int b) {
  SendMessageA(GetDlgItem(dialog, COLOR_MIX), BM_CLICK, 0, 0);
  SetDlgItemInt(dialog, COLOR_RED, r, FALSE);
  SetDlgItemInt(dialog, COLOR_GREEN, g, FALSE);
  SetDlgItemInt(dialog, COLOR_BLUE, b, FALSE);
  SendMessageA(GetDlgItem(dialog, COLOR_ADD), BM_CLICK, 0, 0);
}

}  // namespace pendo::test
