#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "check/MatchCheck.h"

namespace {

using bench::TwoDigits;

constexpr int kTicketCount = store::kMaxTickets;
const check::WinningTexts kWinning = {"05", "12", "23", "34", "45", "56"};

// Every `reportEvery`-th ticket holds three or four winning numbers, the rest hold at most two, so
// the count of reported tickets is known in advance (0 for reportEvery == 0).
std::vector<std::string> MakeTickets(int reportEvery) {
  std::vector<int> winningValues = {5, 12, 23, 34, 45, 56};
  std::vector<int> otherValues;
  for (int n = store::kLowestNumber; n <= store::kHighestNumber; ++n) {
    if (std::find(winningValues.begin(), winningValues.end(), n) == winningValues.end()) {
      otherValues.push_back(n);
    }
  }
  std::mt19937 random(20240601);
  std::vector<std::string> tickets;
  tickets.reserve(kTicketCount);
  for (int i = 0; i < kTicketCount; ++i) {
    const bool reported = reportEvery > 0 && i % reportEvery == 0;
    const int winningPicks = reported ? 3 + i % 2 : i % 3;
    std::shuffle(winningValues.begin(), winningValues.end(), random);
    std::shuffle(otherValues.begin(), otherValues.end(), random);
    std::vector<int> picks(winningValues.begin(), winningValues.begin() + winningPicks);
    picks.insert(picks.end(), otherValues.begin(),
                 otherValues.begin() + (store::kNumbersPerTicket - winningPicks));
    std::shuffle(picks.begin(), picks.end(), random);
    std::string ticket;
    for (std::size_t k = 0; k < picks.size(); ++k) {
      if (k > 0) {
        ticket.push_back('-');
      }
      ticket.append(TwoDigits(picks[k]));
    }
    tickets.push_back(std::move(ticket));
  }
  return tickets;
}

void WriteCheckBench(benchmark::State& state) {
  const store::TicketTexts tickets = MakeTickets(static_cast<int>(state.range(0)));
  std::size_t reported = 0;
  for (auto _ : state) {
    std::size_t size = 0;
    reported = check::WriteCheck(kWinning, tickets, [&size](std::string_view piece) {
                 size += piece.size();
                 benchmark::DoNotOptimize(piece.data());
               }).reported;
    benchmark::DoNotOptimize(size);
  }
  state.counters["tickets"] = kTicketCount;
  state.counters["reported"] = static_cast<double>(reported);
  state.SetItemsProcessed(state.iterations() * kTicketCount);
}

}  // namespace

// Argument: every n-th ticket is reported (32 gives about 1,000 of 32,767; 1 all; 0 none).
BENCHMARK(WriteCheckBench)->Arg(32)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
