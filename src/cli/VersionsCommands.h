#pragma once

#include "cli/Commands.h"

namespace cli {

// --versions, --restore WHEN and --forget: the earlier versions kept of a data file. Exit status
// 0 when versions were listed, one was put back or versions were removed; 1 when none are kept
// (--versions, --forget); 2 on an error.
CommandOutput RunVersionsCommand(const Options& options);

}  // namespace cli
