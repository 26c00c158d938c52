#include "cli/Duplicates.h"

#include <algorithm>
#include <unordered_map>

#include "store/PlayNumber.h"

namespace cli {

namespace {

// The six fields in ascending order, joined: equal for tickets that hold the same fields.
std::string SortedFields(std::string_view ticket) {
  store::PlayFields fields = store::SplitPlayNumber(ticket);
  std::sort(fields.begin(), fields.end());
  return store::JoinPlayNumber(fields);
}

}  // namespace

std::vector<std::vector<std::size_t>> FindDuplicates(const store::TicketTexts& tickets) {
  std::unordered_map<std::string, std::size_t> groupOf;
  groupOf.reserve(tickets.size());
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    const auto [at, added] = groupOf.try_emplace(SortedFields(tickets[i]), groups.size());
    if (added) {
      groups.emplace_back();
    }
    groups[at->second].push_back(i);
  }
  std::erase_if(groups, [](const std::vector<std::size_t>& group) { return group.size() < 2; });
  return groups;
}

std::string FormatDuplicates(const store::TicketTexts& tickets,
                             const std::vector<std::vector<std::size_t>>& groups) {
  std::string text;
  for (const std::vector<std::size_t>& group : groups) {
    if (!text.empty()) {
      text.push_back('\n');
    }
    text.append(std::to_string(group.size()))
        .append(" tickets hold ")
        .append(SortedFields(tickets[group.front()]))
        .append(":\n");
    for (const std::size_t i : group) {
      text.append("  ticket ").append(std::to_string(i + 1)).append(", ");
      text.append(tickets[i]).push_back('\n');
    }
  }
  return text;
}

}  // namespace cli
