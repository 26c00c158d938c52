#include "cli/ImportTickets.h"

#include "cli/DataFile.h"
#include "store/AtomicFile.h"
#include "store/CountConversion.h"
#include "store/DataFileChange.h"
#include "store/TicketFile.h"

namespace cli {

namespace {

// Why tickets cannot be added after the count read as `totalText`, or the empty text.
std::string CountProblemOf(const std::string& totalText, int& count) {
  const store::CountResult converted = store::ConvertCount(totalText);
  if (std::string problem = CountProblem(totalText, converted); !problem.empty()) {
    return problem;
  }
  count = converted.value;
  return {};
}

}  // namespace

DataFileForAdding OpenForAdding(const std::string& path) {
  DataFileForAdding file;
  const store::FileContents contents = store::ReadWholeFile(path);
  if (contents.status != store::ReadStatus::Ok) {
    file.missing = contents.status == store::ReadStatus::Missing;
    file.ok = file.missing;
    file.problem = contents.reason;
    return file;
  }
  file.problem = CountProblemOf(
      store::ProfileDocument::Lookup(contents.bytes, store::kSection, store::kTotalKey),
      file.count);
  file.ok = file.problem.empty();
  return file;
}

std::string AddTickets(DataFileForAdding& file, const std::string& path,
                       const std::vector<std::string>& tickets) {
  if (!file.ok) {
    return file.problem;
  }
  for (const std::string& ticket : tickets) {
    if (std::string reason = store::ProfileDocument::RejectReason(store::kSection, "1", ticket);
        !reason.empty()) {
      return "the ticket \"" + ticket + "\" cannot be stored: " + reason;
    }
  }
  // Everything is judged again on the file as it is under the lock: another program may have
  // changed it since it was opened, while the input was being read.
  std::string problem;
  int count = 0;
  const store::WriteResult written = store::ChangeDataFile(
      path, [&](store::ProfileDocument& doc, const store::FileContents& before) {
        if (before.status == store::ReadStatus::Missing) {
          store::StartDocument(doc);  // as File > New starts it
        }
        problem = CountProblemOf(doc.Get(store::kSection, store::kTotalKey), count);
        if (!problem.empty()) {
          return store::ChangeVerdict::Abandon;
        }
        const long long newCount =
            static_cast<long long>(count) + static_cast<long long>(tickets.size());
        if (newCount > store::kMaxTickets) {
          problem = "it holds " + std::to_string(count) + " tickets; adding " +
                    std::to_string(tickets.size()) + " would make " + std::to_string(newCount) +
                    ", more than " + std::to_string(store::kMaxTickets);
          return store::ChangeVerdict::Abandon;
        }
        // As if added one at a time in the window, so the lines and their order come out the
        // same.
        count = store::AppendToDocument(doc, count, tickets);
        return store::ChangeVerdict::Write;
      });
  if (!written.ok) {
    return problem.empty() ? "could not be saved: " + written.reason : problem;
  }
  if (problem.empty()) {
    file.count = count;
  }
  return problem;
}

}  // namespace cli
