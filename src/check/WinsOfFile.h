#pragma once

#include <string>
#include <vector>

#include "check/PrizeTable.h"
#include "check/Wins.h"
#include "store/DrawHistory.h"
#include "store/Problem.h"
#include "store/TicketTexts.h"
#include "store/WinsSection.h"

namespace check {

// Everything the wins of one data file are made of, read afresh: its tickets and its [Wins]
// section (one read of the file), the user's draw history and prize table.
struct WinsOfFile {
  store::TicketTexts tickets;
  store::WinsSection section;
  std::vector<store::Draw> draws;  // newest first
  std::size_t refusedDraws = 0;    // rows of the history that could not be read
  PrizeTable prizes;
  WinsList wins;
};

struct WinsSources {
  std::string history = store::DrawHistoryPath();
  std::string prizes = PrizeTablePath();
};

// Reads the data file, the history and the prize table and finds the wins as of `today`. With
// `openOnly`, only the draws whose wins can still be claimed are looked at, which is all a
// reminder needs and costs a few draws instead of the whole history. A data file that cannot be
// read fails; a missing or unreadable history or prize table reads as none or the defaults, a
// broken [Wins] section as far as it can be read (its problems are in `section`).
store::Result<WinsOfFile> LoadWinsOfFile(const std::string& dataFile, store::Day today,
                                         const WinsSources& sources = {}, bool openOnly = false);

}  // namespace check
