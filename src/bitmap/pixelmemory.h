// Pixel memory: blocks backed by the system page file on Windows, plain
// zeroed heap blocks in the host build. Every block is zero-filled.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bitmap/dibformat.h"

namespace pendo {

struct tfilemapblock {
  void* Handle;
  uint8_t* View;
};

// A new zero-filled block of size bytes; EOutOfResources when the system
// cannot give it or size exceeds kMaxPixelBytes.
tfilemapblock AllocFileMap(uint64_t size);
// Unmaps and closes; failures are only diagnosed, never reported.
void ReleaseFileMap(void* handle, void* view);
// Blocks made and not yet released, for leak checks in tests.
long MappedBlockCount();

// Palette handles made from a colour table (GDI palettes on Windows).
void* CreatePaletteFromTable(const tdibrgbquad* colors, uint32_t count);
void DeletePaletteHandle(void* palette);

// Owns one block until it is handed to a tdibinfo.
class tpixelblock {
 public:
  explicit tpixelblock(uint64_t size) : size_(static_cast<uint32_t>(size)) {
    const tfilemapblock b = AllocFileMap(size);
    handle_ = b.Handle;
    view_ = b.View;
  }
  ~tpixelblock() {
    if (view_ != nullptr) ReleaseFileMap(handle_, view_);
  }
  tpixelblock(const tpixelblock&) = delete;
  tpixelblock& operator=(const tpixelblock&) = delete;

  uint8_t* Data() const { return view_; }
  uint32_t Size() const { return size_; }

  // Gives the block to info (which then owns it).
  void MoveInto(tdibinfo& info) {
    info.BitsSize = size_;
    info.FileMap = handle_;
    info.Bits = view_;
    handle_ = nullptr;
    view_ = nullptr;
  }

 private:
  uint32_t size_;
  void* handle_ = nullptr;
  uint8_t* view_ = nullptr;
};

// Releases a block owned by info and clears its pixel fields.
inline void ReleaseDibBits(tdibinfo& info) {
  if (info.Bits != nullptr) ReleaseFileMap(info.FileMap, info.Bits);
  info.BitsSize = 0;
  info.FileMap = nullptr;
  info.Bits = nullptr;
}

}  // namespace pendo
