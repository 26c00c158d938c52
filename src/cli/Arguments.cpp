#include "cli/Arguments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cli {

namespace {

struct OptionValue {
  std::string_view name;
  std::optional<std::string> inlineValue;  // from "--name=value"
};

OptionValue SplitOption(std::string_view argument) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos) {
    return {argument, std::nullopt};
  }
  return {argument.substr(0, equals), std::string(argument.substr(equals + 1))};
}

// The option that chooses each mode, indexed by Mode; empty for those no option chooses alone.
constexpr std::array<std::string_view, 13> kModeOptions = {
    "",           "--draws",   "--import", "--export",    "--duplicates", "",      "",
    "--versions", "--restore", "--forget", "--add-draws", "--history",    "--wins"};

std::string ModeOptionName(Mode mode) {
  return std::string(kModeOptions[static_cast<std::size_t>(mode)]);
}

std::optional<Mode> ModeNamed(std::string_view name) {
  const auto found = std::find(kModeOptions.begin(), kModeOptions.end(), name);
  if (name.empty() || found == kModeOptions.end()) {
    return std::nullopt;
  }
  return static_cast<Mode>(found - kModeOptions.begin());
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  store::Result<Options> Run() {
    for (const std::string& argument : arguments_) {
      if (argument == "--") {
        break;
      }
      if (argument == "--help" || argument == "-h") {
        options_.mode = Mode::Help;
        return options_;
      }
      if (argument == "--version") {
        options_.mode = Mode::Version;
        return options_;
      }
    }
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (next_ = 0; next_ < arguments_.size() && problem_.empty();) {
      const std::string& argument = arguments_[next_++];
      if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
        files.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else {
        Option(argument);
      }
    }
    if (problem_.empty()) {
      Finish(files);
    }
    if (!problem_.empty()) {
      return store::Fail("", problem_);
    }
    return options_;
  }

 private:
  void Option(const std::string& argument) {
    const OptionValue option = SplitOption(argument);
    Options& options = options_;
    if (const std::optional<Mode> mode = ModeNamed(option.name)) {
      ModeOption(option, *mode);
    } else if (std::optional<std::string>* given = OnceValueOf(option.name)) {
      if (auto value = Value(option, option.name == "--winning"
                                         ? "a winning number such as 05-12-23-34-45-56"
                                         : "a date such as 2026-02-18")) {
        Once(given->has_value(), option.name);
        *given = std::move(*value);
      }
    } else if (option.name == "--from" || option.name == "--to") {
      if (auto value = Value(option, "a day such as 2026-02-18")) {
        std::string& day = option.name == "--from" ? options.from : options.to;
        Once(!day.empty(), option.name);
        day = value->empty() ? std::string(" ") : std::move(*value);
      }
    } else if (option.name == "--columns") {
      if (auto value = Value(option, "six columns, such as 2-7")) {
        Once(!options.columns.empty(), option.name);
        if (store::Result<std::vector<ColumnPick>> picks = ParseColumns(*value)) {
          options.columns = std::move(*picks);
        } else {
          Fail(picks.error().reason);
        }
      }
    } else if (bool* flag = FlagOf(option.name)) {
      if (option.inlineValue) {
        Fail(std::string(option.name) + " takes no value");
      } else {
        Once(*flag, option.name);
        *flag = true;
      }
    } else {
      Fail("unknown option \"" + argument + "\"");
    }
  }

  // An option that chooses what the program does, with its value if it takes one.
  void ModeOption(const OptionValue& option, Mode mode) {
    switch (mode) {
      case Mode::Draws:
      case Mode::AddDraws:
      case Mode::Import:
        if (auto value = FileValue(option)) {
          SetMode(mode);
          (mode == Mode::Import ? options_.importFile : options_.drawsFile) = std::move(*value);
        }
        break;
      case Mode::Export:
        if (auto value = Value(option, "a format: csv")) {
          if (*value != "csv") {
            Fail("--export knows only the format csv, not \"" + *value + "\"");
          }
          SetMode(mode);
        }
        break;
      case Mode::Restore:
        if (auto value = Value(option, "a time as --versions prints it")) {
          SetMode(mode);
          options_.restoreWhen = std::move(*value);
        }
        break;
      default:
        if (option.inlineValue) {
          Fail(std::string(option.name) + " takes no value");
        }
        SetMode(mode);
    }
  }

  // The options that only switch something on.
  bool* FlagOf(std::string_view name) {
    return name == "--skip-bad"  ? &options_.skipBad
           : name == "--lf"      ? &options_.lfLineEnds
           : name == "--replace" ? &options_.replace
           : name == "--csv"     ? &options_.winsCsv
                                 : nullptr;
  }

  // The options whose value may be given once, and may be empty.
  std::optional<std::string>* OnceValueOf(std::string_view name) {
    return name == "--winning" ? &options_.winning
           : name == "--since" ? &options_.since
           : name == "--until" ? &options_.until
           : name == "--today" ? &options_.today
                               : nullptr;
  }

  std::optional<std::string> Value(const OptionValue& option, const std::string& wanted) {
    if (option.inlineValue) {
      return option.inlineValue;
    }
    if (next_ >= arguments_.size()) {
      Fail(std::string(option.name) + " needs " + wanted);
      return std::nullopt;
    }
    return arguments_[next_++];
  }

  std::optional<std::string> FileValue(const OptionValue& option) {
    std::optional<std::string> value = Value(option, "a file name");
    if (value && value->empty()) {
      Fail(std::string(option.name) + " needs a file name");
      return std::nullopt;
    }
    return value;
  }

  void SetMode(Mode mode) {
    Mode& current = options_.mode;
    if (current == mode) {
      Fail(ModeOptionName(mode) + " is given twice");
    } else if (current != Mode::Check) {
      Fail(ModeOptionName(current) + " and " + ModeOptionName(mode) + " cannot be used together");
    }
    current = mode;
  }

  void Once(bool alreadyGiven, std::string_view name) {
    if (alreadyGiven) {
      Fail(std::string(name) + " is given twice");
    }
  }

  void Finish(const std::vector<std::string>& files) {
    const Options& options = options_;
    if (options.winning && options.mode != Mode::Check) {
      Fail("--winning cannot be used with " + ModeOptionName(options.mode));
    } else if (options.skipBad && options.mode != Mode::Import && options.mode != Mode::Draws &&
               options.mode != Mode::AddDraws) {
      Fail("--skip-bad works only with --import, --draws or --add-draws");
    } else if (options.replace && options.mode != Mode::AddDraws) {
      Fail("--replace works only with --add-draws");
    } else if ((!options.from.empty() || !options.to.empty()) && options.mode != Mode::History) {
      Fail(std::string(options.from.empty() ? "--to" : "--from") + " works only with --history");
    } else if (!options.columns.empty() && options.mode != Mode::Import) {
      Fail("--columns works only with --import");
    } else if ((options.winsCsv || options.since || options.until || options.today) &&
               options.mode != Mode::Wins) {
      Fail(std::string(options.winsCsv ? "--csv"
                       : options.since ? "--since"
                       : options.until ? "--until"
                                       : "--today") +
           " works only with --wins");
    } else if (options.mode == Mode::AddDraws) {
      if (!files.empty()) {
        Fail("--add-draws takes no data file, not \"" + files[0] + "\"");
      }
    } else if (files.empty()) {
      Fail("no data file given");
    } else if (files.size() > 1) {
      Fail("one data file only, not \"" + files[0] + "\" and \"" + files[1] + "\"");
    } else {
      options_.dataFile = files.front();
    }
  }

  void Fail(std::string problem) {
    if (problem_.empty()) {
      problem_ = std::move(problem);
    }
  }

  const std::vector<std::string>& arguments_;
  std::size_t next_ = 0;
  Options options_;
  std::string problem_;
};

}  // namespace

store::Result<Options> ParseArguments(const std::vector<std::string>& arguments) {
  return Parser(arguments).Run();
}

std::string HelpText() {
  return R"(Usage: pelmora-check [OPTION] FILE.pmd
       pelmora-check --add-draws DRAWS.csv [--skip-bad] [--replace]

Checks the tickets of a Pelmora data file from the command line.

With no option, prints the results text that the program's check (F5) shows for
the file's tickets and its stored winning number.

  --winning NUMBERS  check against NUMBERS (e.g. 05-12-23-34-45-56) instead of
                     the stored winning number
  --draws DRAWS.csv  check every ticket against every draw in DRAWS.csv and
                     report, per draw and in total, the tickets that won in each
                     tier (6, 5 + bonus, 5, 4, 3, 2) and their prizes; DRAWS.csv
                     is the history a lottery publishes (DrawDate, Ball 1 to
                     Ball 6, Bonus Ball, ..., DrawNumber) or plain lines of a
                     date, six numbers and an optional bonus ball
  --add-draws DRAWS.csv
                     add the draws in DRAWS.csv to your draw history (no data
                     file); new draws are added, the same ones left, and a draw
                     whose numbers differ from the stored one is a conflict,
                     reported and left as stored
  --replace          with --add-draws: a conflicting draw replaces the stored
                     one
  --history          check every ticket against the draws of your draw history,
                     as --draws does
  --from DAY, --to DAY
                     with --history: only the draws from or up to DAY (e.g.
                     2026-02-18 or 18-Feb-2026)
  --import FILE      add the tickets in FILE (- reads standard input) to the
                     data file, creating it when it does not exist; FILE is
                     plain text or CSV (separator , ; or tab), UTF-8 or UTF-16;
                     a row's six whole numbers from 1 to 59 are its ticket and
                     other fields such as a date or a name are passed over;
                     refused lines are listed and nothing is added
  --columns LIST     with --import: the six columns holding the numbers, by
                     place or by heading name, e.g. 2-7, 2,3,4,5,6,7 or
                     B1,B2,B3,B4,B5,B6
  --skip-bad         with --import, --draws or --add-draws: list refused lines,
                     go on without them
  --export csv       print the tickets as CSV
  --duplicates       list tickets holding the same six numbers in any order
  --wins             list the wins of the tickets (tier 2 or better) in the
                     draws the file plays, from the draw history, with each
                     win's claim deadline and state: to claim, claimed or
                     expired; soonest deadline first
  --csv              with --wins: print the wins as CSV
  --since DATE       with --wins: the file plays the draws from DATE
                     (YYYY-MM-DD; "" for all); kept in the data file
  --until DATE       with --wins: the file plays the draws up to DATE ("" for
                     no end); kept in the data file
  --today DATE       with --wins: count deadlines from DATE instead of today
  --lf               end every line printed with LF instead of CR LF
  --versions         list the earlier versions kept of the data file
  --restore WHEN     put back the version kept at WHEN (as --versions prints it)
  --forget           remove every version kept of the data file
  -h, --help         show this help and exit
      --version      show the version and exit

On a terminal, control characters in the output are shown escaped (\e, \x07,
\u009b); into a file or a pipe it is written as it is.

Exit status:
  0  a ticket matched three or more numbers (the check, --winning), a ticket
     won in some draw (--draws, --history), the draw history holds the draws
     (--add-draws),
     the tickets were added (--import: also when printing the summary then
     failed), the tickets were printed (--export), duplicates were found
  1  no ticket matched or won, no duplicates were found, conflicting draws
     were left as stored (--add-draws); a win is to claim within 30 days
     (--wins; 0 when none is)
  2  an error; nothing was changed
A reader that stops reading (such as head) ends the output quietly.

Earlier versions: before a change that removes or replaces tickets (deleting
tickets, saving a shorter list, New over an existing file, a new winning
number, a restore), the data file as it was is kept in
$XDG_DATA_HOME/pelmora/versions (by default ~/.local/share/pelmora/versions),
the last 50 of each file and at most 20 MB in all. To bring one back:
  pelmora-check --versions FILE.pmd
  pelmora-check --restore 2026-01-06T18:30:05.123456Z FILE.pmd
--versions exits with 0 when versions are listed and 1 when none are kept;
--restore with 0 when the version was put back; --forget with 0 when versions
were removed and 1 when none were kept; all three with 2 on an error.

Your draw history is $XDG_DATA_HOME/pelmora/draws.csv (by default
~/.local/share/pelmora/draws.csv), in the form lotteries publish; the prizes
per tier are in $XDG_CONFIG_HOME/pelmora/prizes.ini (by default
~/.config/pelmora/prizes.ini), set in the window's Draws menu.

See pelmora-check(1) for more.
)";
}

std::string VersionText() {
  return "pelmora-check " PELMORA_VERSION "\n";
}

}  // namespace cli
