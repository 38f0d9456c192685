// The display resolution a window is shown at, asked of the system through
// the functions newer versions have (looked up once, never imported, so the
// programs still start where they are missing) and else of the screen's DC.
#pragma once

#include <windows.h>

#include "settings/dpiscale.h"

namespace pendo {

// Sent when a window moves to a monitor of another resolution: the new DPI
// in the low word of wParam, the suggested window rectangle in lParam.
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED

// The resolution new windows start at (the system's), and a window's own.
int SystemDpi();
int WindowDpi(HWND window);
// The window rectangle around a client rectangle, with the frame the
// system draws at dpi.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace pendo
