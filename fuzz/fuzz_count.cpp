// Fuzzes the conversion of a count text into a 16-bit count.
//
// Whatever the text: no crash, a success carries code 0 and a failure code 13 or 6 with the
// value 0, blanks around the text change nothing, and a character that no number form uses
// makes it "not a number". Texts of the plain forms are checked against simple references: a
// decimal integer of any length, a decimal with a fraction of up to 15 significant digits
// (rounded half to even), and "&H"/"&O" literals.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "store/CountConversion.h"

#define FUZZ_CHECK(condition)                                                   \
  do {                                                                          \
    if (!(condition)) {                                                         \
      std::fprintf(stderr, "fuzz_count: %s (line %d)\n", #condition, __LINE__); \
      std::abort();                                                             \
    }                                                                           \
  } while (false)

namespace {

struct Expected {
  bool ok;
  int value;
  int code;
};

constexpr Expected kNotANumber{false, 0, store::kTypeMismatchNumber};
constexpr Expected kOverflow{false, 0, store::kOverflowNumber};

Expected InRange(long long value) {
  if (value < -32768 || value > 32767) {
    return kOverflow;
  }
  return {true, static_cast<int>(value), 0};
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// [+-] digits [. digits] or [+-] . digits, with no exponent.
std::optional<Expected> ReferenceDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() && fraction.empty()) {
    return std::nullopt;
  }
  for (const std::string_view part : {whole, fraction}) {
    for (const char c : part) {
      if (!IsDigit(c)) {
        return std::nullopt;
      }
    }
  }
  std::string_view significant = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
  if (significant.size() > 6) {
    return kOverflow;
  }
  if (significant.size() + fraction.size() > 15 &&
      fraction.find_first_not_of('0') != std::string_view::npos) {
    return std::nullopt;  // beyond what the double the conversion goes through can tell apart
  }
  long long magnitude = 0;
  for (const char c : significant) {
    magnitude = magnitude * 10 + (c - '0');
  }
  if (!fraction.empty()) {
    const char first = fraction.front();
    const bool restZero = fraction.find_first_not_of('0', 1) == std::string_view::npos;
    if (first > '5' || (first == '5' && !restZero) || (first == '5' && magnitude % 2 == 1)) {
      ++magnitude;
    }
  }
  return InRange(negative ? -magnitude : magnitude);
}

// "&H" or "&O" and digits of that base: up to 16 bits a 16-bit pattern, up to 32 bits a 32-bit
// one; anything else starting with "&" is not a number.
Expected ReferenceLiteral(std::string_view text) {
  if (text.size() < 3) {
    return kNotANumber;
  }
  const char kind = text[1];
  const int base = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
  if (base == 0) {
    return kNotANumber;
  }
  unsigned long long value = 0;
  bool tooWide = false;
  for (const char c : text.substr(2)) {
    int digit = -1;
    if (IsDigit(c)) {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    }
    if (digit < 0 || digit >= base) {
      return kNotANumber;
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    tooWide = tooWide || value > 0xFFFFFFFFull;
    if (tooWide) {
      value = 0xFFFFFFFFull + 1;
    }
  }
  if (tooWide) {
    return kOverflow;
  }
  if (value <= 0xFFFF) {
    return InRange(value >= 0x8000 ? static_cast<long long>(value) - 0x10000
                                   : static_cast<long long>(value));
  }
  return InRange(value >= 0x80000000ull ? static_cast<long long>(value) - 0x100000000ll
                                        : static_cast<long long>(value));
}

bool UsedByANumber(char c) {
  constexpr std::string_view kNumberCharacters = "0123456789+-.eEdD&hHoOabcfABCF";
  return kNumberCharacters.find(c) != std::string_view::npos;
}

// The conversion as the three figures the caller sees: whether it succeeded, the value (0 on
// failure) and the error number (0 on success).
Expected Seen(const store::CountResult& result) {
  if (result)
    return {true, *result, 0};
  return {false, 0, store::ErrorNumberOf(result.error())};
}

bool Same(const store::CountResult& a, const store::CountResult& b) {
  const Expected x = Seen(a);
  const Expected y = Seen(b);
  return x.ok == y.ok && x.value == y.value && x.code == y.code;
}

void CheckAgainst(const store::CountResult& result, const Expected& expected) {
  const Expected seen = Seen(result);
  FUZZ_CHECK(seen.ok == expected.ok);
  FUZZ_CHECK(seen.value == expected.value);
  FUZZ_CHECK(seen.code == expected.code);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const store::CountResult result = store::ConvertCount(text);

  if (result) {
    FUZZ_CHECK(*result >= -32768 && *result <= 32767);
  } else {
    const int code = store::ErrorNumberOf(result.error());
    FUZZ_CHECK(code == store::kTypeMismatchNumber || code == store::kOverflowNumber);
  }
  FUZZ_CHECK(Same(store::ConvertCount(" \t" + text + "\t "), result));

  const std::string_view trimmed = Trim(text);
  if (trimmed.empty()) {
    CheckAgainst(result, kNotANumber);
    return 0;
  }
  for (const char c : trimmed) {
    if (!UsedByANumber(c)) {
      CheckAgainst(result, kNotANumber);
      return 0;
    }
  }
  if (trimmed.front() == '&') {
    CheckAgainst(result, ReferenceLiteral(trimmed));
  } else if (const std::optional<Expected> expected = ReferenceDecimal(trimmed)) {
    CheckAgainst(result, *expected);
  }
  return 0;
}
