#include "settings/reachablebounds.h"

#include <algorithm>

namespace pendo {

namespace {
tscreenrect Intersection(const tscreenrect& a, const tscreenrect& b) {
  tscreenrect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

long long Area(const tscreenrect& r) { return static_cast<long long>(r.Width()) * r.Height(); }

// How far apart two rectangles are, squared (0 when they touch or overlap).
long long DistanceSquared(const tscreenrect& a, const tscreenrect& b) {
  const long long dx = std::max({0, b.left - a.right, a.left - b.right});
  const long long dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

// As the system picks a window's monitor: the one it covers most, else the
// closest one; the first of equals.
const tmonitorarea& Nearest(const tscreenrect& window, const std::vector<tmonitorarea>& monitors) {
  const tmonitorarea* best = &monitors.front();
  long long bestArea = -1, bestDistance = 0;
  for (const tmonitorarea& m : monitors) {
    const long long area = Area(Intersection(window, m.monitor));
    const long long distance = DistanceSquared(window, m.monitor);
    if (area > bestArea || (area == 0 && bestArea == 0 && distance < bestDistance)) {
      best = &m;
      bestArea = area;
      bestDistance = distance;
    }
  }
  return *best;
}

// The start of a span of length size moved into [low, high), or to low when
// it does not fit.
int Into(int start, int size, int low, int high) { return std::max(low, std::min(start, high - size)); }
}  // namespace

tscreenrect ReachableBounds(const tscreenrect& window, const std::vector<tmonitorarea>& monitors) {
  if (monitors.empty()) return window;
  tscreenrect desktop = monitors.front().monitor;
  for (const tmonitorarea& m : monitors) {
    desktop = {std::min(desktop.left, m.monitor.left), std::min(desktop.top, m.monitor.top),
               std::max(desktop.right, m.monitor.right), std::max(desktop.bottom, m.monitor.bottom)};
  }
  const int width = std::min(window.Width(), desktop.Width());
  const int height = std::min(window.Height(), desktop.Height());
  tscreenrect r{window.left, window.top, window.left + width, window.top + height};
  // A window smaller than the part asked for must show whole.
  const int wantWidth = std::min(kReachablePart, std::max(width, 1));
  const int wantHeight = std::min(kReachablePart, std::max(height, 1));
  for (const tmonitorarea& m : monitors) {
    const tscreenrect shown = Intersection(r, m.work);
    if (shown.Width() >= wantWidth && shown.Height() >= wantHeight) return r;
  }
  const tscreenrect& work = Nearest(r, monitors).work;
  const int left = Into(r.left, width, work.left, work.right);
  const int top = Into(r.top, height, work.top, work.bottom);
  return {left, top, left + width, top + height};
}

}  // namespace pendo
