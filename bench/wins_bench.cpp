// The wins of the largest data file over the whole history of the game, beside their floor, and
// what 1,000 claimed marks add to reading a data file at start-up, and the reminder's cost.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "check/Tiers.h"
#include "check/Wins.h"
#include "check/WinsOfFile.h"
#include "store/PlayNumber.h"
#include "store/TicketFile.h"
#include "store/WinsSection.h"

namespace {

constexpr int kTickets = 32767;
constexpr int kDraws = 3200;

std::vector<int> SixOf59(std::minstd_rand& random, int count) {
  std::vector<int> all(59);
  for (int i = 0; i < 59; ++i) {
    all[static_cast<std::size_t>(i)] = i + 1;
  }
  std::shuffle(all.begin(), all.end(), random);
  all.resize(static_cast<std::size_t>(count));
  return all;
}

std::vector<std::string> Tickets() {
  std::minstd_rand random(7);
  std::vector<std::string> tickets;
  for (int t = 0; t < kTickets; ++t) {
    const std::vector<int> six = SixOf59(random, 6);
    store::PlayFields fields;
    for (std::size_t k = 0; k < 6; ++k) {
      fields[k] = store::TwoDigitField(six[k]);
    }
    tickets.push_back(store::JoinPlayNumber(fields));
  }
  return tickets;
}

// Two draws a week, the newest on 2026-02-18.
std::vector<store::Draw> Draws() {
  std::minstd_rand random(11);
  std::vector<store::Draw> draws;
  store::Day day = 20260218;
  for (int d = 0; d < kDraws; ++d) {
    const std::vector<int> seven = SixOf59(random, 7);
    store::Draw draw;
    draw.date = day;
    draw.number = kDraws - d;
    std::copy_n(seven.begin(), 6, draw.balls.begin());
    draw.bonus = seven[6];
    draws.push_back(draw);
    day = store::AddDays(day, d % 2 == 0 ? -3 : -4);
  }
  return draws;
}

const store::TicketTexts& SharedTickets() {
  static const store::TicketTexts tickets(Tickets());
  return tickets;
}

const std::vector<store::Draw>& SharedDraws() {
  static const std::vector<store::Draw> draws = Draws();
  return draws;
}

// Every win found, counted and summed, and the first screenful of rows of each view made.
void BM_Wins(benchmark::State& state) {
  const check::PrizeTable prizes = check::DefaultPrizeTable();
  std::size_t wins = 0;
  for (auto _ : state) {
    const check::WinsList list =
        check::WinsList::Find(SharedTickets(), SharedDraws(), {}, prizes, 20260301);
    for (auto view : {std::optional<check::WinState>{}, std::optional{check::WinState::ToClaim},
                      std::optional{check::WinState::Expired}}) {
      const check::WinRows rows = list.Rows(view);
      for (std::size_t r = 0; r < std::min<std::size_t>(rows.size(), 40); ++r) {
        benchmark::DoNotOptimize(list.At(rows.Position(r)));
      }
    }
    wins = list.size();
  }
  state.counters["wins"] = static_cast<double>(wins);
}
BENCHMARK(BM_Wins)->Unit(benchmark::kMillisecond);

// The floor: only writing down as many wins, three bytes each, as the list keeps them.
void BM_WinsFloor(benchmark::State& state) {
  const std::size_t wins = check::WinsList::Find(SharedTickets(), SharedDraws(), {},
                                                 check::DefaultPrizeTable(), 20260301)
                               .size();
  for (auto _ : state) {
    std::vector<std::uint16_t> tickets;
    std::vector<check::Tier> tiers;
    for (std::size_t w = 0; w < wins; ++w) {
      tickets.push_back(static_cast<std::uint16_t>(w));
      tiers.push_back(check::Tier::Two);
    }
    benchmark::DoNotOptimize(tickets.data());
    benchmark::DoNotOptimize(tiers.data());
  }
}
BENCHMARK(BM_WinsFloor)->Unit(benchmark::kMillisecond);

// Reading a data file of 32,767 tickets as start-up does, with and without 1,000 claimed marks,
// and reading its marks.
std::string FileWithMarks(int marks) {
  std::string bytes = bench::DataFileBytes(Tickets());
  if (marks > 0) {
    bytes += "[Wins]\r\nSince=2000-01-01\r\n";
  }
  for (int m = 0; m < marks; ++m) {
    bytes += store::ClaimMark::KeyFor(kDraws - m, 0, m + 1) + "=2026-03-01,2026-02-18," +
             std::string(SharedTickets()[static_cast<std::size_t>(m)]) + "\r\n";
  }
  return bytes;
}

void BM_OpenFile(benchmark::State& state) {
  const std::string bytes = FileWithMarks(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(store::ParseTickets(bytes));
  }
}
BENCHMARK(BM_OpenFile)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ReadMarks(benchmark::State& state) {
  const std::string bytes = FileWithMarks(1000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(store::ParseWinsSection(bytes));
  }
}
BENCHMARK(BM_ReadMarks)->Unit(benchmark::kMillisecond);

// What the reminder does a moment after start-up: the data file with 1,000 marks, a history of
// 3,200 draws and the prize table read, and the wins of the draws still open found.
void BM_Reminder(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pelmora-wins-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string data = (folder / "t.pmd").string();
  const std::string history = (folder / "draws.csv").string();
  std::ofstream(data, std::ios::binary) << FileWithMarks(1000);
  std::vector<store::Draw> draws = SharedDraws();
  std::ofstream(history, std::ios::binary) << store::DrawsCsv(draws);
  const check::WinsSources sources{history, (folder / "prizes.ini").string()};
  for (auto _ : state) {
    benchmark::DoNotOptimize(check::LoadWinsOfFile(data, 20260301, sources, true));
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Reminder)->Unit(benchmark::kMillisecond);

}  // namespace
