#include "cli/CsvRecords.h"

#include <algorithm>
#include <array>

#include "cli/NumberLines.h"
#include "store/TextUtil.h"

namespace cli {

namespace {

constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// One line of CSV. A field in double quotes may hold the separator, and "" in it is one quote; a
// quote still open at the end of the line ends there, as spreadsheets read it.
CsvRecord CsvLine(std::string_view text, std::size_t line, char separator) {
  CsvRecord record;
  record.line = line;
  std::size_t i = 0;
  for (;;) {
    std::size_t look = i;
    while (look < text.size() && IsBlank(text[look]) && text[look] != separator) {
      ++look;
    }
    std::string field;
    if (look < text.size() && text[look] == '"') {
      i = look + 1;
      bool closed = false;
      while (i < text.size() && !closed) {
        if (text[i] != '"') {
          field.push_back(text[i++]);
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          field.push_back('"');
          i += 2;
        } else {
          closed = true;
          ++i;
        }
      }
      if (!closed && record.unclosedQuote == 0) {
        record.unclosedQuote = record.fields.size() + 1;
      }
    }
    // Whatever follows a closing quote up to the separator is kept, as spreadsheets do.
    while (i < text.size() && text[i] != separator) {
      field.push_back(text[i++]);
    }
    record.fields.emplace_back(store::TrimBlanks(field));
    if (i >= text.size()) {
      return record;
    }
    ++i;
  }
}

CsvRecord BlankSeparatedLine(std::string_view lineText, std::size_t line) {
  CsvRecord record;
  record.line = line;
  for (std::size_t start = lineText.find_first_not_of(store::kBlanks);
       start != std::string_view::npos;) {
    const std::size_t end = lineText.find_first_of(store::kBlanks, start);
    record.fields.emplace_back(lineText.substr(start, end - start));
    start = lineText.find_first_not_of(store::kBlanks, end);
  }
  return record;
}

}  // namespace

char DetectSeparator(std::string_view text) {
  std::array<std::size_t, kSeparators.size()> counts{};
  bool inQuotes = false;
  bool meaningful = false;
  for (const char c : text) {
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (inQuotes && !IsLineEnd(c)) {
      meaningful = meaningful || IsLetterOrDigit(c);
    } else if (IsLineEnd(c)) {
      if (meaningful) {
        break;
      }
      counts = {};
      inQuotes = false;
    } else {
      meaningful = meaningful || IsLetterOrDigit(c);
      for (std::size_t k = 0; k < kSeparators.size(); ++k) {
        counts[k] += c == kSeparators[k] ? 1 : 0;
      }
    }
  }
  // The first of equal counts wins.
  const auto best = std::max_element(counts.begin(), counts.end());
  return *best > 0 ? kSeparators[static_cast<std::size_t>(best - counts.begin())] : kBlankSeparated;
}

CsvRecord ParseRecord(std::string_view line, std::size_t number, char separator) {
  return separator == kBlankSeparated ? BlankSeparatedLine(line, number)
                                      : CsvLine(line, number, separator);
}

}  // namespace cli
