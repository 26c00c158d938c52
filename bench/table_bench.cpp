// Every command of the program at a tenth of the largest data file and at the largest, on the
// real windows drawn off screen with the platform double. scripts/bench_table.py turns the
// output into the table of BENCHMARKS.md. Each measured step ends with the events the command
// left pending, so the painting and layout after a change are counted too.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "MainWindowParts.h"
#include "QtBenchMain.h"
#include "app/DataFileLocation.h"
#include "app/modPelmora.h"
#include "platform/doubles/ScopedClipboard.h"
#include "platform/doubles/ScopedFileDialog.h"
#include "platform/doubles/ScopedMessages.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAllNumbers.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using bench::TwoDigits;
using bench::WriteBytes;

const char kAllMatch[] = "05-12-23-34-45-56";
const char kNoneMatch[] = "01-02-03-04-06-07";

// Tickets drawn from 8..59 with no number of kNoneMatch and at least three of kAllMatch's; with
// `reportEvery` above 1 only every reportEvery-th ticket is so, the others hold none of kAllMatch's
// numbers.
std::vector<std::string> MakeTickets(int count, int reportEvery = 1) {
  static const int kWinning[store::kNumbersPerTicket] = {5, 12, 23, 34, 45, 56};
  static const int kOthers[store::kNumbersPerTicket] = {8, 19, 27, 38, 49, 59};
  std::vector<std::string> tickets;
  tickets.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const bool reported = i % reportEvery == 0;
    std::string ticket;
    for (int k = 0; k < store::kNumbersPerTicket; ++k) {
      const int number = !reported ? kOthers[(i + k) % store::kNumbersPerTicket]
                         : k < 3   ? kWinning[(i + k) % store::kNumbersPerTicket]
                                   : 8 + (i * 7 + k * 11) % 52;
      if (k > 0)
        ticket.push_back('-');
      ticket += TwoDigits(number);
    }
    tickets.push_back(std::move(ticket));
  }
  return tickets;
}

std::string FileOf(const std::vector<std::string>& tickets, const char* winning) {
  return bench::DataFileBytes(tickets, winning);
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A program folder holding a data file of `count` tickets, and a started main window on it.
class Program {
 public:
  // `fewer` leaves room in the file: a full one refuses another ticket.
  explicit Program(benchmark::State& state, const char* winning = kAllMatch, int fewer = 0,
                   int reportEvery = 1)
      : count_(static_cast<int>(state.range(0)) - fewer),
        tickets_(MakeTickets(count_, reportEvery)) {
    path_ = folder_.path().toStdString() + "/pelmora.pmd";
    bytes_ = FileOf(tickets_, winning);
    RestoreFile();
    main_ = std::make_unique<frmNumberChecker>();
    main_->Form_Load(QString(), folder_.path().toStdString());
    main_->show();
    Settle();
  }
  ~Program() {
    main_.reset();
    Settle();
  }
  void RestoreFile() const { WriteBytes(path_, bytes_); }
  frmNumberChecker& Main() { return *main_; }
  const std::string& Path() const { return path_; }
  std::string Folder() const { return folder_.path().toStdString(); }
  const std::vector<std::string>& Tickets() const { return tickets_; }
  int Count() const { return count_; }
  frmNumberEntry& OpenEntry() {
    bench::Run(*main_, "mnuAddPlay");
    Settle();
    return *bench::OpenChild<frmNumberEntry>(*main_);
  }

  struct {
    platform::ScopedMessages messages;
    platform::ScopedFileDialog files;
    platform::ScopedClipboard clipboard;
  } desktop;

 private:
  int count_;
  std::vector<std::string> tickets_;
  QTemporaryDir folder_;
  std::string path_;
  std::string bytes_;
  std::unique_ptr<frmNumberChecker> main_;
};

void Fail(benchmark::State& state, bool failed, const char* why) {
  if (failed)
    state.SkipWithError(why);
}

void StartUp(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    auto form = std::make_unique<frmNumberChecker>();
    form->Form_Load(QString(), program.Folder());
    form->show();
    Settle();
    state.PauseTiming();
    Fail(state, bench::Plays(*form)->Count() != program.Count(), "the list was not filled");
    form.reset();
    Settle();
    state.ResumeTiming();
  }
}

void Open(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    program.desktop.files.answers.push_back(QString::fromStdString(program.Path()));
    bench::Run(program.Main(), "mnuOpen");
    Settle();
  }
  Fail(state, bench::Plays(program.Main())->Count() != program.Count(),
       "Open did not list the file");
}

// New over the full file: every ticket key leaves the file and the list empties.
void New(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    state.PauseTiming();
    program.RestoreFile();
    program.Main().controller().ReloadFromFile();
    Settle();
    state.ResumeTiming();
    program.desktop.files.answers.push_back(QString::fromStdString(program.Path()));
    bench::Run(program.Main(), "mnuNew");
    Settle();
  }
  Fail(state, bench::Plays(program.Main())->Count() != 0, "New left tickets in the list");
}

void Save(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    state.PauseTiming();
    program.RestoreFile();
    state.ResumeTiming();
    // The write itself: File > Save is off after the first one succeeds.
    program.Main().controller().Save();
    Settle();
  }
  Fail(state, !program.desktop.messages.shown.empty(), "Save failed");
}

void DeleteHalf(benchmark::State& state) {
  Program program(state);
  frmNumberChecker& form = program.Main();
  for (auto _ : state) {
    state.PauseTiming();
    program.RestoreFile();
    form.controller().ReloadFromFile();
    PlayListModel& plays = *bench::Plays(form);
    for (int i = 0; i < program.Count(); i += 2)
      plays.setData(plays.index(i), Qt::Checked, Qt::CheckStateRole);
    Settle();
    state.ResumeTiming();
    bench::Run(form, "mnuDeleteChecked");
    Settle();
  }
  Fail(state, bench::Plays(form)->Count() != program.Count() / 2, "wrong count left");
}

void MarkAll(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    bench::Run(program.Main(), "mnuAll");  // alternately marks and clears all
    Settle();
  }
}

void CopyPlays(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    bench::Run(program.Main(), "mnuCpyPlays");
    Settle();
  }
  Fail(state, program.desktop.clipboard.text.size() != static_cast<qsizetype>(program.Count()) * 19,
       "wrong clipboard");
}

void SaveNext(benchmark::State& state) {
  Program program(state, kAllMatch, 1);
  frmNumberEntry& entry = program.OpenEntry();
  for (auto _ : state) {
    state.PauseTiming();
    program.RestoreFile();
    entry.findChild<QLabel*>(QStringLiteral("lbltotaltickets"))
        ->setText(QString::number(program.Count()));
    for (int n : {3, 17, 22, 41, 8, 55})
      entry.findChild<QCheckBox*>(QStringLiteral("ck01_%1").arg(n))->setChecked(true);
    state.ResumeTiming();
    entry.cmdNext_Click();
    Settle();
  }
  Fail(state,
       entry.findChild<QLabel*>(QStringLiteral("lbltotaltickets"))->text() !=
           QString::number(program.Count() + 1),
       "the ticket was not saved");
}

void Done(benchmark::State& state) {
  Program program(state);
  for (auto _ : state) {
    state.PauseTiming();
    frmNumberEntry& entry = program.OpenEntry();
    bench::Plays(program.Main())->SetTickets({});
    Settle();
    state.ResumeTiming();
    entry.cmdDone_Click();
    Settle();
  }
  Fail(state, bench::Plays(program.Main())->Count() != program.Count(),
       "the list was not refilled");
}

void ViewAll(benchmark::State& state) {
  Program program(state);
  frmNumberEntry& entry = program.OpenEntry();
  int listed = 0;
  for (auto _ : state) {
    entry.cmdAllNumbers_Click();
    Settle();
    state.PauseTiming();
    frmAllNumbers* all = bench::OpenChild<frmAllNumbers>(entry);
    listed = all->findChild<QListView*>()->model()->rowCount();
    all->cmdCancel_Click();
    Settle();
    state.ResumeTiming();
  }
  Fail(state, listed != program.Count(), "the window did not list every ticket");
}

void Check(benchmark::State& state, const char* winning, int reportEvery = 1) {
  Program program(state, winning, 0, reportEvery);
  frmNumberChecker& form = program.Main();
  for (auto _ : state) {
    bench::Run(form, "mnuCheck");
    Settle();
    state.PauseTiming();
    bench::FlashTimer(form)->stop();
    state.ResumeTiming();
  }
  state.counters["lines"] = bench::ResultsBox(form)->toPlainText().count(QLatin1Char('\n')) + 1;
}

void CheckAllMatch(benchmark::State& state) {
  Check(state, kAllMatch);
}
void CheckSomeMatch(benchmark::State& state) {
  Check(state, kAllMatch, 100);
}
void CheckNoneMatch(benchmark::State& state) {
  Check(state, kNoneMatch);
}

void CopyResults(benchmark::State& state) {
  Program program(state);
  frmNumberChecker& form = program.Main();
  bench::Run(form, "mnuCheck");
  bench::FlashTimer(form)->stop();
  Settle();
  for (auto _ : state) {
    bench::Run(form, "mnuCopy");
    Settle();
  }
  Fail(state, !program.desktop.clipboard.text.startsWith(QStringLiteral("Matched: (")),
       "the clipboard holds no results");
}

}  // namespace

#define PELMORA_TABLE(fn)             \
  BENCHMARK(fn)                       \
      ->Arg(3276)                     \
      ->Arg(store::kMaxTickets)       \
      ->Unit(benchmark::kMillisecond) \
      ->UseRealTime()                 \
      ->MinTime(0.3)

PELMORA_TABLE(StartUp);
PELMORA_TABLE(Open);
PELMORA_TABLE(New);
PELMORA_TABLE(Save);
PELMORA_TABLE(DeleteHalf);
PELMORA_TABLE(MarkAll);
PELMORA_TABLE(CopyPlays);
PELMORA_TABLE(SaveNext);
PELMORA_TABLE(Done);
PELMORA_TABLE(ViewAll);
PELMORA_TABLE(CheckAllMatch);
PELMORA_TABLE(CheckSomeMatch);
PELMORA_TABLE(CheckNoneMatch);
PELMORA_TABLE(CopyResults);

int main(int argc, char** argv) {
  return bench::RunWithApplication(argc, argv);
}
