#include "cli/ImportTickets.h"

#include "cli/DataFile.h"
#include "store/AtomicFile.h"
#include "store/CountConversion.h"
#include "store/TicketFile.h"

namespace cli {

namespace {

// The spelling the window uses when it raises the count; only the spelling of a newly added line
// depends on it.
constexpr std::string_view kTotalKeyAsRaised = "Total";

}  // namespace

DataFileForAdding OpenForAdding(const std::string& path) {
  DataFileForAdding file;
  store::FileContents contents;
  if (!ReadExistingFile(path, contents, file.problem))
    return file;
  file.document = store::ProfileDocument::ParseOwning(std::move(contents.bytes));
  const std::string totalText = file.document.Get(store::kSection, kTotalKeyAsRaised);
  const store::CountResult count = store::ConvertCount(totalText);
  if (std::string problem = CountProblem(totalText, count); !problem.empty()) {
    file.problem = std::move(problem);
    return file;
  }
  file.count = count.value;
  file.ok = true;
  return file;
}

std::string AddTickets(DataFileForAdding& file, const std::string& path,
                       const std::vector<std::string>& tickets) {
  if (!file.ok) {
    return file.problem;
  }
  const long long newCount =
      static_cast<long long>(file.count) + static_cast<long long>(tickets.size());
  if (newCount > store::kMaxTickets) {
    return "it holds " + std::to_string(file.count) + " tickets; adding " +
           std::to_string(tickets.size()) + " would make " + std::to_string(newCount) +
           ", more than " + std::to_string(store::kMaxTickets);
  }
  if (tickets.empty()) {
    return {};
  }
  for (const std::string& ticket : tickets) {
    if (std::string reason = store::ProfileDocument::RejectReason(store::kSection, "1", ticket);
        !reason.empty()) {
      return "the ticket \"" + ticket + "\" cannot be stored: " + reason;
    }
  }
  // The same two changes per ticket as adding them one at a time, so the lines and their order
  // come out the same, stale keys above the old count included.
  int key = file.count;
  for (const std::string& ticket : tickets) {
    const std::string keyText = std::to_string(++key);
    file.document.Set(store::kSection, kTotalKeyAsRaised, keyText);
    file.document.Set(store::kSection, keyText, ticket);
  }
  const store::WriteResult written = store::WriteFileAtomically(path, file.document.Serialize());
  if (!written.ok) {
    return "could not be saved: " + written.reason;
  }
  file.count = key;
  return {};
}

}  // namespace cli
