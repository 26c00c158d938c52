// What keeping the earlier version costs the command that deletes every ticket of the largest
// data file: the same Delete with keeping off and on, in one run. The versions folder is filled
// to its limits first, so each kept version also drops the oldest one, as it will in use.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "store/TicketFile.h"
#include "store/Versions.h"

namespace {

constexpr int kTickets = store::kMaxTickets;

std::string DataFileBytes(int round) {
  // The winning number differs from round to round, so no two versions are alike.
  constexpr int kTop = store::kHighestNumber;
  std::vector<std::string> tickets;
  for (int i = 1; i <= kTickets; ++i) {
    tickets.push_back(bench::TwoDigits(i % kTop + 1) + "-" +
                      bench::TwoDigits((i / kTop) % kTop + 1) + "-22-35-41-58");
  }
  return bench::DataFileBytes(tickets, bench::TwoDigits(round % kTop + 1) + "-17-22-35-41-58");
}

class Folder {
 public:
  Folder()
      : path_(std::filesystem::temp_directory_path() /
              ("pelmora-versions-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
    data_ = (path_ / "data").string();
    ::setenv("XDG_DATA_HOME", data_.c_str(), 1);
    file_ = (path_ / "syndicate.pmd").string();
    for (int round = 0; round < static_cast<int>(store::kMaxVersionsPerFile); ++round) {
      store::KeepVersion(file_, DataFileBytes(1000 + round));
    }
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& file() const { return file_; }
  // Keeping off: versions would go under a file, which fails at once.
  void Keep(bool keep) const { ::setenv("XDG_DATA_HOME", keep ? data_.c_str() : "/dev/null", 1); }

 private:
  std::filesystem::path path_;
  std::string data_;
  std::string file_;
};

// The milliseconds of the Delete; -1 when it failed, -2 when a version was to be kept and was not.
double DeleteMilliseconds(const std::string& file, int round, bool keep) {
  bench::WriteBytes(file, DataFileBytes(round));
  const auto start = std::chrono::steady_clock::now();
  const store::Result<void> result = store::RewriteTickets(file, {});
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  if (!result) {
    return -1.0;
  }
  return keep && !result.notes().empty() ? -2.0 : took.count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// Ctrl+A, Delete: the list emptied and the file rewritten from it, with keeping off and on in
// turn, so that both meet the same load of the disk. Manual time is the Delete with the version;
// the counters give the medians of both and of the difference within each pair.
void BM_DeleteEveryTicket(benchmark::State& state) {
  const Folder folder;
  std::vector<double> without;
  std::vector<double> with;
  std::vector<double> added;
  int round = 0;
  for (auto _ : state) {
    double times[2] = {0, 0};
    const bool keepFirst = round % 2 == 0;
    for (const bool keep : {keepFirst, !keepFirst}) {
      folder.Keep(keep);
      times[keep ? 1 : 0] = DeleteMilliseconds(folder.file(), round++, keep);
    }
    folder.Keep(true);
    if (times[0] < 0 || times[1] < 0) {
      state.SkipWithError(times[1] == -2.0 ? "the earlier version could not be kept"
                                           : "the data file could not be written");
      break;
    }
    without.push_back(times[0]);
    with.push_back(times[1]);
    added.push_back(times[1] - times[0]);
    state.SetIterationTime(times[1] / 1000.0);
  }
  state.counters["without_ms"] = Median(without);
  state.counters["with_ms"] = Median(with);
  state.counters["added_ms"] = Median(added);
}
BENCHMARK(BM_DeleteEveryTicket)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
