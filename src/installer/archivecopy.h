// Copying one file's bytes out of the archive, in pieces no larger than the
// copy buffer, so that a size above the buffer never writes past it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace pendo {

// Reads up to count bytes into buffer; returns how many it got, 0 at the end.
using ArchiveRead = std::function<std::uint32_t(char* buffer, std::uint32_t count)>;
// Writes count bytes; false on failure.
using ArchiveWrite = std::function<bool(const char* bytes, std::uint32_t count)>;

// Copies size bytes from read to write through buffer (its size is the piece
// size). Returns false when the source ends early or a write fails; write
// only ever receives bytes that read delivered.
bool CopyArchiveBytes(std::uint64_t size, std::vector<char>& buffer, const ArchiveRead& read,
                      const ArchiveWrite& write);

}  // namespace pendo
