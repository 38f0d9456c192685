// Pixel memory in unnamed mappings backed by the page file, and GDI palettes
// made from a colour table.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/pixelmemory.h"
#include "settings/uniquehandle.h"

namespace pendo {

namespace {
long g_blocks = 0;
}

tfilemapblock AllocFileMap(uint64_t size) {
  if (size > kMaxPixelBytes) throw EOutOfResources();
  // A mapping cannot be empty; an empty picture still gets one byte.
  const DWORD bytes = size == 0 ? 1 : static_cast<DWORD>(size);
  tkernelhandle map(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bytes, nullptr));
  if (!map) throw EOutOfResources();
  void* view = MapViewOfFile(map.get(), FILE_MAP_WRITE, 0, 0, 0);
  if (view == nullptr) throw EOutOfResources();
  ++g_blocks;
  // From here the block's owner (tpixelblock, tdibinfo) frees it.
  return {map.release(), static_cast<uint8_t*>(view)};
}

void ReleaseFileMap(void* handle, void* view) {
  if (view == nullptr) return;
  // Failures are only worth a diagnostic; the program goes on.
  const BOOL unmapped = UnmapViewOfFile(view);
  (void)unmapped;  // "ReleaseFileMap: Failed To Unmap View of File map"
  tkernelhandle map(static_cast<HANDLE>(handle));
  const bool closed = CloseKernelHandle(map);
  (void)closed;  // "ReleaseFileMap: Failed To Close File Map"
  --g_blocks;
}

long MappedBlockCount() { return g_blocks; }

void* CreatePaletteFromTable(const tdibrgbquad* colors, uint32_t count) {
  std::vector<unsigned char> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (count > 0 ? count : 1));
  auto* pal = reinterpret_cast<LOGPALETTE*>(buffer.data());
  pal->palVersion = 0x300;
  pal->palNumEntries = static_cast<WORD>(count);
  for (uint32_t i = 0; i < count; ++i) {
    pal->palPalEntry[i].peRed = colors[i].rgbRed;
    pal->palPalEntry[i].peGreen = colors[i].rgbGreen;
    pal->palPalEntry[i].peBlue = colors[i].rgbBlue;
    pal->palPalEntry[i].peFlags = 0;
  }
  HPALETTE handle = CreatePalette(pal);
  if (handle == nullptr) throw EOutOfResources();
  return handle;
}

void DeletePaletteHandle(void* palette) { DeleteObject(static_cast<HGDIOBJ>(palette)); }

}  // namespace pendo
