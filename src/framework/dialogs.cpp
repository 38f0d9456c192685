#include "framework/dialogs.h"

#include <commdlg.h>

#include <vector>

#include "framework/application.h"
#include "framework/commondialog.h"
#include "framework/resource.h"
#include "framework/stdctrls.h"
#include "framework/types.h"
#include "framework/windowtext.h"

namespace pendo {

const char topendialog::kNameNotHeldText[] =
    "選ばれたファイルの名前には、このプログラムで扱えない文字が含まれています。\n"
    "名前を変えたファイルか、別のファイルを選んでください。";

topendialog::topendialog(tcomponent* owner) : tcomponent(owner) {}

std::string topendialog::SystemFilter(const std::string& filter) {
  std::string result;
  for (const std::string& part : SplitBarList(filter)) {
    result += part;
    result += '\0';
  }
  result += '\0';
  if (result.size() == 1) result += '\0';
  return result;
}

bool topendialog::Execute() {
  const std::wstring filter = Wide(SystemFilter(filter_));
  const std::wstring start = Wide(fileName_), initialDir = Wide(initialDir_), title = Wide(title_);
  std::vector<wchar_t> file(32768, L'\0');
  start.copy(file.data(), file.size() - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!RunCommonDialog("GetOpenFileNameW", ofn, "file")) return false;
  // Stored as code page 932, a name with a character outside it would lead
  // to another file or to none.
  std::string chosen;
  if (!NarrowExact(file.data(), chosen)) {
    ShowMessage(ofn.hwndOwner, kNameNotHeldText, Application ? Application->Title() : std::string(),
                MB_OK | MB_ICONWARNING);
    return false;
  }
  fileName_ = chosen;
  filterIndex_ = static_cast<int>(ofn.nFilterIndex);
  return true;
}

bool topendialog::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Filter") SetFilter(v);
  else if (n == "FilterIndex") SetFilterIndex(ParseInt(v));
  else if (n == "FileName") SetFileName(v);
  else if (n == "InitialDir") SetInitialDir(v);
  else if (n == "Title") SetTitle(v);
  else if (n == "Options") {
    // The dialog always asks for one existing-or-typed file name.
  } else return tcomponent::SetProperty(n, v, ctx);
  return true;
}

}  // namespace pendo
