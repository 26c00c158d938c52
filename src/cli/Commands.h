#pragma once

#include <string>

#include "cli/Arguments.h"
#include "cli/DrawsReport.h"

namespace cli {

inline constexpr int kExitFound = 0;     // a ticket matched three or more, or the task was done
inline constexpr int kExitNotFound = 1;  // no ticket matched, no duplicates
inline constexpr int kExitError = 2;

struct CommandOutput {
  int status = kExitError;
  std::string out;  // for standard output
  std::string err;  // for standard error: lines "pelmora-check: SUBJECT: problem"
};

// Runs one command line. `outputIsTerminal` only decides whether a results text that ends
// without a line end (the sorry text) gets one, so the shell prompt starts on a line of its own;
// into a file or a pipe the results text goes exactly as the window shows it.
// With a sink, the --draws report goes to it as it is made instead of into `out`.
CommandOutput RunCommand(const Options& options, bool outputIsTerminal,
                         const ReportSink* sink = nullptr);

// Parses the arguments and runs the command.
CommandOutput RunCommandLine(const std::vector<std::string>& arguments, bool outputIsTerminal,
                             const ReportSink* sink = nullptr);

}  // namespace cli
