// Helpers of the Win32 bitmap tests: bitmaps made with known pixels and
// read back through GDI, and a hidden window to own the clipboard.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace pendo::test {

// Colours as GDI and tbitmapex give them: red in the low byte.
inline uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | g << 8 | b << 16; }

// A bitmap in the screen's own format.
inline HBITMAP ScreenBitmap(int w, int h) {
  HDC screen = GetDC(nullptr);
  HBITMAP b = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  return b;
}

// Sets every pixel of bitmap (w x h) to colorAt(x, y).
template <class F>
void PaintPixels(HBITMAP bitmap, int w, int h, F colorAt) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelV(dc, x, y, colorAt(x, y));
  SelectObject(dc, old);
  DeleteDC(dc);
}

// Every pixel of bitmap, top row first, as 0x00BBGGRR, read with GetDIBits.
inline std::vector<uint32_t> ReadPixels(HBITMAP bitmap) {
  BITMAP bm{};
  GetObjectA(bitmap, sizeof bm, &bm);
  const int h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = bm.bmWidth;
  bmi.bmiHeader.biHeight = -h;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> raw(static_cast<size_t>(bm.bmWidth) * h);
  HDC screen = GetDC(nullptr);
  const int lines = GetDIBits(screen, bitmap, 0, h, raw.data(), &bmi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != h) return {};
  for (uint32_t& p : raw) p = Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  return raw;
}

// A DIB section of bits per pixel with the given colour table; bits receives
// the pixel memory. Top-down when height is negative.
inline HBITMAP DibSection(int w, int h, int bits, const std::vector<uint32_t>& colors, void** pixels) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD table[256];
  } info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = w;
  info.header.biHeight = h;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biClrUsed = static_cast<DWORD>(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) {
    info.table[i].rgbRed = colors[i] & 0xFF;
    info.table[i].rgbGreen = (colors[i] >> 8) & 0xFF;
    info.table[i].rgbBlue = (colors[i] >> 16) & 0xFF;
  }
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, pixels, nullptr, 0);
}

// A hidden window of the test's own, to own the clipboard.
class TestWindow {
 public:
  TestWindow()
      : hwnd_(CreateWindowExA(0, "STATIC", "bitmapex test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr)) {}
  ~TestWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Palette of the given 0x00BBGGRR colours.
inline HPALETTE MakePalette(const std::vector<uint32_t>& colors) {
  std::vector<unsigned char> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * colors.size());
  auto* pal = reinterpret_cast<LOGPALETTE*>(buffer.data());
  pal->palVersion = 0x300;
  pal->palNumEntries = static_cast<WORD>(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) {
    pal->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(colors[i] & 0xFF), static_cast<BYTE>((colors[i] >> 8) & 0xFF),
                                       static_cast<BYTE>((colors[i] >> 16) & 0xFF), 0};
  }
  return CreatePalette(pal);
}

}  // namespace pendo::test
