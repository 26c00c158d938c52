#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Columns.h"
#include "store/Problem.h"

namespace cli {

enum class Mode {
  Check,
  Draws,
  Import,
  Export,
  Duplicates,
  Help,
  Version,
  Versions,
  Restore,
  Forget,
  AddDraws,  // --add-draws: into the user's draw history
  History,   // --history: the data file against the user's draw history
  Wins       // --wins: the wins of the data file in the user's draw history
};

struct Options {
  Mode mode = Mode::Check;
  std::string dataFile;
  std::optional<std::string> winning;  // --winning, Check mode only
  std::string drawsFile;               // --draws
  std::string importFile;              // --import; "-" is standard input
  bool skipBad = false;                // --skip-bad, with --import or --draws
  std::vector<ColumnPick> columns;     // --columns, with --import; empty: found by the rows
  bool lfLineEnds = false;             // --lf: every output ends its lines with LF alone
  std::string restoreWhen;             // --restore: a version's time as --versions prints it
  bool replace = false;                // --replace, with --add-draws
  std::string from;                    // --from, with --history: first day, as written
  std::string to;                      // --to, with --history: last day, as written
  bool winsCsv = false;                // --csv, with --wins
  std::optional<std::string> since;    // --since, with --wins: "" clears it
  std::optional<std::string> until;    // --until, with --wins: "" clears it
  std::optional<std::string> today;    // --today, with --wins
};

// The arguments after the program name. "--name value" and "--name=value" are both accepted,
// "--" ends the options. --help and --version win over everything else, so that they work
// whatever else is on the line. A problem is one line with no path: the mistake is in the
// arguments, not in a file.
store::Result<Options> ParseArguments(const std::vector<std::string>& arguments);

std::string HelpText();
std::string VersionText();

}  // namespace cli
