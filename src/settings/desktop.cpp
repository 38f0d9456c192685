#include "settings/desktop.h"

namespace pendo {

namespace {
POINT CursorPos() {
  POINT p{0, 0};
  GetCursorPos(&p);
  return p;
}

RECT WorkArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}
}  // namespace

int GetCursorX() { return CursorPos().x; }
int GetCursorY() { return CursorPos().y; }
int GetWorkAreaRight() { return WorkArea().right; }
int GetWorkAreaBottom() { return WorkArea().bottom; }

namespace {
tscreenrect ScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  auto& areas = *reinterpret_cast<std::vector<tmonitorarea>*>(list);
  tmonitorarea area{ScreenRect(info.rcMonitor), ScreenRect(info.rcWork)};
  // No exception may cross the system's call.
  try {
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
      // The work area the docking commands use; some systems (Wine) report
      // it here only.
      area.work = ScreenRect(WorkArea());
      areas.insert(areas.begin(), area);
    } else {
      areas.push_back(area);
    }
  } catch (...) {
    return FALSE;
  }
  return TRUE;
}
}  // namespace

std::vector<tmonitorarea> MonitorAreas() {
  std::vector<tmonitorarea> areas;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

}  // namespace pendo
