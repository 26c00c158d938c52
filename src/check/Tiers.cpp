#include "check/Tiers.h"

#include "store/PlayNumber.h"

namespace check {

std::string_view TierName(Tier tier) {
  static constexpr std::array<std::string_view, kTierCount> kNames = {"none", "2",         "3", "4",
                                                                      "5",    "5 + bonus", "6"};
  return kNames[static_cast<std::size_t>(tier)];
}

BallMask TicketMask(std::string_view ticket) {
  BallMask mask = 0;
  for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
    const std::string_view field = store::PlayNumberField(ticket, k);
    if (field.size() != 2 || field[0] < '0' || field[0] > '9' || field[1] < '0' || field[1] > '9') {
      continue;
    }
    const int n = (field[0] - '0') * 10 + (field[1] - '0');
    if (n >= store::kLowestNumber && n <= store::kHighestNumber) {
      mask |= BallMask{1} << n;
    }
  }
  return mask;
}

}  // namespace check
