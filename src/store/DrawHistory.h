#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/Problem.h"
#include "store/TicketRules.h"

// The draws a lottery held: reading the files lotteries publish and the plain lists people keep,
// and the user's own draw history, kept in the published form.
namespace store {

// A day as yyyymmdd, so that later days compare greater; 0 for none.
using DrawDay = int;

struct Draw {
  DrawDay date = 0;
  int number = 0;                              // the lottery's draw number; 0 when not given
  std::array<int, kNumbersPerTicket> balls{};  // in the order written
  int bonus = 0;                               // the bonus ball; 0 when not given
  std::string ballSet;                         // as published, may be empty
  std::string machine;                         // as published, may be empty
};

struct RefusedDraw {
  std::size_t line = 0;  // from 1
  std::string reason;
};

struct DrawsRead {
  std::vector<Draw> draws;  // in file order
  std::vector<RefusedDraw> refused;
  std::size_t refusedCount = 0;  // refused rows, also those past the ones kept in `refused`
};

// The most refusals kept with their reason, and the most draws read from one file: a wild or
// endless file costs bounded memory.
inline constexpr std::size_t kMostRefusalsKept = 1000;
inline constexpr std::size_t kMostDraws = 250'000;

// Reads draws from a file's bytes: UTF-8 with or without a byte-order mark, or UTF-16 with one;
// CR LF, LF or CR line ends. Two forms:
//  - The published form: a heading row that names the columns (DrawDate, Ball 1..Ball 6,
//    Bonus Ball, Ball Set, Machine, DrawNumber; case and blanks ignored, other columns passed
//    over), then one draw a row; fields separated by commas, semicolons or tabs, and a field in
//    double quotes may hold the separator.
//  - Plain lines: a date, then six numbers and, optionally, the bonus ball as a seventh, with
//    any separators ("2024-01-06,5,12,23,34,45,56,7" or "06.01.2024 5 12 23 34 45 56").
// Lines without a letter or digit are skipped. A row is refused, with its line and reason, for a
// number outside 1-59, a number twice, a bonus equal to one of the six, or a date that cannot be
// read (DD-Mon-YYYY, YYYY-MM-DD, DD.MM.YYYY, DD/MM/YYYY and DD-MM-YYYY are read).
DrawsRead ReadDraws(std::string_view bytes);

// A date as text to a day; 0 when it cannot be read.
DrawDay ParseDrawDay(std::string_view text);
// "18-Feb-2026", as the published form writes it.
std::string DrawDayText(DrawDay day);

// The published form of `draws`, heading first, one row a draw in the order given, LF line ends.
std::string DrawsCsv(const std::vector<Draw>& draws);

// Where the user's draw history is kept: $XDG_DATA_HOME/pelmora/draws.csv, else
// ~/.local/share/pelmora/draws.csv; empty when there is no home.
std::string DrawHistoryPath();

// The draws of the history at `path`, newest first; a missing file holds none. Rows that cannot
// be read (the file was edited by hand) are in `refused`.
Result<DrawsRead> ReadDrawHistory(const std::string& path);

struct DrawConflict {
  Draw stored;
  Draw incoming;
};

// What adding draws to a history did.
struct DrawMerge {
  std::size_t added = 0;
  std::size_t unchanged = 0;
  std::size_t replaced = 0;             // conflicts the incoming draw replaced
  std::vector<DrawConflict> conflicts;  // the same draw with another result
};

// Merges `incoming` into `history` (newest first afterwards): a draw is the same draw when its
// number is, or, where either has no number, its day. A new draw is added, an identical one left,
// and a draw whose result differs is a conflict: left as stored unless `replace`.
DrawMerge MergeDraws(std::vector<Draw>& history, const std::vector<Draw>& incoming, bool replace);

// The same on the history file, as one locked read-change-write that replaces the file whole
// (see DataFileChange.h); the folder is made when missing. A history holding rows that cannot
// be read is not changed, since writing it again would drop them.
Result<DrawMerge> AddToDrawHistory(const std::string& path, const std::vector<Draw>& incoming,
                                   bool replace);

}  // namespace store
