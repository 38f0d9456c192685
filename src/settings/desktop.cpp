#include "settings/desktop.h"

#include <algorithm>
#include <memory>

#include "settings/widetext.h"

namespace pendo {

namespace {
constexpr int kCaptionSize = 256;
std::unique_ptr<char[]> g_captionBuffer;

POINT CursorPos() {
  POINT p{0, 0};
  GetCursorPos(&p);
  return p;
}

RECT WorkArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}
}  // namespace

int GetCursorX() { return CursorPos().x; }
int GetCursorY() { return CursorPos().y; }
int GetWorkAreaRight() { return WorkArea().right; }
int GetWorkAreaBottom() { return WorkArea().bottom; }

void AllocateCaptionBuffer() {
  if (!g_captionBuffer) g_captionBuffer.reset(new char[kCaptionSize]);
}

void FreeCaptionBuffer() { g_captionBuffer.reset(); }

std::string GetWindowCaption(HWND window) {
  // Callers outside the program's lifetime (tests, static teardown) still get an answer.
  AllocateCaptionBuffer();
  if (!window || !IsWindow(window)) return std::string();
  wchar_t wide[kCaptionSize] = L"";
  int w = GetWindowTextW(window, wide, kCaptionSize);
  if (w < 0) w = 0;
  const std::string text = Narrow(std::wstring_view(wide, static_cast<size_t>(w)));
  const size_t n = std::min(text.size(), static_cast<size_t>(kCaptionSize - 1));
  text.copy(g_captionBuffer.get(), n);
  g_captionBuffer[n] = '\0';
  return std::string(g_captionBuffer.get());
}

}  // namespace pendo
