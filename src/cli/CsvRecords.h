#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Fields separated by runs of blanks rather than by one separator character.
inline constexpr char kBlankSeparated = ' ';

struct CsvRecord {
  std::size_t line = 0;             // line of its first character, from 1
  std::vector<std::string> fields;  // quotes removed, blanks around each field removed
  bool unclosedQuote = false;       // a quoted field ran to the end of the text
};

// The separator of a spreadsheet text: the one of ",", ";" and tab found most often outside
// quotes in the first line that holds a letter or a digit (a comma wins a tie, then a
// semicolon). Without any of them the fields are separated by blanks.
char DetectSeparator(std::string_view text);

// Calls `visit` with each record of `text`. With a separator character the text is read as CSV
// is written: a field in double quotes may hold the separator and line breaks, and "" in it is
// one quote. With kBlankSeparated each line is a record and quotes are ordinary characters.
// CR LF, LF and CR all end a line.
void ForEachRecord(std::string_view text, char separator,
                   const std::function<void(const CsvRecord&)>& visit);

}  // namespace cli
