#pragma once

#include <string_view>

namespace store {

// Blanks as the data file knows them: space and tab, nothing else.
inline constexpr std::string_view kBlanks = " \t";

inline std::string_view TrimBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    return {};
  }
  const std::size_t end = text.find_last_not_of(kBlanks);
  return text.substr(start, end - start + 1);
}

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace store
