#include "store/TicketTexts.h"

#include <algorithm>

#include <stdexcept>

namespace store {

TicketTexts::TicketTexts(std::initializer_list<std::string_view> tickets) {
  for (const std::string_view ticket : tickets) {
    push_back(ticket);
  }
}

TicketTexts::TicketTexts(const std::vector<std::string>& tickets) {
  for (const std::string& ticket : tickets) {
    push_back(ticket);
  }
}

void TicketTexts::push_back(std::string_view ticket) {
  if (text_.size() + ticket.size() > kMaxText) {
    throw std::length_error("the tickets' texts are too long");
  }
  spans_.push_back(
      {static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(ticket.size())});
  text_.append(ticket);
}

void TicketTexts::clear() {
  text_.clear();
  spans_.clear();
}

void TicketTexts::RemoveMarked(const std::vector<std::uint8_t>& marks) {
  TicketTexts kept;
  for (std::size_t i = 0; i < size(); ++i) {
    if (i >= marks.size() || marks[i] == 0) {
      kept.push_back((*this)[i]);
    }
  }
  *this = std::move(kept);
}

std::vector<std::string> TicketTexts::ToStrings() const {
  return {begin(), end()};
}

bool operator==(const TicketTexts& a, const TicketTexts& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace store
