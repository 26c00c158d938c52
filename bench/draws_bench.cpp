// The lottery's whole draw history against a full data file: the Draw History window checked
// and shown, and the import of the published history, each beside a floor.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "QtBenchMain.h"
#include "app/ChangeNotes.h"
#include "store/AtomicFile.h"
#include "store/DrawHistory.h"
#include "store/TicketFile.h"
#include "ui/draws/DrawTableModel.h"
#include "ui/draws/frmDrawHistory.h"

namespace {

constexpr int kDraws = 3200;

std::vector<int> SixOf59(std::mt19937& random, int count = 6) {
  std::vector<int> pool(59);
  for (int n = 0; n < 59; ++n) {
    pool[static_cast<std::size_t>(n)] = n + 1;
  }
  std::shuffle(pool.begin(), pool.end(), random);
  return {pool.begin(), pool.begin() + count};
}

// Random tickets, and the lottery's history as it publishes it: newest first, two draws a week.
struct Files {
  explicit Files(int tickets) {
    std::mt19937 random(11);
    std::vector<std::string> list;
    for (int t = 0; t < tickets; ++t) {
      std::string ticket;
      for (const int n : SixOf59(random)) {
        ticket += (ticket.empty() ? "" : "-") + bench::TwoDigits(n);
      }
      list.push_back(std::move(ticket));
    }
    dataFile = folder.path().toStdString() + "/pelmora.pmd";
    bench::WriteBytes(dataFile, bench::DataFileBytes(list));
    std::vector<store::Draw> draws;
    int year = 2026, month = 2, day = 18;
    for (int d = 0; d < kDraws; ++d) {
      store::Draw draw;
      draw.date = year * 10000 + month * 100 + day;
      draw.number = kDraws - d;
      const std::vector<int> balls = SixOf59(random, 7);
      std::copy_n(balls.begin(), 6, draw.balls.begin());
      draw.bonus = balls[6];
      draw.ballSet = "L" + std::to_string(d % 12);
      draw.machine = "Lotto" + std::to_string(d % 4);
      draws.push_back(draw);
      day -= d % 2 == 0 ? 3 : 4;
      if (day < 1) {
        day += 28;
        if (--month < 1) {
          month = 12;
          --year;
        }
      }
    }
    published = folder.path().toStdString() + "/published.csv";
    bench::WriteBytes(published, store::DrawsCsv(draws));
    ::setenv("XDG_DATA_HOME", (folder.path() + "/data").toLocal8Bit().constData(), 1);
    history = store::DrawHistoryPath();
  }
  QTemporaryDir folder;
  std::string dataFile;
  std::string published;
  std::string history;
};

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window opened on the full history: every draw checked, the tables filled and painted.
void HistoryWindow(benchmark::State& state) {
  Files files(static_cast<int>(state.range(0)));
  store::AddToDrawHistory(
      files.history, store::ReadDraws(store::ReadWholeFile(files.published)->bytes).draws, false);
  int rows = 0;
  ChangeNotes notes;
  for (auto _ : state) {
    auto* window = new frmDrawHistory(files.dataFile, notes);
    window->Form_Load();
    window->show();
    Settle();
    rows = window->findChild<QTableView*>(QStringLiteral("grdDraws"))->model()->rowCount();
    state.PauseTiming();
    window->close();
    Settle();
    state.ResumeTiming();
  }
  state.counters["draws"] = rows;
}

// Floor of the window: reading what it shows, the tickets and the history.
void HistoryWindowFloor(benchmark::State& state) {
  Files files(static_cast<int>(state.range(0)));
  store::AddToDrawHistory(
      files.history, store::ReadDraws(store::ReadWholeFile(files.published)->bytes).draws, false);
  for (auto _ : state) {
    benchmark::DoNotOptimize(store::ReadAllTickets(files.dataFile).tickets.size());
    benchmark::DoNotOptimize(store::ReadDrawHistory(files.history)->draws.size());
  }
}

// The published history imported into an empty draw history.
void ImportHistory(benchmark::State& state) {
  Files files(1);
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(files.history.c_str());
    state.ResumeTiming();
    const store::Result<store::FileContents> input = store::ReadWholeFile(files.published);
    const store::DrawsRead read = store::ReadDraws(input->bytes);
    const store::Result<store::DrawMerge> merge =
        store::AddToDrawHistory(files.history, read.draws, false);
    if (!merge || merge->added != kDraws) {
      state.SkipWithError("the history was not imported whole");
    }
  }
}

// Floor of the import: reading the file and writing its bytes as the history, atomically.
void ImportHistoryFloor(benchmark::State& state) {
  Files files(1);
  std::filesystem::create_directories(files.folder.path().toStdString() + "/data/pelmora");
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(files.history.c_str());
    state.ResumeTiming();
    const store::Result<store::FileContents> input = store::ReadWholeFile(files.published);
    if (!store::WriteFileAtomically(files.history, input->bytes)) {
      state.SkipWithError("the history could not be written");
    }
  }
}

}  // namespace

BENCHMARK(HistoryWindow)
    ->Arg(3276)
    ->Arg(store::kMaxTickets)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(HistoryWindowFloor)
    ->Arg(3276)
    ->Arg(store::kMaxTickets)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ImportHistory)->Arg(kDraws)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ImportHistoryFloor)->Arg(kDraws)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  return bench::RunWithApplication(argc, argv);
}
