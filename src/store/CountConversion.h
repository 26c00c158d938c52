#pragma once

#include <cstdint>
#include <string_view>

#include "store/Problem.h"

namespace store {

// The error numbers a failed conversion is known by where a message shows a number.
inline constexpr int kTypeMismatchNumber = 13;  // missing, empty or not a number
inline constexpr int kOverflowNumber = 6;       // a number outside -32768..32767

// The error number of a problem of kind NotANumber or OutOfRange.
inline int ErrorNumberOf(const Problem& problem) {
  return problem.kind == ProblemKind::OutOfRange ? kOverflowNumber : kTypeMismatchNumber;
}

using CountResult = Result<std::int16_t>;

// Converts a count text into a 16-bit signed integer with the ordinary number conversion:
// surrounding blanks are allowed, an optional sign, decimal digits with an optional fraction
// and exponent (rounded half to even), or a "&H" (hex) / "&O" (octal) literal. A failure is of
// kind NotANumber or OutOfRange, with no path.
CountResult ConvertCount(std::string_view text);

}  // namespace store
