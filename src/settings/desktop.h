// Cursor, work area and window captions.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/reachablebounds.h"

namespace pendo {

int GetCursorX();
int GetCursorY();
int GetWorkAreaRight();
int GetWorkAreaBottom();
// Every monitor, the primary one first, with its work area.
std::vector<tmonitorarea> MonitorAreas();

// The caption buffer lives from program start to exit.
void AllocateCaptionBuffer();
void FreeCaptionBuffer();
// The window's title, at most 255 bytes; empty for no window.
std::string GetWindowCaption(HWND window);

}  // namespace pendo
