// File and play-list commands on the largest list a data file can hold, run on a real main
// window drawn off screen. Each measured step ends with the events the command left pending, so
// the list view's own work after a change is counted too.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/DataFileLocation.h"
#include "app/modPelmora.h"
#include "platform/FakePlatform.h"
#include "ui/Forms.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/frmNumberChecker.h"

namespace {

constexpr int kTicketCount = 32767;

std::string TwoDigits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

std::vector<std::string> MakeTickets() {
  std::vector<std::string> tickets;
  tickets.reserve(kTicketCount);
  for (int i = 0; i < kTicketCount; ++i) {
    std::string ticket;
    for (int k = 0; k < 6; ++k) {
      if (k > 0)
        ticket.push_back('-');
      ticket += TwoDigits(1 + (i * 7 + k * 11) % 59);
    }
    tickets.push_back(std::move(ticket));
  }
  return tickets;
}

std::string FileOf(const std::vector<std::string>& tickets) {
  std::string bytes =
      "[Numbers]\r\nTOTAL=" + std::to_string(tickets.size()) + "\r\nW=05-12-23-34-45-56\r\n";
  for (std::size_t i = 0; i < tickets.size(); ++i)
    bytes += std::to_string(i + 1) + "=" + tickets[i] + "\r\n";
  return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A started main window on a full data file, shared by every benchmark.
struct Bench {
  QTemporaryDir folder;
  platform::FakePlatform desktop;
  std::vector<std::string> tickets = MakeTickets();
  std::string fullFile = FileOf(tickets);
  std::string path;
  std::unique_ptr<frmNumberChecker> form;

  Bench() {
    modPelmora::SetProgramFolderForTesting(folder.path());
    platform::Install(&desktop);
    path = folder.path().toStdString() + "/pelmora.pmd";
    WriteFile(path, fullFile);
    form = std::make_unique<frmNumberChecker>();
    form->Form_Load();
    form->show();
    QCoreApplication::processEvents();
  }
  ~Bench() {
    form.reset();
    platform::Install(nullptr);
  }
  void Settle() { QCoreApplication::processEvents(); }
};

// Made on first use and dropped in main(), while the application object still exists.
std::unique_ptr<Bench> gShared;

Bench& Shared() {
  if (!gShared)
    gShared = std::make_unique<Bench>();
  return *gShared;
}

void OpenFullFile(benchmark::State& state) {
  Bench& b = Shared();
  for (auto _ : state) {
    b.desktop.fileAnswers.push_back(QString::fromStdString(b.path));
    b.form->mnuOpen_Click();
    b.Settle();
  }
  if (b.form->mPlays->Count() != kTicketCount || !b.desktop.messages.empty())
    state.SkipWithError("Open did not list the whole file");
}

void DeleteEveryOtherAndSave(benchmark::State& state) {
  Bench& b = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    WriteFile(b.path, b.fullFile);
    b.form->SetPlayList(b.tickets);
    for (int i = 0; i < kTicketCount; i += 2)
      b.form->mPlays->SetChecked(i, true);
    b.Settle();
    state.ResumeTiming();
    b.form->mnuDeleteChecked_Click();
    b.Settle();
  }
  if (b.form->mPlays->Count() != kTicketCount / 2)
    state.SkipWithError("wrong count left");
}

void MarkAll(benchmark::State& state) {
  Bench& b = Shared();
  b.form->SetPlayList(b.tickets);
  b.Settle();
  for (auto _ : state) {
    b.form->mnuAll_Click();  // alternately marks and clears all
    b.Settle();
  }
}

void CopyPlayList(benchmark::State& state) {
  Bench& b = Shared();
  b.form->SetPlayList(b.tickets);
  b.Settle();
  for (auto _ : state) {
    b.form->mnuCpyPlays_Click();
    b.Settle();
  }
  if (b.desktop.clipboard.size() != kTicketCount * 19)
    state.SkipWithError("wrong clipboard");
}

}  // namespace

BENCHMARK(OpenFullFile)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteEveryOtherAndSave)->Unit(benchmark::kMillisecond);
BENCHMARK(MarkAll)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyPlayList)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gShared.reset();
  return 0;
}
