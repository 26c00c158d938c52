#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Columns.h"
#include "store/Problem.h"
#include "store/TicketRules.h"

namespace cli {

using store::kHighestNumber;
using store::kLowestNumber;
using store::kNumbersPerTicket;

// A ticket's numbers as whole numbers, in the order written.
using SixNumbers = std::array<int, kNumbersPerTicket>;

// The words of a line of numbers: runs of ASCII letters and digits. Everything else separates
// them, so blanks, tabs, commas, semicolons, dashes, dots, quotes and any other byte all work as
// separators, as spreadsheets and hand-typed lists use them.
std::vector<std::string_view> NumberWords(std::string_view text);

bool IsLetterOrDigit(char c);
bool IsDigits(std::string_view word);  // true for the empty word too

// Six different whole numbers from 1 to 59 from the words of a line (see NumberWords), in the
// order written. Why they were refused is a problem with no path: the caller names the line.
store::Result<SixNumbers> SixNumbersOf(const std::vector<std::string_view>& words);

// Why `count` numbers are no ticket: "holds 5 numbers, not 6".
std::string WrongCountProblem(std::size_t count);

// A word as shown in a problem: cut when long, so one wild line cannot flood the report.
std::string ShownWord(std::string_view word);

// The stored form of a ticket: two digits per number, joined by "-", e.g. "05-12-30-41-08-55".
std::string TicketText(const SixNumbers& numbers);

struct RefusedLine {
  std::size_t line = 0;
  std::string problem;
};

// The refused lines are part of what was read, not a failure: they are reported even when the
// import goes on with the other lines (--skip-bad).
struct TicketLines {
  std::vector<std::string> tickets;  // stored form, in the order of the lines
  std::vector<RefusedLine> refused;
  std::string stopped;  // why reading stopped before the end (see TicketLineReader), or empty
};

// The tickets of an import text (UTF-8, a byte-order mark skipped), cut into lines as LineCutter
// cuts an import file, one per row of a spreadsheet or line of plain text; the
// separator is detected from the first line. Rows without any number or letter are skipped; so is
// the first other row when none of its fields is a number, as a heading ("n1,n2,..."). Without
// `columns` a row's fields that are whole numbers must be six, and are the ticket; other fields,
// such as a date or a name, are passed over. A row of one field is cut into its words, so
// "05-12-30-41-08-55" is a ticket too. With `columns` the six picked fields are the ticket; when
// they are picked by name, the first row is the heading that holds the names. A problem, with no
// path, says why the text as a whole cannot be read, e.g. a picked column is unknown.
store::Result<TicketLines> ParseTicketLines(std::string_view text,
                                            const std::vector<ColumnPick>& columns = {});

// After this many refused lines an import stops reading: the rest is surely no list of tickets.
inline constexpr std::size_t kMaxRefusedLines = 1000;

// ParseTicketLines a line at a time, for input of any length. Reading stops once kMaxRefusedLines
// lines were refused or more rows were read than a data file can hold tickets: Add then gives
// false, and the lines say why they stopped.
class TicketLineReader {
 public:
  explicit TicketLineReader(std::vector<ColumnPick> columns = {});
  // Judges line `line` (from 1), without its line end; an `overlong` one, cut, is refused.
  // False when reading should stop.
  bool Add(std::size_t line, std::string_view text, bool overlong = false);
  store::Result<TicketLines> Finish();

 private:
  void Resolve(const std::vector<std::string>& heading);
  void Refuse(std::size_t line, std::string reason);

  std::vector<ColumnPick> columns_;
  std::optional<std::vector<std::size_t>> places_;
  std::optional<char> separator_;
  bool firstRow_ = true;
  std::string problem_;
  TicketLines lines_;
};

}  // namespace cli
