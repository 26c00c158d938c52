#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/PrizeTable.h"
#include "check/Tiers.h"
#include "store/DrawHistory.h"
#include "store/TicketTexts.h"
#include "store/WinsSection.h"

// The wins of a ticket file: every win of tier 2 or better of its tickets in the draws it plays,
// when each must be claimed by, and which were claimed.
namespace check {

// A win may still be claimed on its deadline; from the day after, it has expired.
enum class WinState : std::uint8_t { ToClaim, Claimed, Expired };
inline constexpr int kReminderDays = 30;

// "to claim", "claimed", "expired".
const char* WinStateName(WinState state);

// The deadline rule, in one place: the last day a win of the draw held on `drawDay` can be
// claimed is that day plus `daysToClaim`. A win is claimed when marked so; otherwise it is to
// claim up to and including its deadline and expired after it. It is due soon when it is to claim
// and its deadline lies within `reminderDays` of `today` (today itself included).
store::Day ClaimDeadline(store::Day drawDay, int daysToClaim);
WinState StateOn(store::Day deadline, store::Day today, bool claimed);
bool DueSoon(store::Day deadline, store::Day today, bool claimed, int reminderDays = kReminderDays);

// Whether the draws a file plays (its Since and Until, 0 for open) include a draw's day.
bool Plays(const store::WinsSection& section, store::Day drawDay);

// One win, as a row shows it.
struct Win {
  std::size_t draw = 0;  // index into the draws the list was made from
  int ticket = 0;        // the ticket's key, from 1
  Tier tier = Tier::None;
  store::Day deadline = 0;
  WinState state = WinState::ToClaim;
  int mark = -1;  // the claimed mark (index into the section's claims), or -1
};

// A claimed mark that no longer belongs to a win, and why; it stays in the file.
struct LooseMark {
  std::size_t mark = 0;  // index into the section's claims
  std::string reason;
};

// The rows of one view of the list: every win, or those of one state.
class WinRows {
 public:
  std::size_t size() const { return count_; }
  // The position in the list's order of the row-th row.
  std::size_t Position(std::size_t row) const;

 private:
  friend class WinsList;
  struct Run {
    std::size_t row = 0;  // first row of the run
    std::size_t position = 0;
  };
  std::vector<Run> runs_;
  std::size_t count_ = 0;
};

// The wins, in this order: those to claim, soonest deadline first; then the others, newest draw
// first. Within a draw by ticket. Every win of every draw is listed, yet a win costs three bytes:
// a row is made when asked for.
class WinsList {
 public:
  WinsList() = default;
  // `draws` may be in any order; draws without a day are passed over.
  static WinsList Find(const store::TicketTexts& tickets, const std::vector<store::Draw>& draws,
                       const store::WinsSection& section, const PrizeTable& prizes,
                       store::Day today);

  std::size_t size() const { return ticketOf_.size(); }
  // The win at a position of the whole list.
  Win At(std::size_t position) const;
  // Every win (no state), or those of one state.
  WinRows Rows(std::optional<WinState> state = std::nullopt) const;

  std::size_t Count(WinState state) const { return counts_[static_cast<std::size_t>(state)]; }
  // The prizes of all wins, and of the wins of one state.
  const PrizeSum& Sum() const { return all_; }
  const PrizeSum& Sum(WinState state) const { return sums_[static_cast<std::size_t>(state)]; }

  // The wins to claim whose deadline is within the reminder window, and the first deadline.
  struct Due {
    std::size_t wins = 0;
    store::Day firstDeadline = 0;
  };
  Due DueWithin(int days = kReminderDays) const;

  const std::vector<LooseMark>& LooseMarks() const { return loose_; }
  store::Day Today() const { return today_; }

 private:
  struct Group {
    std::size_t draw = 0;
    std::size_t begin = 0;  // into ticketOf_ / tierOf_, and the position of its first win
    std::size_t end = 0;
    store::Day deadline = 0;
    std::array<std::uint32_t, kTierCount> tiers{};
  };
  std::size_t GroupAt(std::size_t position) const;

  std::vector<Group> groups_;            // in the list's order
  std::vector<std::uint16_t> ticketOf_;  // index of the ticket, win by win
  std::vector<Tier> tierOf_;
  std::vector<std::pair<std::size_t, int>> claimed_;  // position, mark; sorted by position
  std::vector<LooseMark> loose_;
  std::array<std::size_t, 3> counts_{};
  std::array<PrizeSum, 3> sums_{};
  PrizeSum all_;
  store::Day today_ = 0;
};

}  // namespace check
