// Cursor, work area and monitors.
#pragma once

#include <windows.h>

#include <vector>

#include "settings/reachablebounds.h"

namespace pendo {

int GetCursorX();
int GetCursorY();
int GetWorkAreaRight();
int GetWorkAreaBottom();
// Every monitor, the primary one first, with its work area.
std::vector<tmonitorarea> MonitorAreas();

}  // namespace pendo
