#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "cli/ImportTickets.h"
#include "cli/NumberLines.h"
#include "cli/TierReport.h"
#include "store/DrawHistory.h"
#include "store/PlayNumber.h"

namespace {

std::vector<int> SixOf59(std::mt19937& random) {
  std::vector<int> pool(store::kHighestNumber);
  std::iota(pool.begin(), pool.end(), store::kLowestNumber);
  std::shuffle(pool.begin(), pool.end(), random);
  pool.resize(store::kNumbersPerTicket);
  return pool;
}

// An import file as a spreadsheet writes it, separators varying from line to line.
std::string ImportText(int lines) {
  std::mt19937 random(11);
  const char* separators[] = {" ", ",", "-", ";", "\t"};
  std::string text = "n1,n2,n3,n4,n5,n6\r\n";
  for (int i = 0; i < lines; ++i) {
    const std::vector<int> numbers = SixOf59(random);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      if (k > 0) {
        text += separators[i % 5];
      }
      text += std::to_string(numbers[k]);
    }
    text += "\r\n";
  }
  return text;
}

std::string BenchFolder() {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pelmora-cli-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder.string();
}

// Parsing 32,000 lines and adding them to an empty data file with its one atomic write.
void ImportTickets(benchmark::State& state) {
  const std::string text = ImportText(static_cast<int>(state.range(0)));
  const std::string folder = BenchFolder();
  const std::string path = folder + "/import.pmd";
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(path, std::ios::binary) << bench::FileHead(0, store::kEmptyPlayNumber);
    state.ResumeTiming();
    const store::Result<cli::TicketLines> lines = cli::ParseTicketLines(text);
    if (!lines) {
      state.SkipWithError(lines.error().reason.c_str());
      break;
    }
    store::Result<cli::DataFileForAdding> file = cli::OpenForAdding(path);
    const store::Result<void> added =
        file ? cli::AddTickets(*file, path, lines->tickets) : store::Fail(file.error());
    if (!added || !lines->refused.empty()) {
      state.SkipWithError(added ? "refused lines" : added.error().reason.c_str());
      break;
    }
  }
  std::filesystem::remove_all(folder);
  state.counters["tickets"] = static_cast<double>(state.range(0));
}
BENCHMARK(ImportTickets)->Arg(32000)->Unit(benchmark::kMillisecond);

// A full data file against the lottery's whole history, report text included.
void CheckDraws(benchmark::State& state) {
  std::mt19937 random(5);
  store::TicketTexts tickets;
  for (int i = 0; i < store::kMaxTickets; ++i) {
    store::PlayFields fields;
    const std::vector<int> numbers = SixOf59(random);
    for (std::size_t k = 0; k < fields.size(); ++k) {
      fields[k] = store::TwoDigitField(numbers[k]);
    }
    tickets.push_back(store::JoinPlayNumber(fields));
  }
  std::string drawsText;
  for (int d = 0; d < static_cast<int>(state.range(0)); ++d) {
    drawsText += "2024-01-" + std::to_string(1 + d % 28) + ",";
    const std::vector<int> numbers = SixOf59(random);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      drawsText += (k > 0 ? "," : "") + std::to_string(numbers[k]);
    }
    drawsText += "\n";
  }
  std::size_t reportSize = 0;
  for (auto _ : state) {
    const store::DrawsRead draws = store::ReadDraws(drawsText);
    reportSize = 0;
    cli::WriteTierReport(draws.draws, tickets, check::DefaultPrizeTable(),
                         [&reportSize](std::string_view piece) {
                           reportSize += piece.size();
                           benchmark::DoNotOptimize(piece.data());
                           return true;
                         });
  }
  state.counters["report_bytes"] = static_cast<double>(reportSize);
}
BENCHMARK(CheckDraws)->Arg(1000)->Arg(3200)->Unit(benchmark::kMillisecond);

}  // namespace
