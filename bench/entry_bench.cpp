// The entry dialog against the largest data file: one Save/Next, Done refilling the main
// window's list, and View All opening.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/DataFileLocation.h"
#include "app/modPelmora.h"
#include "platform/FakePlatform.h"
#include "ui/Forms.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAllNumbers.h"

namespace {

std::string TwoDigits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// A data file as the program writes it, with `count` tickets.
std::string DataFile(int count) {
  std::string text = "[Numbers]\r\nTOTAL=" + std::to_string(count) + "\r\nW=05-12-23-34-45-56\r\n";
  for (int k = 1; k <= count; ++k) {
    text += std::to_string(k) + "=";
    for (int f = 0; f < 6; ++f) {
      if (f > 0)
        text += "-";
      text += TwoDigits(1 + (k * 7 + f * 11) % 59);
    }
    text += "\r\n";
  }
  return text;
}

// Written and flushed to the disk, so that a timed write does not pay for this one.
void WriteBytes(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0)
    return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  ::fsync(fd);
  ::close(fd);
}

void Flush() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A program folder with the default data file and a started main window.
class Program {
 public:
  explicit Program(int tickets) {
    modPelmora::SetProgramFolderForTesting(folder_.path());
    path_ = folder_.path().toStdString() + "/pelmora.pmd";
    bytes_ = DataFile(tickets);
    WriteBytes(path_, bytes_);
    main_ = std::make_unique<frmNumberChecker>();
    main_->Form_Load();
    main_->show();
    Flush();
  }
  ~Program() {
    forms::UnloadAll();
    main_.reset();
    Flush();
    modPelmora::SetProgramFolderForTesting(QString());
  }
  frmNumberEntry& OpenEntry() {
    main_->OpenEntryDialog(modPelmora::kEntryPlays);
    Flush();
    return *forms::NumberEntry();
  }
  void RestoreFile() const { WriteBytes(path_, bytes_); }
  frmNumberChecker& Main() { return *main_; }

 private:
  QTemporaryDir folder_;
  std::string path_;
  std::string bytes_;
  std::unique_ptr<frmNumberChecker> main_;
};

void BM_SaveNextWith32766Tickets(benchmark::State& state) {
  Program program(32766);
  frmNumberEntry& entry = program.OpenEntry();
  for (auto _ : state) {
    state.PauseTiming();
    program.RestoreFile();
    for (int n : {3, 17, 22, 41, 8, 55})
      entry.ck01[n]->setChecked(true);
    state.ResumeTiming();
    entry.cmdNext_Click();
    QCoreApplication::processEvents();  // the cleared grid is painted
  }
  if (entry.lbltotaltickets->text() != "32767")
    state.SkipWithError("the ticket was not saved");
}
BENCHMARK(BM_SaveNextWith32766Tickets)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DoneRefillsTheMainListWith32767Tickets(benchmark::State& state) {
  Program program(32767);
  for (auto _ : state) {
    state.PauseTiming();
    frmNumberEntry& entry = program.OpenEntry();
    program.Main().mPlays->Clear();
    state.ResumeTiming();
    entry.cmdDone_Click();
    QCoreApplication::processEvents();  // the main window's list is laid out and painted
    state.PauseTiming();
    Flush();
    state.ResumeTiming();
  }
  if (program.Main().mPlays->Count() != 32767)
    state.SkipWithError("the list was not refilled");
}
BENCHMARK(BM_DoneRefillsTheMainListWith32767Tickets)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ViewAllOpensWith32767Tickets(benchmark::State& state) {
  Program program(32767);
  frmNumberEntry& entry = program.OpenEntry();
  int listed = 0;
  for (auto _ : state) {
    entry.cmdAllNumbers_Click();
    QCoreApplication::processEvents();  // the window is shown and its list painted
    state.PauseTiming();
    listed = forms::AllNumbers()->mTickets->Count();
    forms::AllNumbers()->cmdCancel_Click();
    Flush();
    state.ResumeTiming();
  }
  if (listed != 32767)
    state.SkipWithError("the window did not list every ticket");
}
BENCHMARK(BM_ViewAllOpensWith32767Tickets)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::FakePlatform desktop;
  platform::Install(&desktop);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  platform::Install(nullptr);
  return 0;
}
