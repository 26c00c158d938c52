#include "cli/Columns.h"

#include <algorithm>
#include <optional>

#include "cli/NumberLines.h"
#include "store/TextUtil.h"

namespace cli {

namespace {

// Places beyond this are surely a mistake, and keep a range from filling memory.
constexpr std::size_t kHighestPlace = 1000;

std::optional<std::size_t> PlaceOf(std::string_view text) {
  if (text.empty() || text.size() > 4 || !IsDigits(text)) {
    return std::nullopt;
  }
  const std::size_t place = static_cast<std::size_t>(std::stoi(std::string(text)));
  if (place < 1 || place > kHighestPlace) {
    return std::nullopt;
  }
  return place;
}

std::string Shown(const ColumnPick& pick) {
  return pick.place != 0 ? "column " + std::to_string(pick.place) : "column \"" + pick.name + "\"";
}

// Adds the picks of one item of the list: a place, a range of places or a name.
store::Result<void> AddItem(std::string_view item, std::vector<ColumnPick>& picks) {
  if (item.empty()) {
    return store::Fail("", "--columns has an empty item");
  }
  if (const std::size_t dash = item.find('-'); dash != std::string_view::npos) {
    const auto from = PlaceOf(store::TrimBlanks(item.substr(0, dash)));
    const auto to = PlaceOf(store::TrimBlanks(item.substr(dash + 1)));
    if (from && to && *from <= *to) {
      for (std::size_t place = *from; place <= *to; ++place) {
        picks.push_back({place, {}});
      }
      return {};
    }
  }
  if (IsDigits(item)) {
    if (const auto place = PlaceOf(item)) {
      picks.push_back({*place, {}});
      return {};
    }
    return store::Fail("", "--columns: " + std::string(item) + " is not a column from 1 to " +
                               std::to_string(kHighestPlace));
  }
  picks.push_back({0, std::string(item)});
  return {};
}

}  // namespace

store::Result<std::vector<ColumnPick>> ParseColumns(std::string_view text) {
  std::vector<ColumnPick> picks;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string_view item = store::TrimBlanks(
        text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
    if (store::Result<void> added = AddItem(item, picks); !added) {
      return store::Unexpected{added.error()};
    }
    if (comma == std::string_view::npos) {
      break;
    }
    start = comma + 1;
  }
  if (picks.size() != kNumbersPerTicket) {
    return store::Fail("", "--columns needs six columns, such as 2-7 or 2,3,4,5,6,7; \"" +
                               std::string(text) + "\" names " + std::to_string(picks.size()));
  }
  for (std::size_t k = 0; k < picks.size(); ++k) {
    for (std::size_t j = 0; j < k; ++j) {
      if (picks[j].place == picks[k].place &&
          store::EqualsIgnoringAsciiCase(picks[j].name, picks[k].name)) {
        return store::Fail("", "--columns names " + Shown(picks[k]) + " twice");
      }
    }
  }
  return picks;
}

bool PicksByName(const std::vector<ColumnPick>& picks) {
  return std::any_of(picks.begin(), picks.end(), [](const ColumnPick& p) { return p.place == 0; });
}

store::Result<std::vector<std::size_t>> ResolveColumns(const std::vector<ColumnPick>& picks,
                                                       const std::vector<std::string>& heading) {
  std::vector<std::size_t> places;
  for (const ColumnPick& pick : picks) {
    if (pick.place != 0) {
      places.push_back(pick.place - 1);
      continue;
    }
    const auto found = std::find_if(heading.begin(), heading.end(), [&](const std::string& name) {
      return store::EqualsIgnoringAsciiCase(store::TrimBlanks(name), pick.name);
    });
    if (found == heading.end()) {
      return store::Fail("", "the heading has no column \"" + pick.name + "\" (--columns)");
    }
    places.push_back(static_cast<std::size_t>(found - heading.begin()));
  }
  for (std::size_t k = 0; k < places.size(); ++k) {
    if (std::find(places.begin(), places.begin() + static_cast<std::ptrdiff_t>(k), places[k]) !=
        places.begin() + static_cast<std::ptrdiff_t>(k)) {
      return store::Fail("", "--columns names column " + std::to_string(places[k] + 1) + " twice");
    }
  }
  return places;
}

}  // namespace cli
