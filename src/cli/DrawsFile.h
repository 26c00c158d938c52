#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cli/NumberLines.h"

namespace cli {

struct Draw {
  std::size_t line = 0;
  std::string date;      // as written, quotes and surrounding blanks removed
  SixNumbers numbers{};  // in the order written
};

struct DrawLines {
  std::vector<Draw> draws;  // in file order
  std::vector<RefusedLine> refused;
};

// A draws file: a date and six numbers a line, e.g. "2024-01-06,5,12,23,34,45,56" or
// "06.01.2024 5 12 23 34 45 56". The date is the first field: up to the first comma, semicolon
// or tab when the line holds one (a date in double quotes may hold these), else up to the first
// blank. The date is a label and is not interpreted. Lines without any number or letter are
// skipped; so is the first such line when its numbers part holds a letter, as a heading.
DrawLines ParseDrawLines(std::string_view text);

}  // namespace cli
