// The clipboard's packed DIB (CF_DIB) in global memory.
#include <windows.h>

#include <cstring>
#include <vector>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/internaldib.h"

namespace pendo {

namespace {

// Keeps a global block locked for the life of the scope.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  ~GlobalLockGuard() {
    if (data_ != nullptr) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace

void tinternaldib::LoadFromHandle(void* global) {
  const HGLOBAL block = static_cast<HGLOBAL>(global);
  GlobalLockGuard lock(block);
  if (lock.Data() == nullptr) throw EtbitmapexInvalidDIB();
  LoadFromPackedDib(static_cast<const uint8_t*>(lock.Data()), GlobalSize(block));
}

void* tinternaldib::SaveToHandle() const {
  const std::vector<uint8_t> dib = SavePackedDib();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, dib.size());
  if (block == nullptr) throw EOutOfMemory();
  {
    GlobalLockGuard lock(block);
    if (lock.Data() == nullptr) {
      GlobalFree(block);
      throw EOutOfMemory();
    }
    std::memcpy(lock.Data(), dib.data(), dib.size());
  }
  return block;
}

}  // namespace pendo
