// The clipboard's packed DIB (CF_DIB) in global memory.
#include <windows.h>

#include <cstring>
#include <vector>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/internaldib.h"

namespace pendo {

namespace {

// Keeps a global block locked for the life of the scope.
class tgloballockguard {
 public:
  explicit tgloballockguard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  ~tgloballockguard() {
    if (data_ != nullptr) GlobalUnlock(block_);
  }
  tgloballockguard(const tgloballockguard&) = delete;
  tgloballockguard& operator=(const tgloballockguard&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace

void tinternaldib::LoadFromHandle(void* global) {
  const HGLOBAL block = static_cast<HGLOBAL>(global);
  tgloballockguard lock(block);
  if (lock.Data() == nullptr) throw EtbitmapexInvalidDIB();
  LoadFromPackedDib(static_cast<const uint8_t*>(lock.Data()), GlobalSize(block));
}

void* tinternaldib::SaveToHandle() const {
  const std::vector<uint8_t> dib = SavePackedDib();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, dib.size());
  if (block == nullptr) throw EOutOfMemory();
  {
    tgloballockguard lock(block);
    if (lock.Data() == nullptr) {
      GlobalFree(block);
      throw EOutOfMemory();
    }
    std::memcpy(lock.Data(), dib.data(), dib.size());
  }
  return block;
}

}  // namespace pendo
