// Costs of the data file operations on the largest files the program supports.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/ProfileDocument.h"
#include "store/TicketFile.h"

namespace {

std::string TicketText(int seed) {
  store::PlayFields fields;
  for (int k = 0; k < store::kNumbersPerTicket; ++k) {
    fields[static_cast<std::size_t>(k)] =
        store::TwoDigitField(1 + (seed * 7 + k * 13) % store::kHighestNumber);
  }
  return store::JoinPlayNumber(fields);
}

std::vector<std::string> MakeTickets(int count, int seed) {
  std::vector<std::string> tickets;
  tickets.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    tickets.push_back(TicketText(i + seed));
  }
  return tickets;
}

// A data file as the program leaves it after adding `count` tickets one by one.
std::string DataFileBytes(int count) {
  return bench::DataFileBytes(MakeTickets(count, 0));
}

class BenchFile {
 public:
  explicit BenchFile(int count)
      : folder_(std::filesystem::temp_directory_path() /
                ("pelmora-store-bench-" + std::to_string(::getpid()))),
        bytes_(DataFileBytes(count)) {
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / ("tickets-" + std::to_string(count) + ".pmd")).string();
    Restore();
  }
  ~BenchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  void Restore() const { std::ofstream(path_, std::ios::binary) << bytes_; }
  const std::string& path() const { return path_; }

 private:
  std::filesystem::path folder_;
  std::string bytes_;
  std::string path_;
};

void BM_ReadAllTickets(benchmark::State& state) {
  const BenchFile file(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    store::TicketList list = store::ReadAllTickets(file.path());
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(BM_ReadAllTickets)->Arg(3276)->Arg(store::kMaxTickets)->Unit(benchmark::kMillisecond);

void BM_ReadProfileValue(benchmark::State& state) {
  const BenchFile file(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string value = store::ReadProfileValue(store::kSection, store::kWinningKey, file.path());
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ReadProfileValue)->Arg(3276)->Arg(store::kMaxTickets)->Unit(benchmark::kMillisecond);

// Every line's value changes on each run, as after deleting the first ticket.
void BM_RewriteTickets(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const BenchFile file(count);
  const std::vector<std::string> lists[2] = {MakeTickets(count, 1), MakeTickets(count, 2)};
  int turn = 0;
  for (auto _ : state) {
    const store::Result<void> result = store::RewriteTickets(file.path(), lists[turn]);
    if (!result) {
      state.SkipWithError(result.error().reason.c_str());
    }
    turn ^= 1;
  }
}
BENCHMARK(BM_RewriteTickets)->Arg(3276)->Arg(store::kMaxTickets)->Unit(benchmark::kMillisecond);

// Appending the last ticket the program allows to a file one short of it.
void BM_AddTicket(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0)) - 1;
  const BenchFile file(count);
  const std::string ticket = TicketText(12345);
  for (auto _ : state) {
    const store::Result<int> result = store::AppendTicket(file.path(), ticket);
    if (!result) {
      state.SkipWithError(result.error().reason.c_str());
    }
    state.PauseTiming();
    file.Restore();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddTicket)->Arg(3276)->Arg(store::kMaxTickets)->Unit(benchmark::kMillisecond);

// A document whose lines are megabytes long, with NUL bytes in names and values: parsing,
// changing and writing it back must stay linear in its size (a 10 MB line was once quadratic).
void BM_ParseHugeLines(benchmark::State& state) {
  const std::string huge(static_cast<std::size_t>(state.range(0)) << 20, 'v');
  std::string text = "[S]\r\nk=a";
  text.push_back('\0');
  text += "b\r\n=c\r\nbig=" + huge + "\r\n" + huge + "\r\n[" + huge + "]\r\nx=1\r\n";
  for (auto _ : state) {
    store::ProfileDocument doc = store::ProfileDocument::Parse(text);
    doc.Set("S", "big", "small");
    doc.Set(huge, "y", "2");
    benchmark::DoNotOptimize(doc.Serialize());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseHugeLines)
    ->Arg(1)
    ->Arg(4)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Adding keys one by one and deleting them out of order must not slow down per key as the
// section grows.
void BM_AppendAndDeleteKeys(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0));
  for (auto _ : state) {
    store::ProfileDocument doc =
        store::ProfileDocument::Parse("[Numbers]\r\nTOTAL=0\r\n\r\n[Other]\r\nx=1\r\n");
    for (int k = 1; k <= keys; ++k) {
      doc.Set("Numbers", std::to_string(k), "01-02-03-04-05-06");
    }
    for (int k = 1; k <= keys; k += 2) {
      doc.Delete("Numbers", std::to_string(k));
    }
    for (int k = keys; k >= 2; k -= 2) {
      doc.Delete("Numbers", std::to_string(k));
    }
    benchmark::DoNotOptimize(doc.Serialize());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AppendAndDeleteKeys)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
