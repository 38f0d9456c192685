// Sounds the tests play and what the Wine harness recorded of them: every
// sample played goes, in order, into one file on the Linux side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pendo::test {

// An 8-bit mono wave file in the test's own folder whose every sample is
// level, so that the recording shows which file played when.
std::string WriteLevelWave(const std::string& name, unsigned char level, std::uint32_t samples);

// The recording as a Windows path; empty outside the harness.
std::string RecordingPath();

// The samples recorded, without the silence the driver fills gaps with, once
// they are expect bytes, or what there is after 2 s.
std::string ReadRecording(const std::string& path, std::size_t expect);

// The levels of the runs of equal samples, in order.
std::vector<int> Levels(const std::string& bytes);

}  // namespace pendo::test
