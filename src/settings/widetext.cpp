#include "settings/widetext.h"

#include <windows.h>

namespace pendo {

namespace {
constexpr UINT kCodePage = 932;
}

std::wstring Wide(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(kCodePage, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(kCodePage, 0, text.data(), size, &out[0], n);
  return out;
}

namespace {
std::string ToCodePage(std::wstring_view text, BOOL* lost) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  // No best fit: a look-alike would name another file.
  const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, "?", lost);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0) WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size, &out[0], n, "?", lost);
  return out;
}
}  // namespace

std::string Narrow(std::wstring_view text) { return ToCodePage(text, nullptr); }

bool NarrowExact(std::wstring_view text, std::string& out) {
  BOOL lost = FALSE;
  std::string narrow = ToCodePage(text, &lost);
  if (lost) return false;
  out = std::move(narrow);
  return true;
}

}  // namespace pendo
