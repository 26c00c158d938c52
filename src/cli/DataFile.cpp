#include "cli/DataFile.h"

#include "store/AtomicFile.h"
#include "store/PlayNumber.h"
#include "store/TicketFile.h"

namespace cli {

store::Result<int> UsableCount(const std::string& path, const std::string& text) {
  const store::CountResult count = store::ConvertCount(text);
  if (std::string problem = store::CountFaultText(text, store::JudgeCount(text, count));
      !problem.empty()) {
    return store::Fail(path, std::move(problem));
  }
  return *count;
}

store::Result<store::FileContents> ReadExistingFile(const std::string& path) {
  store::Result<store::FileContents> contents = store::ReadWholeFile(path);
  if (contents && !contents->exists) {
    return store::Fail(path, "no such file");
  }
  return contents;
}

store::Result<LoadedDataFile> LoadDataFile(const std::string& path) {
  store::Result<store::FileContents> contents = ReadExistingFile(path);
  if (!contents) {
    return store::Fail(contents.error());
  }
  // One read serves the count, the tickets and the winning number.
  store::TicketList list = store::ParseTickets(std::move(contents->bytes));
  if (std::string problem =
          store::CountFaultText(list.countText, store::JudgeCount(list.countText, list.count));
      !problem.empty()) {
    return store::Fail(path, std::move(problem));
  }
  return LoadedDataFile{std::move(list.tickets), store::SplitPlayNumber(list.winning)};
}

}  // namespace cli
