#include "framework/windowentry.h"

#include <stdexcept>
#include <string>

#include "framework/application.h"
#include "settings/widetext.h"

namespace pendo {

void RegisterWindowClass(WNDCLASSW wc) {
  wc.hInstance = GetModuleHandleW(nullptr);
  WNDCLASSW existing;
  if (GetClassInfoW(wc.hInstance, wc.lpszClassName, &existing)) return;
  if (!RegisterClassW(&wc))
    throw std::runtime_error("cannot register window class " + Narrow(wc.lpszClassName) + " (error " +
                             std::to_string(GetLastError()) + ")");
}

void ReportException(const std::exception* error) {
  if (Application) Application->HandleException(error);
}

}  // namespace pendo
