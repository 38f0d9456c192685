#include "framework/windowtext.h"

namespace pendo {

namespace {
std::wstring WideText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  if (n <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], n + 1)));
  return text;
}
}  // namespace

std::string GetText(HWND window) { return Narrow(WideText(window)); }

bool GetTextExact(HWND window, std::string& text) { return NarrowExact(WideText(window), text); }

bool SetText(HWND window, const std::string& text) { return SetWindowTextW(window, Wide(text).c_str()) != FALSE; }

int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), type);
}

}  // namespace pendo
