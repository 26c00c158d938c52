#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "store/Problem.h"

namespace cli {

// One of the six columns that hold a ticket's numbers: by its place in the row, or by its name
// in the heading.
struct ColumnPick {
  std::size_t place = 0;  // from 1; 0 when picked by name
  std::string name;
};

// The value of --columns: six places or names separated by commas, where "2-7" stands for the
// places 2 to 7, e.g. "2-7", "2,3,4,5,6,7", "B1,B2,B3,B4,B5,B6". A list that does not name six
// different columns is a problem with no path, as the mistake is in the option.
store::Result<std::vector<ColumnPick>> ParseColumns(std::string_view text);

bool PicksByName(const std::vector<ColumnPick>& picks);

// The places (from 0) of the picked columns in a row whose heading is `heading`. Names compare
// without regard to ASCII case. A name that is not in the heading, or a column picked twice, is
// a problem with no path: the mistake is in the option.
store::Result<std::vector<std::size_t>> ResolveColumns(const std::vector<ColumnPick>& picks,
                                                       const std::vector<std::string>& heading);

}  // namespace cli
