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

// Eight tables, so that eight bytes take one step (slicing by eight): the
// archive's bytes are checked before every installation and every
// installed file again at removal.
struct tcrctables {
  std::uint32_t t[8][256];
  tcrctables() {
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
      t[0][i] = c;
    }
    for (int k = 1; k < 8; ++k) {
      for (std::uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
    }
  }
};

std::uint32_t Load32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::uint32_t Crc32(const char* bytes, std::size_t count, std::uint32_t crc) {
  static const tcrctables tables;
  const auto& t = tables.t;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  crc = ~crc;
  for (; count >= 8; count -= 8, p += 8) {
    const std::uint32_t lo = crc ^ Load32(p), hi = Load32(p + 4);
    crc = t[7][lo & 0xFFu] ^ t[6][(lo >> 8) & 0xFFu] ^ t[5][(lo >> 16) & 0xFFu] ^ t[4][lo >> 24] ^
          t[3][hi & 0xFFu] ^ t[2][(hi >> 8) & 0xFFu] ^ t[1][(hi >> 16) & 0xFFu] ^ t[0][hi >> 24];
  }
  for (; count > 0; --count, ++p) crc = t[0][(crc ^ *p) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

}  // namespace pendo
