#include "cli/Commands.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <unordered_map>

#include "check/MatchCheck.h"
#include "cli/DataFile.h"
#include "cli/ImportText.h"
#include "cli/ImportTickets.h"
#include "cli/NumberLines.h"
#include "cli/OutputText.h"
#include "store/AtomicFile.h"
#include "store/DrawHistory.h"
#include "store/PlayNumber.h"
#include "store/TextUtil.h"
#include "store/WriteJournal.h"

namespace cli {

namespace {

constexpr std::string_view kProgram = "pelmora-check: ";
constexpr std::string_view kStandardInput = "-";

// One line per problem, whatever a file name, an argument or a value read from a file holds:
// control characters would break the line or reach the terminal.
void AppendLine(std::string& to, std::string line) {
  std::replace_if(
      line.begin(), line.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, '?');
  to.append(line).push_back('\n');
}

void ReportRefused(CommandOutput& output, const std::string& file,
                   const std::vector<RefusedLine>& refused) {
  for (const RefusedLine& line : refused) {
    Report(output, file + ":" + std::to_string(line.line), line.problem);
  }
}

// An import or draws file, or standard input; a problem names the input as a person knows it.
store::Result<int> OpenInput(const std::string& path) {
  if (path == kStandardInput) {
    return STDIN_FILENO;
  }
  const int fd = store::OpenFile(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return store::Fail(InputName(path), errno == ENOENT ? "no such file" : std::strerror(errno));
  }
  return fd;
}

// The tickets of an import file, read a piece at a time so that memory stays small whatever the
// input holds: reading stops at the first byte that is no text (binary input is refused within
// its first 64 KiB), and once the lines read can be no list of tickets (see TicketLineReader).
store::Result<TicketLines> ReadTicketLines(const Options& options) {
  constexpr std::size_t kPiece = 64 * 1024;
  const store::Result<int> opened = OpenInput(options.importFile);
  if (!opened) {
    return store::Fail(opened.error());
  }
  const int fd = *opened;
  ImportDecoder decoder;
  LineCutter cutter;
  TicketLineReader reader(options.columns);
  bool reading = true;
  const LineCutter::Visit judge = [&](std::size_t line, std::string_view text, bool overlong) {
    reading = reading && reader.Add(line, text, overlong);
  };
  std::string bytes;
  std::string text;
  int error = 0;
  bool ended = false;
  store::Result<void> decoded;
  while (reading && decoded && !ended) {
    // The first piece is gathered whole, as the kind of text is told from it.
    char buffer[kPiece];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      error = errno;
      break;
    }
    ended = got == 0;
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (!ended && bytes.size() < kPiece) {
      continue;
    }
    text.clear();
    decoded = decoder.Feed(bytes, text);
    bytes.clear();
    cutter.Feed(text, judge);
  }
  if (fd != STDIN_FILENO) {
    ::close(fd);
  }
  if (error != 0) {
    return store::Fail(InputName(options.importFile), std::strerror(error));
  }
  if (decoded && ended) {
    decoded = decoder.Finish();
    cutter.Finish(judge);
  }
  if (!decoded) {
    return store::Fail(decoded.error());
  }
  return reader.Finish();
}

// A winning number given on the command line: six numbers from 1 to 59, all different, any
// separators. A "00" is named by its position, as the window names an empty winning box.
// The problem is named after the option that gave the number.
store::Result<check::WinningTexts> ParseWinning(const std::string& text) {
  const std::string subject = "--winning " + text;
  const std::vector<std::string_view> words = NumberWords(text);
  if (words.size() == kNumbersPerTicket) {
    for (std::size_t k = 0; k < words.size(); ++k) {
      if (words[k].find_first_not_of('0') == std::string_view::npos) {
        return store::Fail(subject,
                           "the winning number has no number in position " + std::to_string(k + 1));
      }
    }
  }
  const store::Result<SixNumbers> parsed = SixNumbersOf(words);
  if (!parsed) {
    return store::Fail(subject, "the winning number " + parsed.error().reason);
  }
  check::WinningTexts winning;
  for (std::size_t k = 0; k < winning.size(); ++k) {
    winning[k] = store::TwoDigitField((*parsed)[k]);
  }
  return winning;
}

CommandOutput RunCheckCommand(const Options& options, bool outputIsTerminal,
                              const ReportSink* sink) {
  std::optional<check::WinningTexts> given;
  if (options.winning) {
    store::Result<check::WinningTexts> parsed = ParseWinning(*options.winning);
    if (!parsed) {
      return Failure(parsed.error());
    }
    given = std::move(*parsed);
  }
  const store::Result<LoadedDataFile> file = LoadDataFile(options.dataFile);
  if (!file) {
    return Failure(file.error());
  }
  CommandOutput output;
  bool endsLine = true;
  const check::CheckSummary result =
      check::WriteCheck(given ? *given : file->winning, file->tickets, [&](std::string_view piece) {
        endsLine = piece.ends_with('\n');
        if (sink != nullptr) {
          (*sink)(piece);
        } else {
          output.out.append(piece);
        }
      });
  switch (result.outcome) {
    case check::CheckOutcome::InvalidWinningNumber:
      return Failure(options.dataFile, "the winning number has no number in position " +
                                           std::to_string(result.invalidPosition));
    case check::CheckOutcome::NoTickets:
      return Failure(options.dataFile, "it holds no tickets");
    case check::CheckOutcome::Results:
      break;
  }
  output.status = result.reported == 0 ? kExitNotFound : kExitFound;
  // The sorry text has no line end of its own. A failed write is the stream's to report.
  if (outputIsTerminal && !endsLine) {
    output.out += "\r\n";
  }
  return output;
}

CommandOutput RunImportCommand(const Options& options) {
  store::Result<DataFileForAdding> file = OpenForAdding(options.dataFile);
  if (!file) {
    return Failure(file.error());
  }
  const std::string importName = InputName(options.importFile);
  const store::Result<TicketLines> parsed = ReadTicketLines(options);
  if (!parsed && !parsed.error().path.empty()) {
    return Failure(parsed.error());
  }
  if (!parsed) {
    return Failure(importName, parsed.error().reason + "; nothing was added");
  }
  const TicketLines& lines = *parsed;
  CommandOutput output;
  ReportRefused(output, importName, lines.refused);
  if (!lines.stopped.empty()) {
    return Failure(std::move(output), importName, lines.stopped + "; nothing was added");
  }
  if (!lines.refused.empty() && !options.skipBad) {
    return Failure(std::move(output), importName,
                   Counted(lines.refused.size(), "line") + " refused; nothing was added to " +
                       options.dataFile + " (--skip-bad adds the other lines)");
  }
  if (lines.tickets.empty()) {
    return Failure(std::move(output), importName, "it holds no tickets; nothing was added");
  }
  if (const store::Result<void> added = AddTickets(*file, options.dataFile, lines.tickets);
      !added) {
    return Failure(std::move(output), added.error().path,
                   added.error().reason + "; nothing was added");
  }
  const std::size_t added = lines.tickets.size();
  output.changedFile = options.dataFile;
  output.out = "Added " + Counted(added, "ticket") + " to " + options.dataFile + "; it now holds " +
               std::to_string(file->count) + ".\n";
  output.status = kExitFound;
  return output;
}

// The six fields in ascending order, joined: equal for tickets that hold the same fields.
std::string SortedFields(std::string_view ticket) {
  store::PlayFields fields = store::SplitPlayNumber(ticket);
  std::sort(fields.begin(), fields.end());
  return store::JoinPlayNumber(fields);
}

// Tickets holding the same six fields in any order, by position in the list (from 0): groups of
// two or more, each in list order, the groups in the order of their first ticket. Fields compare
// as texts, as the check compares them.
std::vector<std::vector<std::size_t>> FindDuplicates(const store::TicketTexts& tickets) {
  std::unordered_map<std::string, std::size_t> groupOf;
  groupOf.reserve(tickets.size());
  std::vector<std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    const auto [at, added] = groupOf.try_emplace(SortedFields(tickets[i]), groups.size());
    if (added) {
      groups.emplace_back();
    }
    groups[at->second].push_back(i);
  }
  std::erase_if(groups, [](const std::vector<std::size_t>& group) { return group.size() < 2; });
  return groups;
}

// Per group a heading with the shared numbers in ascending order, then one line per ticket with
// its number in the list (from 1) and its text; groups are separated by a blank line.
std::string FormatDuplicates(const store::TicketTexts& tickets,
                             const std::vector<std::vector<std::size_t>>& groups) {
  std::string text;
  for (const std::vector<std::size_t>& group : groups) {
    if (!text.empty()) {
      text.push_back('\n');
    }
    text.append(std::to_string(group.size()))
        .append(" tickets hold ")
        .append(SortedFields(tickets[group.front()]))
        .append(":\n");
    for (const std::size_t i : group) {
      text.append("  ticket ").append(std::to_string(i + 1)).append(", ");
      text.append(tickets[i]).push_back('\n');
    }
  }
  return text;
}

CommandOutput RunListCommand(const Options& options) {
  const store::Result<LoadedDataFile> file = LoadDataFile(options.dataFile);
  if (!file) {
    return Failure(file.error());
  }
  CommandOutput output;
  if (options.mode == Mode::Export) {
    std::size_t odd = 0;
    output.out = ExportCsv(file->tickets, &odd);
    output.status = kExitFound;
    if (odd > 0) {
      Report(output, options.dataFile,
             std::to_string(odd) + (odd == 1 ? " ticket is" : " tickets are") +
                 " not six numbers of two digits; their fields are written in quotes as stored");
    }
    return output;
  }
  const std::vector<std::vector<std::size_t>> groups = FindDuplicates(file->tickets);
  if (groups.empty()) {
    output.out = "No two tickets hold the same six numbers.\n";
    output.status = kExitNotFound;
  } else {
    output.out = FormatDuplicates(file->tickets, groups);
    output.status = kExitFound;
  }
  return output;
}

CommandOutput RunCommand(const Options& options, bool outputIsTerminal, const ReportSink* sink) {
  switch (options.mode) {
    case Mode::Help:
      return {kExitFound, HelpText(), {}, {}, false, {}};
    case Mode::Version:
      return {kExitFound, VersionText(), {}, {}, false, {}};
    case Mode::Check:
      return RunCheckCommand(options, outputIsTerminal, sink);
    case Mode::Draws:
      return RunDrawsCommand(options, sink);
    case Mode::AddDraws:
      return RunAddDrawsCommand(options);
    case Mode::History:
      return RunHistoryCommand(options, sink);
    case Mode::Import:
      return RunImportCommand(options);
    case Mode::Export:
    case Mode::Duplicates:
      return RunListCommand(options);
    case Mode::Versions:
    case Mode::Restore:
    case Mode::Forget:
      return RunVersionsCommand(options);
    case Mode::Wins:
      return RunWinsCommand(options, sink);
  }
  return Failure("pelmora-check", "unknown command");
}

}  // namespace

std::string ExportCsv(const store::TicketTexts& tickets, std::size_t* odd) {
  std::string text = "n1,n2,n3,n4,n5,n6\n";
  std::size_t oddTickets = 0;
  text.reserve(text.size() + tickets.size() * 18);
  for (const std::string_view ticket : tickets) {
    bool plain = ticket.size() == 17;
    for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
      if (k > 1) {
        text.push_back(',');
        plain = plain && ticket[static_cast<std::size_t>(3 * k - 4)] == '-';
      }
      const std::string_view field = store::PlayNumberField(ticket, k);
      // A field edited outside the program may hold anything: anything but two digits is quoted,
      // so that it is read back as text and never as another number ("-0") or as more fields.
      if (store::IsTwoDigits(field)) {
        text.append(field);
      } else {
        plain = false;
        text += store::CsvField(field, {});
      }
    }
    oddTickets += plain ? 0 : 1;
    text.push_back('\n');
  }
  if (odd != nullptr) {
    *odd = oddTickets;
  }
  return text;
}

std::string InputName(const std::string& path) {
  return path == kStandardInput ? "standard input" : path;
}

// Import and draws files may be pipes or standard input, so they are read as a stream; only the
// data file goes through the store. A problem names the input as a person knows it. Reading stops
// at a size no draws file reaches (the whole history of a game is a few hundred KiB), so memory
// stays bounded whatever is handed in.
constexpr std::size_t kMaxInputBytes = std::size_t{32} << 20;

store::Result<std::string> ReadInputFile(const std::string& path) {
  const store::Result<int> fd = OpenInput(path);
  if (!fd) {
    return store::Fail(fd.error());
  }
  store::Result<std::string> bytes = store::ReadDescriptor(*fd, kMaxInputBytes);
  if (*fd != STDIN_FILENO) {
    ::close(*fd);
  }
  if (!bytes) {
    return store::Fail(InputName(path), bytes.error().reason);
  }
  if (bytes->size() > kMaxInputBytes) {
    return store::Fail(InputName(path), "it is larger than " +
                                            std::to_string(kMaxInputBytes >> 20) +
                                            " MiB; no draws file is that large");
  }
  return bytes;
}

void Report(CommandOutput& output, std::string_view subject, std::string_view problem) {
  AppendLine(output.err, std::string(kProgram).append(subject).append(": ").append(problem));
}

CommandOutput Failure(CommandOutput output, std::string_view subject, std::string_view problem) {
  output.status = kExitError;
  Report(output, subject, problem);
  return output;
}

CommandOutput Failure(std::string_view subject, std::string_view problem) {
  return Failure(CommandOutput{}, subject, problem);
}

CommandOutput Failure(const store::Problem& problem) {
  return Failure(problem.path, problem.reason);
}

std::string Counted(std::size_t count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

void ReportOutputFailure(CommandOutput& output, const std::string& reason) {
  if (output.changedFile.empty()) {
    output.status = kExitError;
    Report(output, "standard output", reason);
  } else {
    Report(output, "standard output",
           reason + " (" + output.changedFile + " was changed all the same)");
  }
}

CommandOutput RunCommandLine(const std::vector<std::string>& arguments, bool outputIsTerminal,
                             OutputWriter* stream) {
  const store::Result<Options> parsed = ParseArguments(arguments);
  if (!parsed) {
    CommandOutput output;
    AppendLine(
        output.err,
        std::string(kProgram).append(parsed.error().reason).append(" (see pelmora-check --help)"));
    return output;
  }
  // A long report goes out as it is made, through the writer that ends its lines as asked.
  ReportSink toStream;
  if (stream != nullptr) {
    stream->SetLfLineEnds(parsed->lfLineEnds);
    toStream = [stream](std::string_view piece) {
      stream->Write(piece);
      return !stream->readerGone() && stream->written();
    };
  }
  // A rewrite cut short is mended before the command reads its files, and told after it.
  std::vector<store::Problem> repairs;
  for (const std::string& file : {parsed->dataFile, store::DrawHistoryPath()}) {
    if (!file.empty()) {
      const store::Result<void> repaired = store::RepairUnfinishedWrite(file);
      repairs.insert(repairs.end(), repaired.notes().begin(), repaired.notes().end());
    }
  }
  CommandOutput output =
      RunCommand(*parsed, outputIsTerminal, stream != nullptr ? &toStream : nullptr);
  output.lfLineEnds = parsed->lfLineEnds;
  repairs.insert(repairs.end(), output.notes.begin(), output.notes.end());
  // A version that could not be kept did not stop the command; it is told after it, once.
  for (const store::Problem& note : output.notes) {
    if (note.kind == store::ProblemKind::VersionNotKept) {
      Report(output, parsed->dataFile,
             "the earlier version of the data file could not be kept in " + note.path + ": " +
                 note.reason + " (the change itself was made; this is reported once)");
      break;
    }
  }
  for (const store::Problem& note : repairs) {
    if (note.kind == store::ProblemKind::Repaired) {
      Report(output, note.path, note.reason);
    }
  }
  return output;
}

}  // namespace cli
