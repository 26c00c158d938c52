#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Fields separated by runs of blanks rather than by one separator character.
inline constexpr char kBlankSeparated = ' ';

struct CsvRecord {
  std::size_t line = 0;             // line of its first character, from 1
  std::vector<std::string> fields;  // quotes removed, blanks around each field removed
  std::size_t unclosedQuote = 0;    // the column whose quote the line ended in, from 1; or 0
};

// The separator of a spreadsheet text: the one of ",", ";" and tab found most often outside
// quotes in the first line that holds a letter or a digit (a comma wins a tie, then a
// semicolon). Without any of them the fields are separated by blanks.
char DetectSeparator(std::string_view text);

// The record of one line (without its line end). With a separator character the line is read as
// CSV is written: a field in double quotes may hold the separator, and "" in it is one quote. A
// quote not closed by the end of the line ends there (a row of numbers never spans lines), so
// one stray quote spoils only its own line. With kBlankSeparated quotes are ordinary characters.
CsvRecord ParseRecord(std::string_view line, std::size_t number, char separator);

}  // namespace cli
