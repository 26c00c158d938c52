#pragma once

#include "cli/Commands.h"

namespace cli {

// --draws: the data file's tickets against the draws of a file.
CommandOutput RunDrawsCommand(const Options& options, const ReportSink* sink);
// --add-draws: a file's draws into the user's draw history.
CommandOutput RunAddDrawsCommand(const Options& options);
// --history: the data file's tickets against the user's draw history, between two days.
CommandOutput RunHistoryCommand(const Options& options, const ReportSink* sink);

}  // namespace cli
