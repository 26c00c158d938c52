#include "store/CountConversion.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "store/TextUtil.h"

namespace store {

namespace {

Unexpected NotANumber() {
  return Fail("", "Type mismatch", ProblemKind::NotANumber);
}

Unexpected OutOfRange() {
  return Fail("", "Overflow", ProblemKind::OutOfRange);
}

CountResult InRange(long long value) {
  if (value < INT16_MIN || value > INT16_MAX) {
    return OutOfRange();
  }
  return static_cast<std::int16_t>(value);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

// "&H..." and "&O..." literals are bit patterns: one that fits in 16 bits is a 16-bit two's
// complement ("&HFFFF" is -1), one that fits in 32 bits a 32-bit one, and the result must then
// fit the count's range.
CountResult ConvertLiteral(std::string_view text) {
  if (text.size() < 3) {
    return NotANumber();
  }
  const char kind = AsciiLower(text[1]);
  const int base = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
  if (base == 0) {
    return NotANumber();
  }
  std::uint64_t value = 0;
  bool tooWide = false;
  for (const char c : text.substr(2)) {
    const int digit = DigitValue(c, base);
    if (digit < 0) {
      return NotANumber();
    }
    if (!tooWide) {
      value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
      tooWide = value > 0xFFFFFFFFull;
    }
  }
  if (tooWide) {
    return OutOfRange();
  }
  if (value <= 0xFFFF) {
    return InRange(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
  }
  return InRange(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

CountResult ConvertDecimal(std::string_view text) {
  // Check the shape first and build a plain form for from_chars, which is independent of the
  // locale (a program may run with a decimal comma).
  std::string plain;
  plain.reserve(text.size());
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') {
      plain.push_back('-');
    }
    ++i;
  }
  std::size_t mantissaDigits = 0;
  long long magnitude = 0;  // digits before the point, or minus the zeros right after it
  bool seenNonZero = false;
  bool afterPoint = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++mantissaDigits;
      if (c != '0') {
        seenNonZero = true;
      }
      if (!afterPoint && seenNonZero) {
        ++magnitude;
      } else if (afterPoint && !seenNonZero) {
        --magnitude;
      }
      plain.push_back(c);
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      plain.push_back(c);
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) {
    return NotANumber();
  }
  long long exponent = 0;
  if (i < text.size()) {
    const char marker = AsciiLower(text[i]);
    if (marker != 'e' && marker != 'd') {
      return NotANumber();
    }
    plain.push_back('e');
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negative = text[i] == '-';
      if (negative) {
        plain.push_back('-');
      }
      ++i;
    }
    const std::size_t digitsStart = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
      plain.push_back(text[i]);
      if (exponent < 1'000'000'000) {
        exponent = exponent * 10 + (text[i] - '0');
      }
    }
    if (i == digitsStart || i != text.size()) {
      return NotANumber();
    }
    if (negative) {
      exponent = -exponent;
    }
  }
  if (!seenNonZero) {
    return std::int16_t{0};
  }
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Beyond what a double holds: either far too large or practically zero.
    return magnitude + exponent > 0 ? OutOfRange() : CountResult(std::int16_t{0});
  }
  if (error != std::errc() || end != plain.data() + plain.size()) {
    return NotANumber();
  }
  // The current rounding mode is to nearest, ties to even: 2.5 gives 2, 3.5 gives 4.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= INT16_MIN && rounded <= INT16_MAX)) {
    return OutOfRange();
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

CountResult ConvertCount(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) {
    return NotANumber();
  }
  if (text.front() == '&') {
    return ConvertLiteral(text);
  }
  return ConvertDecimal(text);
}

}  // namespace store
