#pragma once

#include "cli/Commands.h"

namespace cli {

// --versions, --restore WHEN and --forget: the earlier versions kept of a data file. Exit status
// 0 when versions were listed, one was put back or versions were removed; 1 when none are kept
// (--versions, --forget); 2 on an error.
CommandOutput RunVersionsCommand(const Options& options);

// How many of `version`'s tickets `current` lacks, a ticket held twice counting twice.
std::size_t TicketsLacking(const std::vector<std::string>& version,
                           const std::vector<std::string>& current);

}  // namespace cli
