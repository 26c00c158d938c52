#include "cli/ImportTickets.h"

#include <optional>

#include "cli/DataFile.h"
#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/TicketFile.h"

namespace cli {

store::Result<DataFileForAdding> OpenForAdding(const std::string& path) {
  const store::Result<store::FileContents> contents = store::ReadWholeFile(path);
  if (!contents) {
    return store::Fail(contents.error());
  }
  DataFileForAdding file;
  if (!contents->exists || contents->bytes.empty()) {
    return file;  // an empty file holds nothing: adding starts it as a new one
  }
  const store::Result<int> count = UsableCount(
      path, store::ProfileDocument::Lookup(contents->bytes, store::kSection, store::kTotalKey));
  if (!count) {
    return store::Fail(count.error());
  }
  file.count = *count;
  return file;
}

store::Result<void> AddTickets(DataFileForAdding& file, const std::string& path,
                               const std::vector<std::string>& tickets) {
  for (const std::string& ticket : tickets) {
    if (std::string reason = store::ProfileDocument::RejectReason(store::kSection, "1", ticket);
        !reason.empty()) {
      return store::Fail(path, "the ticket \"" + ticket + "\" cannot be stored: " + reason);
    }
  }
  // Everything is judged again on the file as it is under the lock: another program may have
  // changed it since it was opened, while the input was being read.
  std::optional<store::Problem> refusal;
  int count = 0;
  const store::Result<void> written = store::ChangeDataFile(
      path, [&](store::ProfileDocument& doc, const store::FileContents& before) {
        if (!before.exists) {
          store::StartDocument(doc);  // as File > New starts it
        }
        const store::Result<int> usable =
            UsableCount(path, doc.Get(store::kSection, store::kTotalKey));
        if (!usable) {
          refusal = usable.error();
          return store::ChangeVerdict::Abandon;
        }
        count = *usable;
        const long long newCount =
            static_cast<long long>(count) + static_cast<long long>(tickets.size());
        if (newCount > store::kMaxTickets) {
          refusal = store::Problem{path, "it holds " + std::to_string(count) + " tickets; adding " +
                                             std::to_string(tickets.size()) + " would make " +
                                             std::to_string(newCount) + ", more than " +
                                             std::to_string(store::kMaxTickets)};
          return store::ChangeVerdict::Abandon;
        }
        // As if added one at a time in the window, so the lines and their order come out the
        // same.
        count = store::AppendToDocument(doc, count, tickets);
        return store::ChangeVerdict::Write;
      });
  if (refusal) {
    return store::Fail(std::move(*refusal));
  }
  if (!written) {
    return store::Fail(path, "could not be saved: " + written.error().reason);
  }
  file.count = count;
  return {};
}

}  // namespace cli
