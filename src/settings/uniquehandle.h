// One owning wrapper for every raw handle: each frees its handle exactly
// once with the function that matches it. The kernel's handles (files,
// mappings, mutexes, processes, folder searches, registry keys) live here,
// below the framework, so that every library can hold them; the framework
// adds its GDI and USER ones (framework/handles.h).
#pragma once

#include <windows.h>

#include <utility>

namespace pendo {

template <class H, class Traits>
class tuniquehandle {
 public:
  tuniquehandle() = default;
  explicit tuniquehandle(H h) : h_(h) {}
  ~tuniquehandle() { reset(); }
  tuniquehandle(const tuniquehandle&) = delete;
  tuniquehandle& operator=(const tuniquehandle&) = delete;
  tuniquehandle(tuniquehandle&& o) noexcept : h_(o.release()) {}
  tuniquehandle& operator=(tuniquehandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (h_) Traits::Free(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

struct tkerneltraits {
  static bool Free(HANDLE h) { return CloseHandle(h) != FALSE; }
};

struct tfindtraits {
  static bool Free(HANDLE h) { return FindClose(h) != FALSE; }
};
struct tregistrykeytraits {
  static bool Free(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};

using tkernelhandle = tuniquehandle<HANDLE, tkerneltraits>;
// A folder search of FindFirstFile.
using tfindhandle = tuniquehandle<HANDLE, tfindtraits>;
using tregistryhandle = tuniquehandle<HKEY, tregistrykeytraits>;

// CreateFile's failure is INVALID_HANDLE_VALUE, every other kernel call's is
// null: both become an empty handle.
inline tkernelhandle OwnFileHandle(HANDLE h) { return tkernelhandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }
inline tfindhandle OwnFindHandle(HANDLE h) { return tfindhandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }

// Closes at once, for a written file whose close is its last write: false
// when the system reports that it failed.
inline bool CloseKernelHandle(tkernelhandle& h) { return !h || tkerneltraits::Free(h.release()); }

}  // namespace pendo
