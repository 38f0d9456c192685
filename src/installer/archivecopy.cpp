#include "installer/archivecopy.h"

#include <algorithm>

namespace pendo {

bool CopyArchiveBytes(std::uint64_t size, std::uint32_t piece, const tarchivenext& next, const tarchivewrite& write) {
  if (size > 0 && piece == 0) return false;
  while (size > 0) {
    const auto want = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, piece));
    std::uint32_t got = 0;
    const char* bytes = next(want, got);
    if (got == 0 || !bytes) return false;  // the archive ended early
    got = std::min(got, want);
    if (!write(bytes, got)) return false;
    size -= got;
  }
  return true;
}

namespace {

struct tcrctable {
  std::uint32_t entry[256];
  tcrctable() {
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
      entry[i] = c;
    }
  }
};

}  // namespace

std::uint32_t Crc32(const char* bytes, std::size_t count, std::uint32_t crc) {
  static const tcrctable table;
  crc = ~crc;
  for (std::size_t i = 0; i < count; ++i) crc = table.entry[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

}  // namespace pendo
