#include "cli/Commands.h"

#include <cstdio>
#include <unordered_map>

#include "cli/DataFile.h"
#include "store/TicketFile.h"
#include "store/Versions.h"

namespace cli {

namespace {

std::string NoneKept(const Options& options, const std::string& folder) {
  return "No versions of " + options.dataFile + " are kept (they would be in " + folder + ").\n";
}

std::string ListingLine(const std::string& when, const std::string& tickets,
                        const std::string& winning, const std::string& lacking) {
  char line[320];
  std::snprintf(line, sizeof line, "%-28s %8s  %-17s  %s\n", when.c_str(), tickets.c_str(),
                winning.c_str(), lacking.c_str());
  return line;
}

// How many of `version`'s tickets `current` lacks, a ticket held twice counting twice.
std::size_t TicketsLacking(const store::TicketTexts& version, const store::TicketTexts& current) {
  std::unordered_map<std::string_view, std::size_t> held;
  for (const std::string_view ticket : current) {
    ++held[ticket];
  }
  std::size_t lacking = 0;
  for (const std::string_view ticket : version) {
    const auto found = held.find(ticket);
    if (found == held.end() || found->second == 0) {
      ++lacking;
    } else {
      --found->second;
    }
  }
  return lacking;
}

CommandOutput ListCommand(const Options& options, const store::VersionList& list) {
  CommandOutput output;
  if (list.versions.empty()) {
    output.out = NoneKept(options, list.folder);
    output.status = kExitNotFound;
    return output;
  }
  const store::TicketTexts current = store::ReadAllTickets(options.dataFile).tickets;
  output.out = "Versions of " + options.dataFile + " kept in " + list.folder + ", oldest first:\n";
  output.out += ListingLine("WHEN", "TICKETS", "WINNING NUMBER", "NOT IN THE FILE NOW");
  for (const store::KeptVersion& version : list.versions) {
    // One read gives the tickets and the winning number; on a terminal the output writer shows
    // any control characters in them escaped.
    const store::TicketList kept = store::ReadAllTickets(version.file);
    output.out += ListingLine(version.when, std::to_string(kept.tickets.size()),
                              kept.winning.empty() ? "-" : kept.winning,
                              std::to_string(TicketsLacking(kept.tickets, current)));
  }
  output.out += "Put one back with: pelmora-check --restore WHEN " + options.dataFile + "\n";
  output.status = kExitFound;
  return output;
}

CommandOutput RestoreCommand(const Options& options, const store::VersionList& list) {
  const store::Result<store::KeptVersion> found = store::FindVersion(list, options.restoreWhen);
  if (!found) {
    return Failure(options.dataFile, found.error().reason + " (see pelmora-check --versions)");
  }
  const store::Result<store::FileContents> version = ReadExistingFile(found->file);
  if (!version) {
    return Failure(version.error());
  }
  const store::Result<void> written = store::RestoreDataFile(options.dataFile, version->bytes);
  if (!written) {
    return Failure(written.error().path, written.error().reason + "; nothing was restored");
  }
  CommandOutput output;
  output.notes = written.notes();
  output.out = "Restored " + options.dataFile + " as it was at " + found->when + "; it now holds " +
               Counted(store::ParseTickets(version->bytes).tickets.size(), "ticket") + ".\n";
  output.status = kExitFound;
  return output;
}

CommandOutput ForgetCommand(const Options& options) {
  const store::ForgetResult forgotten = store::ForgetVersions(options.dataFile);
  CommandOutput output;
  if (!forgotten.write) {
    output = Failure(forgotten.write.error());
  } else if (forgotten.removed == 0) {
    output.out = NoneKept(options, store::VersionFolderOf(options.dataFile));
    output.status = kExitNotFound;
  } else {
    output.status = kExitFound;
  }
  if (forgotten.removed > 0) {
    output.out =
        "Removed " + Counted(forgotten.removed, "version") + " of " + options.dataFile + ".\n";
  }
  return output;
}

}  // namespace

CommandOutput RunVersionsCommand(const Options& options) {
  if (options.mode == Mode::Forget) {
    return ForgetCommand(options);
  }
  const store::Result<store::VersionList> list = store::ListVersions(options.dataFile);
  if (!list) {
    const store::Problem& problem = list.error();
    return Failure(problem.path.empty() ? options.dataFile : problem.path, problem.reason);
  }
  return options.mode == Mode::Restore ? RestoreCommand(options, *list)
                                       : ListCommand(options, *list);
}

}  // namespace cli
