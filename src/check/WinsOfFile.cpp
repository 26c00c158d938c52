#include "check/WinsOfFile.h"

#include "store/AtomicFile.h"
#include "store/TicketFile.h"

namespace check {

store::Result<WinsOfFile> LoadWinsOfFile(const std::string& dataFile, store::Day today,
                                         const WinsSources& sources, bool openOnly) {
  store::Result<store::FileContents> contents = store::ReadWholeFile(dataFile);
  if (!contents) {
    return store::Unexpected{contents.error()};
  }
  if (!contents->exists) {
    return store::Fail(dataFile, "The data file does not exist.");
  }
  WinsOfFile file;
  file.section = store::ParseWinsSection(contents->bytes);
  file.tickets = store::ParseTickets(std::move(contents->bytes)).tickets;

  if (store::Result<PrizeTable> prizes = LoadPrizeTable(sources.prizes)) {
    file.prizes = *prizes;
  } else {
    file.prizes = DefaultPrizeTable();
  }
  if (store::Result<store::DrawsRead> history = store::ReadDrawHistory(sources.history)) {
    file.draws = std::move(history->draws);
    file.refusedDraws = history->refusedCount;
  }
  if (openOnly) {
    const store::Day oldest = store::AddDays(today, -file.prizes.daysToClaim);
    std::erase_if(file.draws, [oldest](const store::Draw& d) { return d.date < oldest; });
  }
  file.wins = WinsList::Find(file.tickets, file.draws, file.section, file.prizes, today);
  return file;
}

}  // namespace check
