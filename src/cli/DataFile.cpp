#include "cli/DataFile.h"

#include "store/AtomicFile.h"
#include "store/PlayNumber.h"
#include "store/TicketFile.h"

namespace cli {

std::string CountProblem(const std::string& text, const store::CountResult& count) {
  switch (store::JudgeCount(text, count)) {
    case store::CountFault::Missing:
      return "it holds no ticket count (TOTAL)";
    case store::CountFault::NotANumber:
      return "the ticket count (TOTAL) \"" + text + "\" is not a number";
    case store::CountFault::OutOfRange:
      return "the ticket count (TOTAL) " + text + " is out of range";
    case store::CountFault::Negative:
      return "the ticket count (TOTAL) " + text + " is below 0";
    case store::CountFault::None:
      break;
  }
  return {};
}

bool ReadExistingFile(const std::string& path, store::FileContents& contents,
                      std::string& problem) {
  contents = store::ReadWholeFile(path);
  if (contents.status == store::ReadStatus::Missing)
    problem = "no such file";
  else if (contents.status == store::ReadStatus::Failed)
    problem = contents.reason;
  return problem.empty();
}

LoadedDataFile LoadDataFile(const std::string& path) {
  LoadedDataFile file;
  store::FileContents contents;
  if (!ReadExistingFile(path, contents, file.problem))
    return file;
  // One read serves the count, the tickets and the winning number.
  store::TicketList list = store::ParseTickets(std::move(contents.bytes));
  if (std::string problem = CountProblem(list.countText, list.count); !problem.empty()) {
    file.problem = std::move(problem);
    return file;
  }
  file.tickets = std::move(list.tickets);
  for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
    file.winning[static_cast<std::size_t>(k - 1)] =
        std::string(store::PlayNumberField(list.winning, k));
  }
  file.ok = true;
  return file;
}

}  // namespace cli
