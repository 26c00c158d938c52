#pragma once

#include <array>
#include <string>

#include "store/PlayNumber.h"
#include "store/TicketRules.h"

namespace check {

// The picks of one ticket (or of the winning number) on the grid of numbered boxes: which
// numbers are picked, how many more may be, and the six fields the picks fill in the order they
// were made. A new pick takes the leftmost empty field; an unpick empties its field in place.
class TicketPicks {
 public:
  TicketPicks() { Clear(); }

  // No picks and six empty fields.
  void Clear();
  // Starts from fields as the winning number holds them, before their boxes are picked; a field
  // shorter than two characters gains a leading "0" at once.
  void StartFrom(const store::PlayFields& fields);

  // A number from 1 to 59 becomes picked or unpicked. False when it already was (or was not), or
  // when it is outside the grid: nothing changes then.
  bool Pick(int n);
  bool Unpick(int n);

  bool IsPicked(int n) const;
  int Count() const { return count_; }
  int Limit() const { return store::kNumbersPerTicket; }
  bool Complete() const { return count_ == Limit(); }
  // At the limit only the picked boxes take a click; the others wait for an unpick.
  bool BoxEnabled(int n) const { return IsPicked(n) || !Complete(); }

  // The fields as text, "00" for an empty one, and the ticket text they make ("05-12-00-…").
  const store::PlayFields& Fields() const { return fields_; }
  std::string TicketText() const { return store::JoinPlayNumber(fields_); }

 private:
  void PadFields();

  std::array<bool, store::kHighestNumber> picked_{};  // whether number i + 1 is picked
  int count_ = 0;
  store::PlayFields fields_;
};

}  // namespace check
