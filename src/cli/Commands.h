#pragma once

#include <string>
#include <string_view>

#include "cli/Arguments.h"

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
CommandOutput RunCommand(const Options& options, bool outputIsTerminal);

// For commands kept in files of their own: one line "pelmora-check: SUBJECT: problem" on
// standard error, and the same ending the command with an error.
void ReportProblem(CommandOutput& output, std::string_view subject, std::string_view problem);
CommandOutput CommandFailure(std::string_view subject, std::string_view problem);

// Parses the arguments and runs the command.
CommandOutput RunCommandLine(const std::vector<std::string>& arguments, bool outputIsTerminal);

}  // namespace cli
