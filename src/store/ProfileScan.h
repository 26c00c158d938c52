#pragma once

// One pass over the keys of a section without building a document. Reading all tickets at
// start-up and in every command-line check goes through here, so it finds each line's end and
// its first '=' in one sweep, eight bytes at a time, and calls the visitor without an indirect
// call.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "store/ProfileLines.h"
#include "store/TextUtil.h"

namespace store::scan {

// Where a line's text stops (its first CR or LF, or the end of the text) and its first '='
// before that, or npos.
struct LineStops {
  std::size_t stop;
  std::size_t equals;
};

inline LineStops FindLineStops(std::string_view text, std::size_t pos) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  // A byte of `word` equal to `c` sets its high bit; only bytes above a true hit can be set
  // falsely, so the lowest set bit is exact.
  const auto hits = [](std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHigh;
  };
  std::size_t equals = std::string_view::npos;
  const char* const data = text.data();
  std::size_t p = pos;
  if constexpr (std::endian::native == std::endian::little) {
    for (; p + 8 <= text.size(); p += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + p, sizeof word);
      const std::uint64_t ends = hits(word, '\r') | hits(word, '\n');
      std::uint64_t eq = equals == std::string_view::npos ? hits(word, '=') : 0;
      if (ends != 0) {
        const std::size_t stop = p + static_cast<std::size_t>(std::countr_zero(ends)) / 8;
        if (eq != 0) {
          const std::size_t at = p + static_cast<std::size_t>(std::countr_zero(eq)) / 8;
          equals = at < stop ? at : equals;
        }
        return {stop, equals};
      }
      if (eq != 0) {
        equals = p + static_cast<std::size_t>(std::countr_zero(eq)) / 8;
      }
    }
  }
  for (; p < text.size(); ++p) {
    const char c = data[p];
    if (c == '\r' || c == '\n') {
      break;
    }
    if (c == '=' && equals == std::string_view::npos) {
      equals = p;
    }
  }
  return {p, equals};
}

// Where the line after the one whose text stops at `stop` begins: CR LF, LF and CR each end one.
inline std::size_t AfterLineEnd(std::string_view text, std::size_t stop) {
  if (stop == text.size()) {
    return stop;
  }
  return text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? stop + 2
                                                                                : stop + 1;
}

// Where the first line from `pos` that is not blank begins, passing whole blank lines only.
inline std::size_t AfterBlankLines(std::string_view text, std::size_t pos) {
  std::size_t afterLastEnd = pos;
  std::size_t p = pos;
  for (; p < text.size(); ++p) {
    const char c = text[p];
    if (c == '\n' || c == '\r') {
      afterLastEnd = p + 1;
    } else if (c != ' ' && c != '\t') {
      return afterLastEnd;
    }
  }
  return p;
}

inline std::string_view TrimBlanksAtEnd(std::string_view text) {
  std::size_t size = text.size();
  while (size > 0 && (text[size - 1] == ' ' || text[size - 1] == '\t')) {
    --size;
  }
  // Empty as TrimBlanks gives it, with no place in the text.
  return size == 0 ? std::string_view() : text.substr(0, size);
}

// The same as ValueOfKeyLine, for a line whose first '=' is known.
inline std::string_view ValueAfter(std::string_view line, std::size_t equals) {
  std::size_t start = equals + 1;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) {
    ++start;
  }
  std::string_view value = TrimBlanksAtEnd(line.substr(start));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

template <typename Visit>
void ForEachKey(std::string_view bytes, std::string_view section, Visit& visit) {
  section = TrimBlanks(section);
  std::size_t pos = bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  bool inSection = false;
  while (pos < bytes.size()) {
    const LineStops stops = FindLineStops(bytes, pos);
    const std::string_view text = bytes.substr(pos, stops.stop - pos);
    const std::size_t lineStart = pos;
    pos = AfterLineEnd(bytes, stops.stop);
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
      ++start;
    }
    if (start == text.size()) {
      pos = AfterBlankLines(bytes, pos);
      continue;
    }
    if (text[start] == ';') {
      continue;
    }
    if (text[start] == '[') {
      const ClassifiedLine header = Classify(text);
      if (header.kind != ClassifiedLine::Header) {
        continue;
      }
      if (inSection) {
        return;  // a later section of the same name is never read
      }
      inSection = EqualsIgnoringAsciiCase(header.name, section);
      continue;
    }
    if (!inSection || stops.equals == std::string_view::npos) {
      continue;
    }
    const std::size_t equals = stops.equals - lineStart;
    const std::string_view name = TrimBlanksAtEnd(text.substr(start, equals - start));
    if (!visit(name, ValueAfter(text, equals))) {
      return;
    }
  }
}

}  // namespace store::scan
