#pragma once

#include "cli/Arguments.h"
#include "cli/Commands.h"

namespace cli {

// --wins: sets the draws the data file plays when --since or --until is given, then lists the
// wins of its tickets in the user's draw history, as text or CSV, through `sink` when there is
// one. Ends with kExitNotFound when a win is to claim within the reminder window, so that a timer
// can remind; kExitFound otherwise.
CommandOutput RunWinsCommand(const Options& options, const ReportSink* sink);

}  // namespace cli
