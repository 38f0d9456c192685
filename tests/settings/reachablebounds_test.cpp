#include "settings/reachablebounds.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pendo;

TEST(ReachableBounds, AWindowNobodyCanReachComesOntoTheNearestWorkArea) {
  // 1024 x 768 with a task bar of 30 at the bottom; a second, taller monitor
  // to its right.
  const tmonitorarea primary{{0, 0, 1024, 768}, {0, 0, 1024, 738}};
  const tmonitorarea right{{1024, -200, 2304, 824}, {1024, -200, 2304, 824}};
  const std::vector<tmonitorarea> one{primary}, two{primary, right};
  const struct {
    const char* what;
    std::vector<tmonitorarea> monitors;
    tscreenrect window, expected;
  } cases[] = {
      {"on the screen", one, {40, 114, 165, 154}, {40, 114, 165, 154}},
      {"partly off, as the user left it", one, {-100, 100, 25, 140}, {-100, 100, 25, 140}},
      {"16 pixels showing in the corner", one, {1008, 722, 1133, 762}, {1008, 722, 1133, 762}},
      {"10 pixels showing", one, {1014, 100, 1139, 140}, {899, 100, 1024, 140}},
      {"off to the right and below", one, {1500, 900, 1625, 940}, {899, 698, 1024, 738}},
      {"off to the top left", one, {-500, -300, -432, -260}, {0, 0, 68, 40}},
      {"behind the task bar", one, {300, 740, 425, 780}, {300, 698, 425, 738}},
      {"wider and taller than the desktop", one, {40, 114, 100040, 50114}, {40, 114, 1064, 882}},
      {"on the second monitor", two, {1500, -150, 1625, -110}, {1500, -150, 1625, -110}},
      {"off the second monitor's right edge", two, {3000, 100, 3125, 140}, {2179, 100, 2304, 140}},
      {"above the first, nearest to it", two, {100, -400, 225, -360}, {100, 0, 225, 40}},
      {"as wide as both together", two, {0, 0, 5000, 40}, {0, 0, 2304, 40}},
      {"no monitor known", {}, {1500, 900, 1625, 940}, {1500, 900, 1625, 940}},
  };
  for (const auto& c : cases) {
    const tscreenrect r = ReachableBounds(c.window, c.monitors);
    EXPECT_TRUE(r == c.expected) << c.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}
