// Host stand-ins for the native tests and fuzzers: heap blocks, palettes as
// copies of the colour table.
#include <cstdlib>
#include <cstring>
#include <new>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/pixelmemory.h"

namespace pendo {

namespace {
long g_blocks = 0;
}

tfilemapblock AllocFileMap(uint64_t size) {
  if (size > kMaxPixelBytes) throw EOutOfResources();
  void* p = std::calloc(size == 0 ? 1 : static_cast<size_t>(size), 1);
  if (p == nullptr) throw EOutOfResources();
  ++g_blocks;
  return {p, static_cast<uint8_t*>(p)};
}

void ReleaseFileMap(void* handle, void* view) {
  if (view == nullptr) return;
  std::free(view);
  --g_blocks;
}

long MappedBlockCount() { return g_blocks; }

void* CreatePaletteFromTable(const tdibrgbquad* colors, uint32_t count) {
  auto* copy = new tdibrgbquad[count > 0 ? count : 1];
  std::memcpy(copy, colors, count * sizeof(tdibrgbquad));
  return copy;
}

void DeletePaletteHandle(void* palette) { delete[] static_cast<tdibrgbquad*>(palette); }

}  // namespace pendo
