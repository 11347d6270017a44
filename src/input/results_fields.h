// How the readers of a results file read its numbers: one definition for both.
#pragma once

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace guidegate {

// A line or column number as the analyzer writes it: a positive decimal; anything
// else (absent, negative, not a number, out of range) is 0, "not said".
inline int positionNumber(const char* text) {
  if (!text || *text < '0' || *text > '9') return 0;
  const char* const end = text + std::strlen(text);
  int value = 0;
  const auto [stop, error] = std::from_chars(text, end, value);
  if (error != std::errc() || stop != end || value <= 0) return 0;
  return value;
}

// The leading decimal number of a text, as atoi reads it (0 when there is none), kept
// within the range of int instead of overflowing.
inline int versionNumber(const char* text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace guidegate
