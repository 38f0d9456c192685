// The desktop's background (colour and wallpaper) under a place on the
// screen. The desktop window is asked to paint it where it does so on
// request; where it does not (under Wine its wallpaper lives only in the
// process that shows the desktop), the wallpaper named by the system settings
// is drawn here as the desktop draws it: centred, tiled or stretched over the
// desktop colour.
#pragma once

#include <windows.h>

namespace pendo {

class tdesktopbackground {
 public:
  // Paints the background into dc, whose point (0, 0) lies on the screen at origin.
  // Returns the erase result (non-zero when painted).
  static LRESULT Paint(HDC dc, POINT origin);
  // Whether the desktop window paints its own background into a given DC.
  static bool DesktopPaintsOnRequest();
  // Forgets the loaded wallpaper; the next paint reads the settings again.
  static void Reload();
  // Draws the settings' wallpaper; used where the desktop does not paint on request.
  static void PaintWallpaper(HDC dc, POINT origin, const RECT& area);
};

}  // namespace pendo
