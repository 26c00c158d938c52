// A 100 MB data file of nothing but blank lines, as a hand edit gone wrong can leave: reading
// the list and rewriting it (Delete) must stay within twice the file's size plus 50 MB of memory
// and take well under two seconds. Each benchmark runs once in a fresh process, since the peak
// resident size it reports (from getrusage) is the process's whole-life peak:
//   blank_lines_bench --benchmark_filter=Read
//   blank_lines_bench --benchmark_filter=Rewrite
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "store/TicketFile.h"

namespace {

constexpr std::size_t kFileBytes = 100u << 20;

double PeakRssMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
}

// Written a megabyte at a time, so that making the file adds nothing to the peak.
class BlankLinesFile {
 public:
  BlankLinesFile()
      : path_((std::filesystem::temp_directory_path() /
               ("pelmora-blank-lines-" + std::to_string(::getpid()) + ".pmd"))
                  .string()) {
    Restore();
  }
  ~BlankLinesFile() { std::filesystem::remove(path_); }
  void Restore() const {
    std::string chunk;
    for (std::size_t i = 0; i < (1u << 20) / 2; ++i)
      chunk += "\r\n";
    bench::WriteBytes(path_, std::string());
    const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    for (std::size_t done = 0; done < kFileBytes; done += chunk.size()) {
      if (::write(fd, chunk.data(), chunk.size()) != static_cast<ssize_t>(chunk.size()))
        break;
    }
    ::close(fd);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void Report(benchmark::State& state) {
  state.counters["file_MB"] = static_cast<double>(kFileBytes >> 20);
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
  state.counters["limit_MB"] = 2.0 * static_cast<double>(kFileBytes >> 20) + 50.0;
}

void BM_ReadBlankLines(benchmark::State& state) {
  const BlankLinesFile file;
  for (auto _ : state) {
    const store::TicketList list = store::ReadAllTickets(file.path());
    benchmark::DoNotOptimize(list.tickets.size());
  }
  Report(state);
}
BENCHMARK(BM_ReadBlankLines)->Iterations(1)->Unit(benchmark::kMillisecond);

// Delete on such a file: the (empty) list written back, which adds the section at the end.
void BM_RewriteBlankLines(benchmark::State& state) {
  const BlankLinesFile file;
  for (auto _ : state) {
    const store::Result<void> result = store::RewriteTickets(file.path(), {});
    if (!result)
      state.SkipWithError(result.error().reason.c_str());
  }
  Report(state);
}
BENCHMARK(BM_RewriteBlankLines)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
