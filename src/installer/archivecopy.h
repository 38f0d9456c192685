// Copying one file's bytes out of the archive, in pieces no larger than the
// copy piece, so that a size above it never needs a larger buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace pendo {

// The next bytes of the archive, at most want of them: a pointer valid until
// the next call, and in got how many (0 at the end or on failure).
using tarchivenext = std::function<const char*(std::uint32_t want, std::uint32_t& got)>;
// Writes count bytes; false on failure.
using tarchivewrite = std::function<bool(const char* bytes, std::uint32_t count)>;

// Copies size bytes from next to write in pieces of at most piece bytes.
// Returns false when the archive ends early or a write fails; write only
// ever receives bytes that next delivered.
bool CopyArchiveBytes(std::uint64_t size, std::uint32_t piece, const tarchivenext& next, const tarchivewrite& write);

// The CRC-32 (as zip and PNG use it) of count bytes, continuing from crc
// (0 for the first piece).
std::uint32_t Crc32(const char* bytes, std::size_t count, std::uint32_t crc = 0);

}  // namespace pendo
