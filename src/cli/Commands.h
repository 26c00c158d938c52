#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/TierReport.h"
#include "store/Problem.h"

namespace cli {

class OutputWriter;

// A command that changes the data file ends with kExitFound once the file is written, whatever
// happens to its output afterwards, so that a script does not make the change twice.
inline constexpr int kExitFound = 0;     // a ticket matched three or more, or the task was done
inline constexpr int kExitNotFound = 1;  // no ticket matched, no duplicates
inline constexpr int kExitError = 2;

struct CommandOutput {
  int status = kExitError;
  std::string out;                    // for standard output
  std::string err;                    // for standard error: lines "pelmora-check: SUBJECT: problem"
  std::string changedFile;            // the data file the command wrote, if it wrote one
  bool lfLineEnds = false;            // --lf: the writer ends every line with LF alone
  std::vector<store::Problem> notes;  // what its changes did not stop on, told after it
};

// Runs one command line. `outputIsTerminal` only decides whether a results text that ends
// without a line end (the sorry text) gets one, so the shell prompt starts on a line of its own;
// into a file or a pipe the results text goes exactly as the window shows it.
// With a sink, the results of a check and the --draws report go to it as they are made instead
// of into `out`.
CommandOutput RunCommand(const Options& options, bool outputIsTerminal,
                         const ReportSink* sink = nullptr);

// The line that reports that the command's standard output could not be written (`reason`).
// When the command had changed the data file it says so, and the status stays a success, so that
// a script does not make the change twice.
void ReportOutputFailure(CommandOutput& output, const std::string& reason);

// For commands kept in files of their own: one line "pelmora-check: SUBJECT: problem" on
// standard error, and the same ending the command with an error.
void ReportProblem(CommandOutput& output, std::string_view subject, std::string_view problem);
CommandOutput CommandFailure(std::string_view subject, std::string_view problem);

// An input file (an import or draws file, or "-" for standard input) read whole as a stream; a
// problem names it as a person knows it.
store::Result<std::string> ReadInputFile(const std::string& path);
// "standard input" for "-", else the path.
std::string InputName(const std::string& path);

// Parses the arguments and runs the command. With a stream, a long report (--draws) goes out
// through it as it is made, and the stream learns from the arguments how to end lines.
CommandOutput RunCommandLine(const std::vector<std::string>& arguments, bool outputIsTerminal,
                             OutputWriter* stream = nullptr);

}  // namespace cli
