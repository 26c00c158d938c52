#pragma once

#include <array>
#include <string>
#include <string_view>

#include "store/TicketRules.h"

namespace store {

// A ticket (or the winning number) as text: six two-digit fields joined by "-", "00" for an
// empty field, e.g. "05-12-19-33-40-52".
using PlayFields = std::array<std::string, kNumbersPerTicket>;

// Field k (1..6) is the two characters starting at character 3k-2 (counted from 1). A shorter
// text yields what is there: one character or the empty text. Separators are never looked at.
std::string_view PlayNumberField(std::string_view text, int k);
PlayFields SplitPlayNumber(std::string_view text);

// The six texts joined by "-".
std::string JoinPlayNumber(const PlayFields& fields);

// Whether a field is exactly two decimal digits, as every field the program writes is.
inline bool IsTwoDigits(std::string_view field) {
  return field.size() == 2 && field[0] >= '0' && field[0] <= '9' && field[1] >= '0' &&
         field[1] <= '9';
}

// A number 1..59 as two digits ("05"), 0 as "00".
std::string TwoDigitField(int number);

}  // namespace store
