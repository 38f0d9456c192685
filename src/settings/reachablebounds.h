// Where a window must stand for the user to reach it: a monitor unplugged or
// a resolution made smaller can leave a window where nobody sees it. A rule
// of rectangles in screen coordinates, apart from the screens themselves.
#pragma once

#include <vector>

namespace pendo {

struct tscreenrect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const tscreenrect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct tmonitorarea {
  tscreenrect monitor;
  tscreenrect work;  // the monitor less the task bar
};

// What of a window must show, each way, in some monitor's work area: enough
// to take it with the mouse.
constexpr int kReachablePart = 16;

// The window's bounds kept no larger than the desktop (all monitors
// together), then moved into the work area of the monitor nearest to it
// when less than kReachablePart of it shows in every work area; a window
// the user left partly off the screen stays where it is. Unchanged without
// monitors.
tscreenrect ReachableBounds(const tscreenrect& window, const std::vector<tmonitorarea>& monitors);

}  // namespace pendo
