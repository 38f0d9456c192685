#include "framework/commondialog.h"

#include <commdlg.h>

#include <stdexcept>
#include <string>

#include "settings/systemlibrary.h"

namespace pendo::commondialog {

void* Function(const char* name, const char* what) {
  void* function = SystemProcedure(L"comdlg32.dll", name);
  if (!function) throw std::runtime_error(std::string("the ") + what + " dialog is not available");
  return function;
}

bool Ended(BOOL chosen, const char* what) {
  if (chosen) return true;
  const auto error = reinterpret_cast<decltype(&CommDlgExtendedError)>(Function("CommDlgExtendedError", what));
  if (const DWORD code = error())
    throw std::runtime_error(std::string("the ") + what + " dialog failed (error " + std::to_string(code) + ")");
  return false;
}

}  // namespace pendo::commondialog
