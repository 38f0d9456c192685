// Errors of the bitmap engine. Every one carries the same fixed text, so a
// caller tells them apart by class, never by message.
#pragma once

#include <new>
#include <stdexcept>

namespace pendo {

inline constexpr const char* kBitmapErrorText = "encounted error.";

class EtbitmapexError : public std::runtime_error {
 public:
  EtbitmapexError() : std::runtime_error(kBitmapErrorText) {}
};

// The header, the pixel data or a run-length stream does not describe a
// usable picture.
class EtbitmapexInvalidDIB : public EtbitmapexError {};
// A file that is not a bitmap file, or that is cut short or lies about its size.
class EtbitmapexInvalidDIBFile : public EtbitmapexError {};
// A caller asked for an impossible picture (size, depth or colour count).
class EtbitmapexInvalidDIBPara : public EtbitmapexError {};
// A routine was given pixels of a format it does not handle.
class EtbitmapexBadDIBType : public EtbitmapexError {};
class EtbitmapexPixelPositionRange : public EtbitmapexError {};
class EtbitmapexInvalidPalette : public EtbitmapexError {};
// Run-length output would not be smaller than the plain pixels.
class EtbitmapexCompressionFailed : public EtbitmapexError {};

// The system could not give shared memory or a palette.
class EOutOfResources : public std::runtime_error {
 public:
  EOutOfResources() : std::runtime_error(kBitmapErrorText) {}
};

// Runs work; the heap running out becomes EOutOfResources, so that no caller
// of the engine meets a bare std::bad_alloc.
template <class Work>
auto OutOfResourcesOnBadAlloc(Work&& work) -> decltype(work()) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    throw EOutOfResources();
  }
}

// A global memory block for the clipboard could not be allocated.
class EOutOfMemory : public std::runtime_error {
 public:
  EOutOfMemory() : std::runtime_error(kBitmapErrorText) {}
};

// A stream refused bytes the engine wrote to it.
class EWriteError : public std::runtime_error {
 public:
  EWriteError() : std::runtime_error(kBitmapErrorText) {}
};

}  // namespace pendo
