#include "systemdialogdriver.h"

#include <dlgs.h>

#include <string>

namespace pendo::test {

namespace {
struct Search {
  DWORD process;
  int child;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  char cls[16] = {0};
  GetClassNameA(h, cls, sizeof cls);
  if (pid == s->process && std::string(cls) == "#32770" && GetDlgItem(h, s->child) && IsWindowVisible(h)) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

tsystemdialogdriver::tsystemdialogdriver(int child, std::function<void(HWND)> act, int button) {
  thread_ = std::thread([this, child, act, button] {
    for (int i = 0; i < 400 && !stop_; ++i) {
      Search s{GetCurrentProcessId(), child, nullptr};
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

tsystemdialogdriver tsystemdialogdriver::ColorDialog(std::function<void(HWND)> act, int button) {
  return tsystemdialogdriver(COLOR_CUSTOM1, std::move(act), button);
}

tsystemdialogdriver::~tsystemdialogdriver() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

bool tsystemdialogdriver::Done() {
  if (thread_.joinable()) thread_.join();
  return found_;
}

COLORREF tsystemdialogdriver::CustomColor(HWND dialog, int slot) {
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

void tsystemdialogdriver::MixAndAdd(HWND dialog, int r, int g, int b) {
  SendMessageA(GetDlgItem(dialog, COLOR_MIX), BM_CLICK, 0, 0);
  SetDlgItemInt(dialog, COLOR_RED, r, FALSE);
  SetDlgItemInt(dialog, COLOR_GREEN, g, FALSE);
  SetDlgItemInt(dialog, COLOR_BLUE, b, FALSE);
  SendMessageA(GetDlgItem(dialog, COLOR_ADD), BM_CLICK, 0, 0);
}

bool tsystemdialogdriver::ChooseFont(HWND dialog, const std::string& face, int points) {
  // Each list tells the dialog of the change, as it does when the user picks.
  auto pick = [dialog](int id, const std::string& text) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT i = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    if (i == CB_ERR) return false;
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
  };
  return pick(cmb1, face) && pick(cmb3, std::to_string(points));
}

}  // namespace pendo::test
