#include "settings/desktop.h"

#include <memory>

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
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
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
  g_captionBuffer[0] = '\0';
  int n = GetWindowTextA(window, g_captionBuffer.get(), kCaptionSize);
  if (n < 0) n = 0;
  if (n > kCaptionSize - 1) n = kCaptionSize - 1;
  g_captionBuffer[n] = '\0';
  return std::string(g_captionBuffer.get());
}

}  // namespace pendo
