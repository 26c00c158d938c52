#include "cli/ImportTickets.h"

#include "cli/DataFile.h"
#include "store/AtomicFile.h"
#include "store/CountConversion.h"
#include "store/TicketFile.h"

namespace cli {

DataFileForAdding OpenForAdding(const std::string& path) {
  DataFileForAdding file;
  store::FileContents contents;
  if (!ReadExistingFile(path, contents, file.problem))
    return file;
  file.document = store::ProfileDocument::ParseOwning(std::move(contents.bytes));
  const std::string totalText = file.document.Get(store::kSection, store::kTotalKey);
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
  // As if added one at a time in the window, so the lines and their order come out the same.
  const int raised = store::AppendToDocument(file.document, file.count, tickets);
  const store::WriteResult written = store::WriteFileAtomically(path, file.document.Serialize());
  if (!written.ok) {
    return "could not be saved: " + written.reason;
  }
  file.count = raised;
  return {};
}

}  // namespace cli
