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

// The line that reports that the command's standard output could not be written (`reason`).
// When the command had changed the data file it says so, and the status stays a success, so that
// a script does not make the change twice.
void ReportOutputFailure(CommandOutput& output, const std::string& reason);

// One line "pelmora-check: SUBJECT: problem" on standard error; a Failure also ends the command
// with an error, keeping what it already reported.
void Report(CommandOutput& output, std::string_view subject, std::string_view problem);
CommandOutput Failure(CommandOutput output, std::string_view subject, std::string_view problem);
CommandOutput Failure(std::string_view subject, std::string_view problem);
CommandOutput Failure(const store::Problem& problem);

// "1 line", "3 lines" for the noun "line".
std::string Counted(std::size_t count, std::string_view noun);

// An input file (an import or draws file, or "-" for standard input) read whole as a stream; a
// problem names it as a person knows it.
store::Result<std::string> ReadInputFile(const std::string& path);
// "standard input" for "-", else the path.
std::string InputName(const std::string& path);

// Parses the arguments and runs the command. With a stream, the results of a check and a long
// report (--draws) go out through it as they are made instead of into `out`, and the stream
// learns from the arguments how to end lines. `outputIsTerminal` only decides whether a results
// text that ends without a line end (the sorry text) gets one, so the shell prompt starts on a
// line of its own; into a file or a pipe it goes exactly as the window shows it.
CommandOutput RunCommandLine(const std::vector<std::string>& arguments, bool outputIsTerminal,
                             OutputWriter* stream = nullptr);

// The tickets as CSV: the heading "n1,n2,n3,n4,n5,n6", then one row per ticket with its six
// fields as stored ("05"), LF line ends. Tickets of six numbers from 1 to 59 read back unchanged
// through the import. A field that is not two digits (a ticket edited outside the program) is
// written in quotes; `odd` counts the tickets that are not six numbers of two digits.
std::string ExportCsv(const store::TicketTexts& tickets, std::size_t* odd = nullptr);

// The commands that have a file of their own.
// --draws: the data file's tickets against the draws of a file.
CommandOutput RunDrawsCommand(const Options& options, const ReportSink* sink);
// --add-draws: a file's draws into the user's draw history.
CommandOutput RunAddDrawsCommand(const Options& options);
// --history: the data file's tickets against the user's draw history, between two days.
CommandOutput RunHistoryCommand(const Options& options, const ReportSink* sink);
// --versions, --restore WHEN and --forget: the earlier versions kept of a data file. Exit status
// 0 when versions were listed, one was put back or versions were removed; 1 when none are kept
// (--versions, --forget); 2 on an error.
CommandOutput RunVersionsCommand(const Options& options);
// --wins: sets the draws the data file plays when --since or --until is given, then lists the
// wins of its tickets in the user's draw history, as text or CSV, through `sink` when there is
// one. Ends with kExitNotFound when a win is to claim within the reminder window, so that a timer
// can remind; kExitFound otherwise.
CommandOutput RunWinsCommand(const Options& options, const ReportSink* sink);

}  // namespace cli
