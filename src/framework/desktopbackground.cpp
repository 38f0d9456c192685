#include "framework/desktopbackground.h"

#include <string>

#include "framework/handles.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

enum class tlayout { Centre, Tile, Stretch };

struct twallpaper {
  bool loaded = false;
  std::string path;
  tlayout layout = tlayout::Centre;
  tmemorydc dc;
  tbitmaphandle bitmap;
  HGDIOBJ old = nullptr;
  int width = 0, height = 0;

  void Clear() {
    if (dc && old) SelectObject(dc.get(), old);
    old = nullptr;
    dc.reset();
    bitmap.reset();
    width = height = 0;
    loaded = false;
  }
  ~twallpaper() { Clear(); }
};

twallpaper& Cache() {
  static twallpaper w;
  return w;
}

std::string DesktopValue(const wchar_t* name) {
  HKEY opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  const tregistryhandle key(opened);
  wchar_t buffer[64] = {0};
  DWORD size = sizeof buffer - sizeof buffer[0], type = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    return Narrow(buffer);
  return {};
}

void Load(twallpaper& w) {
  w.Clear();
  w.loaded = true;
  wchar_t path[MAX_PATH] = {0};
  if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0) || !path[0]) return;
  w.path = Narrow(path);
  const std::string style = DesktopValue(L"WallpaperStyle");
  if (DesktopValue(L"TileWallpaper") == "1") w.layout = tlayout::Tile;
  else if (style == "2" || style == "6" || style == "10") w.layout = tlayout::Stretch;
  else w.layout = tlayout::Centre;
  HANDLE h = LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  if (!h) return;  // not a bitmap we can read: the desktop colour alone
  w.bitmap.reset(static_cast<HBITMAP>(h));
  BITMAP bm{};
  GetObjectW(w.bitmap.get(), sizeof bm, &bm);
  w.width = bm.bmWidth;
  w.height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  w.dc.reset(CreateCompatibleDC(nullptr));
  if (!w.dc) {
    w.bitmap.reset();
    return;
  }
  w.old = SelectObject(w.dc.get(), w.bitmap.get());
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

int probeResult = -1;

}  // namespace

void tdesktopbackground::Reload() {
  Cache().Clear();
  probeResult = -1;
}

bool tdesktopbackground::DesktopPaintsOnRequest() {
  if (probeResult >= 0) return probeResult != 0;
  probeResult = 0;
  if (UnderWine()) return false;
  // Ask the desktop to paint over two different marks; if both marks survive it paints nothing.
  tmemorydc dc(CreateCompatibleDC(nullptr));
  twindowdc screen(nullptr);
  tbitmaphandle bitmap(CreateCompatibleBitmap(screen.get(), 1, 1));
  if (!dc || !bitmap) return false;
  tselection sel(dc.get(), bitmap.get());
  int untouched = 0;
  for (COLORREF mark : {RGB(255, 0, 255), RGB(1, 254, 3)}) {
    SetPixelV(dc.get(), 0, 0, mark);
    DefWindowProcW(GetDesktopWindow(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    if (GetPixel(dc.get(), 0, 0) == mark) ++untouched;
  }
  probeResult = untouched == 2 ? 0 : 1;
  return probeResult != 0;
}

LRESULT tdesktopbackground::Paint(HDC dc, POINT origin) {
  if (DesktopPaintsOnRequest())
    return DefWindowProcW(GetDesktopWindow(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT area;
  if (GetClipBox(dc, &area) == ERROR) return 0;
  PaintWallpaper(dc, origin, area);
  return 1;
}

void tdesktopbackground::PaintWallpaper(HDC dc, POINT origin, const RECT& area) {
  twallpaper& w = Cache();
  if (!w.loaded) Load(w);
  tbrushhandle colour(CreateSolidBrush(GetSysColor(COLOR_BACKGROUND)));
  FillRect(dc, &area, colour.get());
  if (!w.bitmap) return;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  // Screen point s lies at s - origin in dc.
  switch (w.layout) {
    case tlayout::Stretch:
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, -origin.x, -origin.y, sw, sh, w.dc.get(), 0, 0, w.width, w.height, SRCCOPY);
      break;
    case tlayout::Tile: {
      if (w.width <= 0 || w.height <= 0) break;
      const int left = area.left + origin.x, top = area.top + origin.y;
      const int right = area.right + origin.x, bottom = area.bottom + origin.y;
      auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
      for (int ty = floorDiv(top, w.height) * w.height; ty < bottom; ty += w.height)
        for (int tx = floorDiv(left, w.width) * w.width; tx < right; tx += w.width)
          BitBlt(dc, tx - origin.x, ty - origin.y, w.width, w.height, w.dc.get(), 0, 0, SRCCOPY);
      break;
    }
    case tlayout::Centre:
      BitBlt(dc, (sw - w.width) / 2 - origin.x, (sh - w.height) / 2 - origin.y, w.width, w.height, w.dc.get(), 0,
             0, SRCCOPY);
      break;
  }
}

}  // namespace pendo
