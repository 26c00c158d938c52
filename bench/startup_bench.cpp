// Start-up of the main window with a large data file: from Form_Load until the list is filled.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <fstream>

#include "app/DataFileLocation.h"
#include "platform/FakePlatform.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/frmNumberChecker.h"

namespace {

void WriteTickets(const QString& folder, int count) {
  std::ofstream out((folder + "/pelmora.pmd").toStdString(), std::ios::binary | std::ios::trunc);
  out << "[Numbers]\r\nTOTAL=" << count << "\r\nW=05-12-23-34-45-56\r\n";
  for (int i = 1; i <= count; ++i) {
    char ticket[32];
    std::snprintf(ticket, sizeof ticket, "%02d-%02d-%02d-%02d-%02d-%02d", 1 + i % 59,
                  1 + (i / 3) % 59, 1 + (i / 7) % 59, 1 + (i / 11) % 59, 1 + (i / 13) % 59,
                  1 + (i / 17) % 59);
    out << i << '=' << ticket << "\r\n";
  }
}

void BM_FormLoad(benchmark::State& state) {
  QTemporaryDir folder;
  WriteTickets(folder.path(), static_cast<int>(state.range(0)));
  modPelmora::SetProgramFolderForTesting(folder.path());
  platform::FakePlatform desktop;
  platform::Install(&desktop);
  for (auto _ : state) {
    frmNumberChecker form;
    form.Form_Load();
    benchmark::DoNotOptimize(form.mPlays->Count());
    if (form.mPlays->Count() != state.range(0))
      state.SkipWithError("list not filled");
  }
  platform::Install(nullptr);
}
BENCHMARK(BM_FormLoad)->Arg(3276)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
