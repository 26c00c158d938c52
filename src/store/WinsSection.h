#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/Problem.h"

// What belongs to a ticket file beside its tickets: the draws it plays and which of its wins were
// claimed. Kept in a section of its own, so that [Numbers] stays exactly as it always was and
// the marks travel with the tickets, into every kept version too:
//
//   [Wins]
//   Since=2025-09-06
//   Until=2026-02-18
//   Claim.3147.12=2026-03-01,2026-02-18,05-12-19-33-40-52
//
// A claim key names the draw (its number, or its date where the draw has none) and the ticket's
// key; its value is the day it was claimed, the draw's day and the ticket's text as it was then,
// so that a mark still finds its ticket after tickets before it were deleted. A name already taken
// by another mark gets "~2", "~3" and so on at its end.
namespace store {

inline constexpr std::string_view kWinsSection = "Wins";
inline constexpr std::string_view kSinceKey = "Since";
inline constexpr std::string_view kUntilKey = "Until";
inline constexpr std::string_view kClaimPrefix = "Claim.";

// A day as yyyymmdd (20260218), so that later days compare greater; 0 for none. The same form as
// the days of the draw history.
using Day = int;

// 20260218 to "2026-02-18"; empty for 0.
std::string IsoDayText(Day day);
// The day `days` after `day` (before, when negative).
Day AddDays(Day day, int days);
// How many days `to` lies after `from` (negative when before).
int DaysBetween(Day from, Day to);
// Today on the local calendar.
Day Today();

struct ClaimMark {
  std::string key;     // as it stands in the file
  int drawNumber = 0;  // 0 when the draw is named by its day
  Day drawDay = 0;     // the draw's day
  int ticket = 0;      // the ticket's key when it was claimed, from 1
  std::string ticketText;
  Day claimedOn = 0;

  // The key a mark of this draw and ticket is written under.
  static std::string KeyFor(int drawNumber, Day drawDay, int ticket);
};

struct WinsSection {
  Day since = 0;                  // 0: not set
  Day until = 0;                  // 0: no end
  std::vector<ClaimMark> claims;  // in file order; marks that cannot be read are not among them
  // One sentence per value that could not be read, naming its key. Such values are left in the
  // file as they are and otherwise passed over, so a section another program broke never stops
  // the tickets from opening.
  std::vector<std::string> problems;
};

// The section as read from a data file's bytes (UTF-8, as ReadWholeFile gives them). A missing
// section reads as empty. Reads the text once, looking at no line outside the section.
WinsSection ParseWinsSection(std::string_view bytes);
// The same from the file; a missing file reads as empty, one that cannot be read fails.
Result<WinsSection> ReadWinsSection(const std::string& path);

// A day typed for Since or Until: ISO form, or empty for none. Fails with the key named.
Result<Day> ReadPlayingDay(std::string_view key, std::string_view text);

// Writes Since and Until (0 removes the key) in one locked change of the data file; refuses an
// end before the start, and a file that does not exist (the section never makes a data file).
Result<void> SetPlayingDays(const std::string& path, Day since, Day until);

// Marks wins claimed, each on its `claimedOn` (under its key, or with "~2" and on where another
// mark holds that name), or, with `claimed` false, removes the marks stored under their keys (the
// old file is kept as a version first). One locked change for them all.
Result<void> SetClaimed(const std::string& path, const std::vector<ClaimMark>& marks, bool claimed);

}  // namespace store
