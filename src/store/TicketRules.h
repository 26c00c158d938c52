#pragma once

#include <string_view>

// What a ticket is, and the names the data file keeps tickets under. Every layer takes these
// from here; nothing else spells them.
namespace store {

// A ticket (and the winning number) is six numbers from 1 to 59.
inline constexpr int kNumbersPerTicket = 6;
inline constexpr int kLowestNumber = 1;
inline constexpr int kHighestNumber = 59;

// A field with no number, and a ticket or winning number with none, as the file writes them.
inline constexpr std::string_view kEmptyField = "00";
inline constexpr std::string_view kEmptyPlayNumber = "00-00-00-00-00-00";

// The most tickets one data file holds: ticket keys and the count are 16-bit integers.
inline constexpr int kMaxTickets = 32767;

// The data file's names. The file compares names without regard to case; writers use these
// spellings ("Total" is how a ticket's addition writes the count).
inline constexpr std::string_view kSection = "Numbers";
inline constexpr std::string_view kTotalKey = "TOTAL";
inline constexpr std::string_view kTotalKeyAsAdded = "Total";
inline constexpr std::string_view kWinningKey = "W";
// The winning number is saved under these spellings, which a file without the key then shows.
inline constexpr std::string_view kSectionAsWinningSaved = "numbers";
inline constexpr std::string_view kWinningKeyAsSaved = "w";

}  // namespace store
