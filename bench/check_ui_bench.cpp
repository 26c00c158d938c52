// The check and the copy of its results on the real main window, drawn off screen, with 32,767
// tickets: the computation, filling the results box, and painting what it shows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "MainWindowParts.h"
#include "QtBenchMain.h"
#include "platform/doubles/ScopedClipboard.h"
#include "platform/doubles/ScopedMessages.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using bench::TwoDigits;

constexpr int kTicketCount = store::kMaxTickets;
const int kWinning[store::kNumbersPerTicket] = {5, 12, 23, 34, 45, 56};

// Every `reportEvery`-th ticket holds three to six winning numbers, the others at most two
// (reportEvery 0: none is reported).
std::vector<std::string> MakeTickets(int reportEvery) {
  std::vector<int> winning(std::begin(kWinning), std::end(kWinning));
  std::vector<int> others;
  for (int n = store::kLowestNumber; n <= store::kHighestNumber; ++n)
    if (std::find(winning.begin(), winning.end(), n) == winning.end())
      others.push_back(n);
  std::mt19937 random(7);
  std::vector<std::string> tickets;
  tickets.reserve(kTicketCount);
  for (int i = 0; i < kTicketCount; ++i) {
    const bool reported = reportEvery > 0 && i % reportEvery == 0;
    const int fromWinning = reported ? 3 + i % 4 : i % 3;
    std::shuffle(winning.begin(), winning.end(), random);
    std::shuffle(others.begin(), others.end(), random);
    std::vector<int> picks(winning.begin(), winning.begin() + fromWinning);
    picks.insert(picks.end(), others.begin(),
                 others.begin() + (store::kNumbersPerTicket - fromWinning));
    std::string ticket;
    for (std::size_t k = 0; k < picks.size(); ++k) {
      if (k > 0)
        ticket.push_back('-');
      ticket.append(TwoDigits(picks[k]));
    }
    tickets.push_back(std::move(ticket));
  }
  return tickets;
}

struct Window {
  platform::ScopedMessages messages;
  platform::ScopedClipboard clipboard;
  std::unique_ptr<frmNumberChecker> form;

  explicit Window(int reportEvery) {
    form = std::make_unique<frmNumberChecker>();
    form->controller().plays()->SetTickets(MakeTickets(reportEvery));
    store::PlayFields fields;
    for (int k = 0; k < 6; ++k)
      fields[k] = TwoDigits(kWinning[k]);
    form->controller().SetWinningNumber(store::JoinPlayNumber(fields));
    bench::Run(*form, "mnuViewAll");
    form->show();
    QApplication::processEvents();
  }
  ~Window() { form.reset(); }
};

// F5 as the user sees it: the handler, the box painted with its last lines, and whatever work
// the box deferred to the event loop. The colour timer it starts is stopped untimed.
void CheckAndShow(frmNumberChecker& form, benchmark::State& state) {
  bench::Run(form, "mnuCheck");
  bench::ResultsBox(form)->repaint();
  QApplication::processEvents();
  state.PauseTiming();
  bench::FlashTimer(form)->stop();
  state.ResumeTiming();
}

void CheckOnWindow(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  frmNumberChecker& form = *window.form;
  for (auto _ : state)
    CheckAndShow(form, state);
  state.counters["lines"] = bench::ResultsBox(form)->toPlainText().count(QLatin1Char('\n')) + 1;
}

// A check right after the hint, so the box has no earlier results to drop.
void CheckAfterHint(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  frmNumberChecker& form = *window.form;
  for (auto _ : state) {
    state.PauseTiming();
    bench::ResultsBox(form)->setPlainText(QStringLiteral("hint"));
    state.ResumeTiming();
    CheckAndShow(form, state);
  }
}

void CopyResults(benchmark::State& state) {
  Window window(static_cast<int>(state.range(0)));
  frmNumberChecker& form = *window.form;
  bench::Run(form, "mnuCheck");
  bench::FlashTimer(form)->stop();
  for (auto _ : state) {
    bench::Run(form, "mnuCopy");
  }
  state.counters["chars"] = static_cast<double>(window.clipboard.text.size());
}

}  // namespace

// Argument: every n-th ticket is reported (32: about 1,000 of 32,767; 1: all; 0: none).
BENCHMARK(CheckOnWindow)->Arg(32)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckAfterHint)->Arg(32)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyResults)->Arg(32)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return bench::RunWithApplication(argc, argv);
}
