// Comma and plus separated text, fixed-size splits and small conversions.
// Everything works on bytes: the texts are code page 932 and a separator is
// always a single-byte character, which never occurs as a lead byte.
#pragma once

#include <array>
#include <string>

namespace pendo {

constexpr int kMaxSlots = 24;
using ttextslots = std::array<std::string, kMaxSlots>;

// Splits text at sep into slots; limit is the last slot index to fill, or -1.
// Returns the number of pieces produced (at least 1).
int SplitText(const std::string& text, char sep, ttextslots& slots, int limit);

// The piece at index of a comma-separated text, or empty text.
std::string GetField(const std::string& text, int index);

std::string LeftText(const std::string& text, int count);
std::string RightText(const std::string& text, int count);

bool IntToBool(int value);
int BoolToInt(bool value);

// Decimal integer, or hexadecimal after "$", with an optional sign; leading
// and trailing blanks are allowed, anything else (or a value outside 32 bits)
// is not an integer.
bool TryParseInteger(const std::string& text, int& value);
int ParseIntegerOr(const std::string& text, int fallback);

}  // namespace pendo
