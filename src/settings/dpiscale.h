// Pixels at a display resolution from the 96-DPI pixels forms, looks and
// profiles are written in. Platform-free: the panels' compose functions
// scale with it as the framework does.
#pragma once

#include <cstdint>

namespace pendo {

constexpr int kDesignDpi = 96;
// Beyond these no display goes; a message that says otherwise is clamped.
constexpr int kMinimumDpi = 48, kMaximumDpi = 960;

// A usable resolution: nothing (0 or less) means the design's, the rest is
// clamped into the range.
constexpr int ClampDpi(int dpi) {
  return dpi <= 0 ? kDesignDpi : dpi < kMinimumDpi ? kMinimumDpi : dpi > kMaximumDpi ? kMaximumDpi : dpi;
}

// value × to / from, rounded half away from zero as MulDiv does.
constexpr int ScaleBetween(int value, int to, int from) {
  if (from <= 0 || to == from) return value;
  const std::int64_t product = static_cast<std::int64_t>(value) * to;
  const std::int64_t half = from / 2;
  return static_cast<int>(product >= 0 ? (product + half) / from : -((-product + half) / from));
}

// A 96-DPI length at dpi, and back.
constexpr int ScaleToDpi(int value, int dpi) { return ScaleBetween(value, dpi, kDesignDpi); }
constexpr int ScaleFromDpi(int value, int dpi) { return ScaleBetween(value, kDesignDpi, dpi); }

}  // namespace pendo
