#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

inline constexpr int kSixNumbers = 6;
inline constexpr int kLowestNumber = 1;
inline constexpr int kHighestNumber = 59;

using SixNumbers = std::array<int, kSixNumbers>;

// The words of a line of numbers: runs of ASCII letters and digits. Everything else separates
// them, so blanks, tabs, commas, semicolons, dashes, dots, quotes and any other byte all work as
// separators, as spreadsheets and hand-typed lists use them.
std::vector<std::string_view> NumberWords(std::string_view text);

struct ParsedNumbers {
  bool ok = false;
  SixNumbers numbers{};  // in the order written
  std::string problem;   // why the text was refused, when not ok
};

// Six different whole numbers from 1 to 59, with any separators between them.
ParsedNumbers ParseSixNumbers(std::string_view text);

// The stored form of a ticket: two digits per number, joined by "-", e.g. "05-12-30-41-08-55".
std::string TicketText(const SixNumbers& numbers);

// Calls `visit` with the number (from 1) and the text of each line, without its line end. CR LF,
// LF and CR all end a line; a UTF-8 byte-order mark at the start is skipped.
void ForEachLine(std::string_view text,
                 const std::function<void(std::size_t, std::string_view)>& visit);

bool HoldsLetter(std::string_view text);

struct RefusedLine {
  std::size_t line = 0;
  std::string problem;
};

struct TicketLines {
  std::vector<std::string> tickets;  // stored form, in the order of the lines
  std::vector<RefusedLine> refused;
};

// The tickets of an import file, one per line. Lines without any number or letter are skipped;
// so is the first such line when it holds a letter, as a heading ("n1,n2,...").
TicketLines ParseTicketLines(std::string_view text);

}  // namespace cli
