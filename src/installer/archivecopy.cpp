#include "installer/archivecopy.h"

#include <algorithm>

namespace pendo {

bool CopyArchiveBytes(std::uint64_t size, std::vector<char>& buffer, const ArchiveRead& read,
                      const ArchiveWrite& write) {
  if (size > 0 && buffer.empty()) return false;
  while (size > 0) {
    const auto piece = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, buffer.size()));
    std::uint32_t got = 0;
    while (got < piece) {
      const std::uint32_t n = read(buffer.data() + got, piece - got);
      if (n == 0) break;
      got += std::min(n, piece - got);
    }
    // What was read is written even when the archive ended early, then the
    // copy fails: the file never holds bytes the archive did not give.
    if (got > 0 && !write(buffer.data(), got)) return false;
    if (got < piece) return false;
    size -= piece;
  }
  return true;
}

}  // namespace pendo
