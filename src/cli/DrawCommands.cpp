#include "cli/Commands.h"

#include "check/PrizeTable.h"
#include "cli/DataFile.h"
#include "cli/TierReport.h"
#include "store/DrawHistory.h"

namespace cli {

namespace {

void ReportRefused(CommandOutput& output, const std::string& file, const store::DrawsRead& read) {
  for (const store::RefusedDraw& refused : read.refused) {
    Report(output, file + ":" + std::to_string(refused.line), refused.reason);
  }
  if (read.refusedCount > read.refused.size()) {
    Report(output, file,
           std::to_string(read.refusedCount - read.refused.size()) +
               " more lines refused, not listed");
  }
}

// The user's prize table; one that cannot be read is told, and the game's amounts are used.
check::PrizeTable Prizes(CommandOutput& output) {
  const std::string path = check::PrizeTablePath();
  const store::Result<check::PrizeTable> prizes = check::LoadPrizeTable(path);
  if (!prizes) {
    Report(output, path, prizes.error().reason + "; the usual prizes are shown");
    return check::DefaultPrizeTable();
  }
  return *prizes;
}

CommandOutput ReportWins(CommandOutput output, const std::vector<store::Draw>& draws,
                         const store::TicketTexts& tickets, const ReportSink* sink) {
  const check::PrizeTable prizes = Prizes(output);
  const TierReportSummary summary =
      sink != nullptr ? WriteTierReport(draws, tickets, prizes, *sink)
                      : WriteTierReport(draws, tickets, prizes, [&output](std::string_view piece) {
                          output.out.append(piece);
                          return true;
                        });
  output.status = summary.anyWon ? kExitFound : kExitNotFound;
  return output;
}

std::string ConflictText(const store::DrawConflict& conflict) {
  return "draw " + DrawNameText(conflict.stored) + " is stored as " +
         DrawBallsText(conflict.stored) + ", the file has " + DrawBallsText(conflict.incoming);
}

}  // namespace

CommandOutput RunDrawsCommand(const Options& options, const ReportSink* sink) {
  const store::Result<LoadedDataFile> file = LoadDataFile(options.dataFile);
  if (!file) {
    return Failure(file.error());
  }
  if (file->tickets.empty()) {
    return Failure(options.dataFile, "it holds no tickets");
  }
  const std::string drawsName = InputName(options.drawsFile);
  const store::Result<std::string> input = ReadInputFile(options.drawsFile);
  if (!input) {
    return Failure(input.error());
  }
  const store::DrawsRead read = store::ReadDraws(*input);
  CommandOutput output;
  ReportRefused(output, drawsName, read);
  if (read.refusedCount != 0 && !options.skipBad) {
    return Failure(std::move(output), drawsName,
                   Counted(read.refusedCount, "line") +
                       " refused; nothing was checked (--skip-bad checks the other draws)");
  }
  if (read.draws.empty()) {
    return Failure(std::move(output), drawsName, "it holds no draws");
  }
  return ReportWins(std::move(output), read.draws, file->tickets, sink);
}

CommandOutput RunAddDrawsCommand(const Options& options) {
  const std::string drawsName = InputName(options.drawsFile);
  const store::Result<std::string> input = ReadInputFile(options.drawsFile);
  if (!input) {
    return Failure(input.error());
  }
  const std::string history = store::DrawHistoryPath();
  const store::DrawsRead read = store::ReadDraws(*input);
  CommandOutput output;
  ReportRefused(output, drawsName, read);
  if (read.refusedCount != 0 && !options.skipBad) {
    return Failure(std::move(output), drawsName,
                   Counted(read.refusedCount, "line") + " refused; nothing was added to " +
                       history + " (--skip-bad adds the other draws)");
  }
  if (read.draws.empty()) {
    return Failure(std::move(output), drawsName, "it holds no draws; nothing was added");
  }
  const store::Result<store::DrawMerge> merge =
      store::AddToDrawHistory(history, read.draws, options.replace);
  if (!merge) {
    return Failure(std::move(output), merge.error().path,
                   merge.error().reason + "; nothing was added");
  }
  if (merge->added != 0 || merge->replaced != 0) {
    output.changedFile = history;
  }
  for (const store::DrawConflict& conflict : merge->conflicts) {
    output.out += "Conflict: " + ConflictText(conflict) +
                  (options.replace ? "; replaced.\n" : "; kept (--replace takes the file's).\n");
  }
  const std::size_t conflicts = merge->conflicts.size() - merge->replaced;
  output.out +=
      "Draw history " + history + ": " + std::to_string(merge->added) + " added, " +
      std::to_string(merge->unchanged) + " unchanged, " + std::to_string(merge->conflicts.size()) +
      " conflicting" +
      (merge->replaced != 0 ? " (" + std::to_string(merge->replaced) + " replaced)" : "") + ", " +
      std::to_string(read.refusedCount) + " refused.\n";
  output.status = conflicts == 0 ? kExitFound : kExitNotFound;
  return output;
}

CommandOutput RunHistoryCommand(const Options& options, const ReportSink* sink) {
  store::DrawDay days[2] = {0, 0};
  const std::string* given[2] = {&options.from, &options.to};
  for (int i = 0; i < 2; ++i) {
    if (!given[i]->empty() && (days[i] = store::ParseDrawDay(*given[i])) == 0) {
      return Failure(std::string(i == 0 ? "--from " : "--to ") + *given[i],
                     "not a day such as 2026-02-18 or 18-Feb-2026");
    }
  }
  const store::Result<LoadedDataFile> file = LoadDataFile(options.dataFile);
  if (!file) {
    return Failure(file.error());
  }
  if (file->tickets.empty()) {
    return Failure(options.dataFile, "it holds no tickets");
  }
  const std::string history = store::DrawHistoryPath();
  store::Result<store::DrawsRead> read = store::ReadDrawHistory(history);
  if (!read) {
    return Failure(read.error());
  }
  CommandOutput output;
  // The user's own file: rows that cannot be read are told and passed over.
  ReportRefused(output, history, *read);
  const check::DrawSpan span = check::DrawsBetween(read->draws, days[0], days[1]);
  if (span.first == span.last) {
    return Failure(std::move(output), history,
                   read->draws.empty() ? "the draw history holds no draws (add some with "
                                         "--add-draws)"
                                       : "the draw history holds no draws between those days");
  }
  std::vector<store::Draw> draws(read->draws.begin() + static_cast<std::ptrdiff_t>(span.first),
                                 read->draws.begin() + static_cast<std::ptrdiff_t>(span.last));
  return ReportWins(std::move(output), draws, file->tickets, sink);
}

}  // namespace cli
