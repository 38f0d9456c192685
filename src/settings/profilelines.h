// Splitting a profile file into lines and joining them back.
#pragma once

#include <string>
#include <vector>

namespace pendo {

// Lines end at CR LF, a lone LF or a lone CR; a last line without an end is
// still a line. Every other byte, NUL included, stays in its line.
std::vector<std::string> SplitProfileLines(const std::string& bytes);

// Each line followed by CR LF.
std::string JoinProfileLines(const std::vector<std::string>& lines);

}  // namespace pendo
