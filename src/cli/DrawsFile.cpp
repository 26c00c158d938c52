#include "cli/DrawsFile.h"

namespace cli {

namespace {

constexpr std::string_view kFieldSeparators = ",;\t";
constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    return {};
  }
  return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

// The date is shown in the report, so control characters from a damaged file must not reach the
// terminal.
std::string PrintableDate(std::string_view date) {
  std::string text(date);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      c = '?';
    }
  }
  return text;
}

struct SplitLine {
  std::string_view date;
  std::string_view numbers;
};

SplitLine SplitDate(std::string_view line) {
  const std::string_view separators =
      line.find_first_of(kFieldSeparators) != std::string_view::npos ? kFieldSeparators : kBlanks;
  const std::size_t start = line.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    return {};
  }
  if (line[start] == '"') {
    const std::size_t close = line.find('"', start + 1);
    if (close != std::string_view::npos) {
      const std::size_t end = line.find_first_of(separators, close + 1);
      return {Trimmed(line.substr(start + 1, close - start - 1)),
              end == std::string_view::npos ? std::string_view{} : line.substr(end + 1)};
    }
  }
  const std::size_t end = line.find_first_of(separators, start);
  if (end == std::string_view::npos) {
    return {Trimmed(line.substr(start)), {}};
  }
  return {Trimmed(line.substr(start, end - start)), line.substr(end + 1)};
}

}  // namespace

DrawLines ParseDrawLines(std::string_view text) {
  DrawLines result;
  bool firstLine = true;
  ForEachLine(text, [&](std::size_t line, std::string_view lineText) {
    if (NumberWords(lineText).empty()) {
      return;
    }
    const SplitLine split = SplitDate(lineText);
    const bool heading = firstLine && HoldsLetter(split.numbers);
    firstLine = false;
    if (heading) {
      return;
    }
    if (split.date.empty()) {
      result.refused.push_back({line, "has no date before the six numbers"});
      return;
    }
    const store::Result<SixNumbers> parsed = ParseSixNumbers(split.numbers);
    if (!parsed) {
      result.refused.push_back(
          {line, "after the date \"" + PrintableDate(split.date) + "\": " + parsed.error().reason});
      return;
    }
    result.draws.push_back({line, PrintableDate(split.date), *parsed});
  });
  return result;
}

}  // namespace cli
