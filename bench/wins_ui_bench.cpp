// The Wins window on the largest data file over a whole history of the game: opening it lists
// 32,767 tickets' wins over 3,200 draws (read from the files, found, and shown); beside it the
// floor of reading the same files alone.
#include <unistd.h>

#include <QApplication>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <random>

#include "BenchSupport.h"
#include "QtBenchMain.h"
#include "check/PrizeTable.h"
#include "store/AtomicFile.h"
#include "store/DrawHistory.h"
#include "store/PlayNumber.h"
#include "store/WinsSection.h"
#include "ui/wins/WinsModel.h"
#include "ui/wins/frmWins.h"

namespace {

std::vector<int> Balls(std::minstd_rand& random, std::size_t count) {
  std::vector<int> all(59);
  for (int i = 0; i < 59; ++i) {
    all[static_cast<std::size_t>(i)] = i + 1;
  }
  std::shuffle(all.begin(), all.end(), random);
  all.resize(count);
  return all;
}

class Files {
 public:
  Files()
      : folder_(std::filesystem::temp_directory_path() /
                ("pelmora-wins-ui-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_ / "data" / "pelmora");
    ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    std::minstd_rand random(7);
    std::vector<std::string> tickets;
    for (int t = 0; t < 32767; ++t) {
      const std::vector<int> six = Balls(random, 6);
      store::PlayFields fields;
      for (std::size_t k = 0; k < 6; ++k) {
        fields[k] = store::TwoDigitField(six[k]);
      }
      tickets.push_back(store::JoinPlayNumber(fields));
    }
    data_ = (folder_ / "t.pmd").string();
    std::ofstream(data_, std::ios::binary) << bench::DataFileBytes(tickets);
    std::vector<store::Draw> draws;
    store::Day day = 20260218;
    for (int d = 0; d < 3200; ++d) {
      const std::vector<int> seven = Balls(random, 7);
      store::Draw draw;
      draw.date = day;
      draw.number = 3200 - d;
      std::copy_n(seven.begin(), 6, draw.balls.begin());
      draw.bonus = seven[6];
      draws.push_back(draw);
      day = store::AddDays(day, d % 2 == 0 ? -3 : -4);
    }
    std::ofstream(store::DrawHistoryPath(), std::ios::binary) << store::DrawsCsv(draws);
  }
  ~Files() { std::filesystem::remove_all(folder_); }
  const std::string& data() const { return data_; }

 private:
  std::filesystem::path folder_;
  std::string data_;
};

const Files& SharedFiles() {
  static const Files files;
  return files;
}

void BM_WinsWindow(benchmark::State& state) {
  const Files& files = SharedFiles();
  frmWins window;
  window.show();
  std::size_t rows = 0;
  for (auto _ : state) {
    window.Form_Load(files.data(), 20260301);
    window.findChild<QTableView*>()->viewport()->repaint();
    rows = static_cast<std::size_t>(window.Model()->rowCount());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_WinsWindow)->Unit(benchmark::kMillisecond);

// The floor: the data file and the history read and parsed, nothing found or shown.
void BM_WinsWindowFloor(benchmark::State& state) {
  const Files& files = SharedFiles();
  for (auto _ : state) {
    benchmark::DoNotOptimize(store::ReadWholeFile(files.data()));
    benchmark::DoNotOptimize(store::ReadDrawHistory(store::DrawHistoryPath()));
  }
}
BENCHMARK(BM_WinsWindowFloor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithApplication(argc, argv);
}
