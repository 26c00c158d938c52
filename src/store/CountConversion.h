#pragma once

#include <cstdint>
#include <string_view>

namespace store {

// Error codes of a failed count conversion.
inline constexpr int kTypeMismatch = 13;  // missing, empty or not a number
inline constexpr int kOverflow = 6;       // a number outside -32768..32767

struct CountResult {
  bool ok = false;
  std::int16_t value = 0;
  int errorCode = kTypeMismatch;
};

// Converts a count text into a 16-bit signed integer with the ordinary number conversion:
// surrounding blanks are allowed, an optional sign, decimal digits with an optional fraction
// and exponent (rounded half to even), or a "&H" (hex) / "&O" (octal) literal.
CountResult ConvertCount(std::string_view text);

}  // namespace store
