#include "framework/windowentry.h"

#include <stdexcept>
#include <string>

#include "framework/application.h"

namespace pendo {

void RegisterWindowClass(WNDCLASSA wc) {
  wc.hInstance = GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (GetClassInfoA(wc.hInstance, wc.lpszClassName, &existing)) return;
  if (!RegisterClassA(&wc))
    throw std::runtime_error(std::string("cannot register window class ") + wc.lpszClassName + " (error " +
                             std::to_string(GetLastError()) + ")");
}

void ReportException(const std::exception* error) {
  if (Application) Application->HandleException(error);
}

}  // namespace pendo
