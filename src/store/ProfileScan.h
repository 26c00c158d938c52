#pragma once

// One pass over the keys of a section without building a document. Reading all tickets at
// start-up and in every command-line check goes through here, so it finds each line's end and
// its first '=' in one sweep, sixteen bytes at a time (eight where SSE2 is missing), and calls
// the visitor without an indirect call.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  std::size_t equals = std::string_view::npos;
  const char* const data = text.data();
  std::size_t p = pos;
#if defined(__SSE2__)
  // Sixteen bytes at a time, one compare per character sought: a ticket line takes two blocks.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i eq = _mm_set1_epi8('=');
  for (; p + 16 <= text.size(); p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
    const auto ends = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
    const auto eqs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, eq)));
    if (ends != 0) {
      const std::size_t stop = p + static_cast<std::size_t>(std::countr_zero(ends));
      if (equals == std::string_view::npos && eqs != 0) {
        const std::size_t at = p + static_cast<std::size_t>(std::countr_zero(eqs));
        equals = at < stop ? at : equals;
      }
      return {stop, equals};
    }
    if (equals == std::string_view::npos && eqs != 0) {
      equals = p + static_cast<std::size_t>(std::countr_zero(eqs));
    }
  }
#else
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  // A byte of `word` equal to `c` sets its high bit; only bytes above a true hit can be set
  // falsely, so the lowest set bit is exact.
  const auto hits = [](std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHigh;
  };
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
#endif
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

// Where a line's text stops, from `pos` inside it: its first CR or LF, or the end of the text.
inline std::size_t FindLineEnd(std::string_view text, std::size_t pos) {
#if defined(__SSE2__)
  const char* const data = text.data();
  std::size_t p = pos;
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; p + 16 <= text.size(); p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
    const auto ends = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
    if (ends != 0) {
      return p + static_cast<std::size_t>(std::countr_zero(ends));
    }
  }
  while (p < text.size() && data[p] != '\r' && data[p] != '\n') {
    ++p;
  }
  return p;
#else
  return FindLineStops(text, pos).stop;
#endif
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

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Whether the text from `start` to `stop`, after a key line's '=', is its value as read as it
// stands: not empty, no blank at either end, no quote in front.
inline bool IsBareValue(std::string_view bytes, std::size_t start, std::size_t stop) {
  if (start >= stop) {
    return false;
  }
  const char front = bytes[start];
  return !IsBlank(front) && front != '"' && front != '\'' && !IsBlank(bytes[stop - 1]);
}

// Whether the line at `lineStart` is a key line "name=value" with nothing to trim or unquote: then
// its name and value as read are the spans on either side of its first '='. Nearly every line of
// a data file is one, and these few compares stand in for the trimming loops.
inline bool IsBareKeyLine(std::string_view bytes, std::size_t lineStart, LineStops stops) {
  // Also false when there is no '=' (npos).
  if (stops.equals <= lineStart || stops.equals >= stops.stop) {
    return false;
  }
  const char nameFront = bytes[lineStart];
  return !IsBlank(nameFront) && nameFront != ';' && nameFront != '[' &&
         !IsBlank(bytes[stops.equals - 1]) && IsBareValue(bytes, stops.equals + 1, stops.stop);
}

// For a reader whose lines mostly have one shape: offered each line of the section first, it
// takes the line whole and gives the position after it, or gives npos to leave it to `visit`.
// Taking a line must do exactly what visiting it would.
struct TakeNoLine {
  std::size_t operator()(std::size_t) const { return std::string_view::npos; }
};

template <typename Visit, typename TakeLine = TakeNoLine>
void ForEachKey(std::string_view bytes, std::string_view section, Visit& visit,
                TakeLine takeLine = {}) {
  section = TrimBlanks(section);
  std::size_t pos = bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  bool inSection = false;
  while (pos < bytes.size()) {
    if (inSection) {
      if (const std::size_t next = takeLine(pos); next != std::string_view::npos) {
        pos = next;
        continue;
      }
    }
    const LineStops stops = FindLineStops(bytes, pos);
    const std::string_view text = bytes.substr(pos, stops.stop - pos);
    const std::size_t lineStart = pos;
    pos = AfterLineEnd(bytes, stops.stop);
    if (inSection && IsBareKeyLine(bytes, lineStart, stops)) {
      if (!visit(bytes.substr(lineStart, stops.equals - lineStart),
                 bytes.substr(stops.equals + 1, stops.stop - stops.equals - 1))) {
        return;
      }
      continue;
    }
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
