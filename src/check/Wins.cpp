#include "check/Wins.h"

#include <algorithm>
#include <unordered_map>

#include "check/DrawWins.h"

namespace check {

const char* WinStateName(WinState state) {
  static constexpr const char* kNames[] = {"to claim", "claimed", "expired"};
  return kNames[static_cast<std::size_t>(state)];
}

store::Day ClaimDeadline(store::Day drawDay, int daysToClaim) {
  return store::AddDays(drawDay, daysToClaim);
}

WinState StateOn(store::Day deadline, store::Day today, bool claimed) {
  if (claimed) {
    return WinState::Claimed;
  }
  return today <= deadline ? WinState::ToClaim : WinState::Expired;
}

bool DueSoon(store::Day deadline, store::Day today, bool claimed, int reminderDays) {
  return StateOn(deadline, today, claimed) == WinState::ToClaim &&
         store::DaysBetween(today, deadline) <= reminderDays;
}

bool Plays(const store::WinsSection& section, store::Day drawDay) {
  return drawDay >= section.since && (section.until == 0 || drawDay <= section.until);
}

std::size_t WinRows::Position(std::size_t row) const {
  auto run = std::upper_bound(runs_.begin(), runs_.end(), row,
                              [](std::size_t r, const Run& run) { return r < run.row; });
  --run;
  return run->position + (row - run->row);
}

namespace {

std::string DrawName(const store::ClaimMark& mark) {
  return mark.drawNumber > 0 ? "draw " + std::to_string(mark.drawNumber)
                             : "the draw of " + store::IsoDayText(mark.drawDay);
}

}  // namespace

WinsList WinsList::Find(const store::TicketTexts& tickets, const std::vector<store::Draw>& draws,
                        const store::WinsSection& section, const PrizeTable& prizes,
                        store::Day today) {
  WinsList list;
  list.today_ = today;

  // The draws played, in the list's order: those still to claim soonest deadline first, then
  // the rest newest first.
  std::vector<Group> order;
  for (std::size_t d = 0; d < draws.size(); ++d) {
    if (draws[d].date != 0 && Plays(section, draws[d].date)) {
      order.push_back({d, 0, 0, ClaimDeadline(draws[d].date, prizes.daysToClaim), {}});
    }
  }
  const auto key = [today](const Group& g) {
    const bool open = g.deadline >= today;
    return std::pair{open ? 0 : 1, open ? g.deadline : -g.deadline};
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const Group& a, const Group& b) { return key(a) < key(b); });

  // A ticket index is kept in 16 bits: a data file holds at most 32,767 tickets.
  const std::size_t ticketCount = std::min<std::size_t>(tickets.size(), 65535);
  const TicketBallSets sets(tickets);
  for (Group& group : order) {
    group.begin = list.ticketOf_.size();
    sets.ForEachWin(draws[group.draw], [&](std::size_t ticket, Tier tier) {
      if (ticket < ticketCount) {
        list.ticketOf_.push_back(static_cast<std::uint16_t>(ticket));
        list.tierOf_.push_back(tier);
        ++group.tiers[static_cast<std::size_t>(tier)];
      }
    });
    group.end = list.ticketOf_.size();
    if (group.end > group.begin) {
      list.groups_.push_back(group);
    }
  }

  // Claimed marks find their win by draw, then by the ticket's key and text, or by its text alone
  // where tickets before it were deleted since.
  using Index = std::unordered_map<int, std::size_t>;
  Index groupOfNumber, groupOfDay, drawOfNumber, drawOfDay;
  const auto index = [](const store::Draw& draw, std::size_t at, Index& byNumber, Index& byDay) {
    if (draw.number > 0) {
      byNumber.emplace(draw.number, at);
    }
    byDay.emplace(draw.date, at);
  };
  for (std::size_t d = 0; d < draws.size(); ++d) {
    index(draws[d], d, drawOfNumber, drawOfDay);
  }
  for (std::size_t g = 0; g < list.groups_.size(); ++g) {
    index(draws[list.groups_[g].draw], g, groupOfNumber, groupOfDay);
  }
  std::vector<std::uint8_t> taken(list.ticketOf_.size());
  for (std::size_t m = 0; m < section.claims.size(); ++m) {
    const store::ClaimMark& mark = section.claims[m];
    const bool byNumber = mark.drawNumber > 0;
    const auto& drawMap = byNumber ? drawOfNumber : drawOfDay;
    const auto& groupMap = byNumber ? groupOfNumber : groupOfDay;
    const int drawKey = byNumber ? mark.drawNumber : mark.drawDay;
    if (!drawMap.contains(drawKey)) {
      list.loose_.push_back({m, DrawName(mark) + " is not in the draw history"});
      continue;
    }
    const auto group = groupMap.find(drawKey);
    if (!Plays(section, draws[drawMap.at(drawKey)].date)) {
      list.loose_.push_back({m, DrawName(mark) + " is outside the draws this file plays"});
      continue;
    }
    std::size_t found = list.ticketOf_.size();
    if (group != groupMap.end()) {
      const Group& g = list.groups_[group->second];
      const auto begin = list.ticketOf_.begin() + static_cast<std::ptrdiff_t>(g.begin);
      const auto end = list.ticketOf_.begin() + static_cast<std::ptrdiff_t>(g.end);
      const auto same = [&](std::size_t at) {
        return !taken[at] && tickets[list.ticketOf_[at]] == mark.ticketText;
      };
      const auto at = std::lower_bound(begin, end, mark.ticket - 1);
      if (at != end && *at == mark.ticket - 1 &&
          same(static_cast<std::size_t>(at - list.ticketOf_.begin()))) {
        found = static_cast<std::size_t>(at - list.ticketOf_.begin());
      } else {
        for (std::size_t p = g.begin; p < g.end; ++p) {
          if (same(p)) {
            found = p;
            break;
          }
        }
      }
    }
    if (found == list.ticketOf_.size()) {
      const auto isMarked = [&](std::string_view text) { return text == mark.ticketText; };
      bool claimedTwice = false;
      if (group != groupMap.end()) {
        const Group& g = list.groups_[group->second];
        claimedTwice = std::any_of(list.ticketOf_.begin() + static_cast<std::ptrdiff_t>(g.begin),
                                   list.ticketOf_.begin() + static_cast<std::ptrdiff_t>(g.end),
                                   [&](std::uint16_t t) { return isMarked(tickets[t]); });
      }
      const bool textThere = std::any_of(tickets.begin(), tickets.end(), isMarked);
      std::string reason = claimedTwice ? "another mark claims the same win"
                           : textThere
                               ? "ticket " + mark.ticketText + " wins nothing in " + DrawName(mark)
                               : "ticket " + std::to_string(mark.ticket) + " (" + mark.ticketText +
                                     ") is no longer in the file";
      list.loose_.push_back({m, std::move(reason)});
      continue;
    }
    taken[found] = 1;
    list.claimed_.emplace_back(found, static_cast<int>(m));
  }
  std::sort(list.claimed_.begin(), list.claimed_.end());

  // Counts and prizes per state.
  for (const Group& g : list.groups_) {
    const WinState state = StateOn(g.deadline, today, false);
    const auto s = static_cast<std::size_t>(state);
    list.counts_[s] += g.end - g.begin;
    for (Tier tier : kWinningTiers) {
      const std::uint32_t n = g.tiers[static_cast<std::size_t>(tier)];
      if (n != 0) {
        list.sums_[s].Add(prizes, tier, n);
        list.all_.Add(prizes, tier, n);
      }
    }
  }
  for (const auto& [position, mark] : list.claimed_) {
    const Group& g = list.groups_[list.GroupAt(position)];
    const auto from = static_cast<std::size_t>(StateOn(g.deadline, today, false));
    const auto to = static_cast<std::size_t>(WinState::Claimed);
    --list.counts_[from];
    ++list.counts_[to];
    const Tier tier = list.tierOf_[position];
    list.sums_[to].Add(prizes, tier, 1);
    // Taking one win out of a sum: add it to the other sums and subtract it.
    PrizeSum& was = list.sums_[from];
    if (const auto& amount = prizes.Amount(tier)) {
      was.money -= *amount;
    } else {
      --was.withoutAmount[static_cast<std::size_t>(tier)];
    }
  }
  return list;
}

std::size_t WinsList::GroupAt(std::size_t position) const {
  auto group = std::upper_bound(groups_.begin(), groups_.end(), position,
                                [](std::size_t p, const Group& g) { return p < g.begin; });
  return static_cast<std::size_t>(group - groups_.begin()) - 1;
}

Win WinsList::At(std::size_t position) const {
  const Group& g = groups_[GroupAt(position)];
  Win win;
  win.draw = g.draw;
  win.ticket = ticketOf_[position] + 1;
  win.tier = tierOf_[position];
  win.deadline = g.deadline;
  const auto claim =
      std::lower_bound(claimed_.begin(), claimed_.end(), std::pair<std::size_t, int>{position, -1});
  const bool claimed = claim != claimed_.end() && claim->first == position;
  win.state = StateOn(g.deadline, today_, claimed);
  win.mark = claimed ? claim->second : -1;
  return win;
}

WinRows WinsList::Rows(std::optional<WinState> state) const {
  WinRows rows;
  const auto addRun = [&rows](std::size_t from, std::size_t to) {
    if (to > from) {
      rows.runs_.push_back({rows.count_, from});
      rows.count_ += to - from;
    }
  };
  if (!state) {
    addRun(0, size());
    return rows;
  }
  if (*state == WinState::Claimed) {
    for (const auto& claim : claimed_) {
      addRun(claim.first, claim.first + 1);
    }
    return rows;
  }
  auto claim = claimed_.begin();
  for (const Group& g : groups_) {
    if (StateOn(g.deadline, today_, false) != *state) {
      continue;
    }
    std::size_t from = g.begin;
    claim = std::lower_bound(claim, claimed_.end(), std::pair<std::size_t, int>{g.begin, -1});
    for (; claim != claimed_.end() && claim->first < g.end; ++claim) {
      addRun(from, claim->first);
      from = claim->first + 1;
    }
    addRun(from, g.end);
  }
  return rows;
}

WinsList::Due WinsList::DueWithin(int days) const {
  Due due;
  auto claim = claimed_.begin();
  for (const Group& g : groups_) {
    // Groups to claim come first, soonest deadline first.
    if (!DueSoon(g.deadline, today_, false, days)) {
      break;
    }
    claim = std::lower_bound(claim, claimed_.end(), std::pair<std::size_t, int>{g.begin, -1});
    const auto claimedHere = static_cast<std::size_t>(
        std::lower_bound(claim, claimed_.end(), std::pair<std::size_t, int>{g.end, -1}) - claim);
    const std::size_t open = g.end - g.begin - claimedHere;
    if (open != 0 && due.wins == 0) {
      due.firstDeadline = g.deadline;
    }
    due.wins += open;
  }
  return due;
}

}  // namespace check
