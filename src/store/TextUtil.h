#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace store {

// Blanks as the data file knows them: space and tab, nothing else.
inline constexpr std::string_view kBlanks = " \t";

// The text without the blanks at either end; the empty text when it is all blanks.
inline std::string_view TrimBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    return {};
  }
  return text.substr(start, text.find_last_not_of(kBlanks) + 1 - start);
}

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// `text` as a CSV field: in double quotes, each quote doubled, when it holds a byte of `special`,
// and always when `special` is empty.
inline std::string CsvField(std::string_view text, std::string_view special) {
  if (!special.empty() && text.find_first_of(special) == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + '"';
}

}  // namespace store
