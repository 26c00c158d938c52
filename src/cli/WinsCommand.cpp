#include "cli/Commands.h"

#include "check/WinsOfFile.h"
#include "store/TextUtil.h"

namespace cli {
namespace {

std::string CsvField(std::string_view text) {
  return store::CsvField(text, ",\"\r\n");
}

std::string Padded(std::string text, std::size_t width) {
  // Pound signs take two bytes and one column.
  std::size_t columns = 0;
  for (unsigned char c : text) {
    columns += (c & 0xC0) != 0x80 ? 1 : 0;
  }
  if (columns < width) {
    text.append(width - columns, ' ');
  }
  return text;
}

std::string DrawNumberText(const store::Draw& draw) {
  return draw.number > 0 ? std::to_string(draw.number) : std::string("-");
}

}  // namespace

CommandOutput RunWinsCommand(const Options& options, const ReportSink* sink) {
  CommandOutput output;
  store::Day today = store::Today();
  if (options.today) {
    store::Result<store::Day> day = store::ReadPlayingDay("--today", *options.today);
    if (!day || *day == 0) {
      return Failure("--today", day ? "needs a date" : day.error().reason);
    }
    today = *day;
  }
  if (options.since || options.until) {
    store::Result<store::WinsSection> current = store::ReadWinsSection(options.dataFile);
    if (!current) {
      return Failure(current.error());
    }
    store::Day since = current->since;
    store::Day until = current->until;
    for (const auto& [given, target, name] :
         {std::tuple{&options.since, &since, "--since"}, {&options.until, &until, "--until"}}) {
      if (*given) {
        store::Result<store::Day> day = store::ReadPlayingDay(name, **given);
        if (!day) {
          return Failure(name, day.error().reason);
        }
        *target = *day;
      }
    }
    const store::Result<void> set = store::SetPlayingDays(options.dataFile, since, until);
    if (!set) {
      return Failure(set.error());
    }
    output.changedFile = options.dataFile;
    output.notes = set.notes();
  }

  store::Result<check::WinsOfFile> loaded = check::LoadWinsOfFile(options.dataFile, today);
  if (!loaded) {
    return Failure(loaded.error());
  }
  const check::WinsOfFile& file = *loaded;
  for (const std::string& problem : file.section.problems) {
    Report(output, options.dataFile, problem);
  }
  if (file.draws.empty()) {
    Report(output, store::DrawHistoryPath(),
           "the draw history holds no draws (add some with the Draw History window or "
           "pelmora-check)");
  }
  output.status = kExitFound;

  bool open = true;
  std::string buffer;
  const auto flush = [&](bool always) {
    if (open && (always || buffer.size() >= 64 * 1024)) {
      if (sink != nullptr) {
        open = (*sink)(buffer);
      } else {
        output.out += buffer;
      }
      buffer.clear();
    }
  };

  const check::WinsList& wins = file.wins;
  if (options.winsCsv) {
    buffer += "Deadline,State,Claimed,DrawNumber,DrawDate,Ticket,Numbers,Tier,Prize\n";
  } else {
    buffer += "Playing since " +
              (file.section.since ? store::IsoDayText(file.section.since) : "the first draw") +
              ", until " +
              (file.section.until ? store::IsoDayText(file.section.until) : "the latest draw") +
              "; " + std::to_string(file.draws.size()) + " draws in the history.\n";
    if (wins.size() != 0) {
      buffer +=
          "Deadline    State       Draw   Date        Ticket  Numbers            Tier       "
          "Prize\n";
    }
  }
  for (std::size_t p = 0; p < wins.size() && open; ++p) {
    const check::Win win = wins.At(p);
    const store::Draw& draw = file.draws[win.draw];
    const std::string state = check::WinStateName(win.state);
    const std::string claimed =
        win.mark >= 0 ? store::IsoDayText(file.section.claims[std::size_t(win.mark)].claimedOn)
                      : std::string();
    const std::string prize = check::PrizeText(file.prizes, win.tier);
    const std::string_view ticket = file.tickets[std::size_t(win.ticket - 1)];
    if (options.winsCsv) {
      buffer += store::IsoDayText(win.deadline) + "," + state + "," + claimed + "," +
                DrawNumberText(draw) + "," + store::IsoDayText(draw.date) + "," +
                std::to_string(win.ticket) + "," + CsvField(ticket) + "," +
                CsvField(check::TierName(win.tier)) + "," + CsvField(prize) + "\n";
    } else {
      buffer += Padded(store::IsoDayText(win.deadline), 12) +
                Padded(win.mark >= 0 ? "claimed " + claimed.substr(2) : state, 12) +
                Padded(DrawNumberText(draw), 7) + Padded(store::IsoDayText(draw.date), 12) +
                Padded(std::to_string(win.ticket), 8) + Padded(std::string(ticket), 19) +
                Padded(std::string(check::TierName(win.tier)), 11) + prize + "\n";
    }
    flush(false);
  }
  const check::WinsList::Due due = wins.DueWithin();
  if (options.winsCsv) {
    for (const check::LooseMark& loose : wins.LooseMarks()) {
      const store::ClaimMark& mark = file.section.claims[loose.mark];
      Report(output, options.dataFile,
             mark.key + ": claimed " + store::IsoDayText(mark.claimedOn) +
                 ", no longer a win: " + loose.reason + " (the mark is kept)");
    }
  } else {
    buffer += "To claim: " + Counted(wins.Count(check::WinState::ToClaim), "win") + ", " +
              wins.Sum(check::WinState::ToClaim).Text() +
              ". Claimed: " + Counted(wins.Count(check::WinState::Claimed), "win") + ", " +
              wins.Sum(check::WinState::Claimed).Text() +
              ". Expired: " + Counted(wins.Count(check::WinState::Expired), "win") + ", " +
              wins.Sum(check::WinState::Expired).Text() + ".\n";
    buffer += "Won in all: " + Counted(wins.size(), "win") + ", " + wins.Sum().Text() + ".\n";
    if (due.wins != 0) {
      buffer += "Due within " + std::to_string(check::kReminderDays) +
                " days: " + Counted(due.wins, "win") + ", the first by " +
                store::IsoDayText(due.firstDeadline) + ".\n";
    }
    for (const check::LooseMark& loose : wins.LooseMarks()) {
      const store::ClaimMark& mark = file.section.claims[loose.mark];
      buffer += "Claimed " + store::IsoDayText(mark.claimedOn) + " (" + mark.key +
                "), no longer a win: " + loose.reason + ".\n";
    }
  }
  flush(true);
  if (!open) {
    return output;  // the reader went away; the writer reports it
  }
  output.status = due.wins != 0 ? kExitNotFound : kExitFound;
  return output;
}

}  // namespace cli
