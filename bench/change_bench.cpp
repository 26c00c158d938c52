// What the lock and the check of what the window loaded add to Save, Delete and Save/Next at the
// largest file: each command once as the store now does it, once as an unlocked read, change and
// write of the same file, in the same run. Argument 1 is the locked way, 0 the unlocked one.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "store/AtomicFile.h"
#include "store/CountConversion.h"
#include "store/ProfileDocument.h"
#include "store/TicketFile.h"
#include "store/Versions.h"

namespace {

constexpr int kTickets = store::kMaxTickets;

std::vector<std::string> MakeTickets(int count) {
  std::vector<std::string> tickets;
  for (int i = 0; i < count; ++i) {
    std::string ticket;
    for (int k = 0; k < store::kNumbersPerTicket; ++k) {
      ticket += (k ? "-" : "") + bench::TwoDigits(1 + (i * 7 + k * 13) % store::kHighestNumber);
    }
    tickets.push_back(std::move(ticket));
  }
  return tickets;
}

std::string FileOf(const std::vector<std::string>& tickets) {
  return bench::DataFileBytes(tickets);
}

// The read, change and write without a lock and without comparing, as the store did them
// (checking each ticket first, as it did too).
store::Result<void> UnlockedRewrite(const std::string& path,
                                    const std::vector<std::string>& tickets) {
  for (const std::string& ticket : tickets) {
    if (std::string reason = store::ProfileDocument::RejectReason(store::kSection, "1", ticket);
        !reason.empty()) {
      return store::Fail(path, reason);
    }
  }
  store::Result<store::FileContents> file = store::ReadWholeFile(path);
  if (!file) {
    return store::Fail(file.error());
  }
  store::ProfileDocument doc = store::ProfileDocument::ParseOwning(std::move(file->bytes));
  const store::CountResult old =
      store::ConvertCount(doc.Get(store::kSection, store::kTotalKeyAsAdded));
  for (long long k = static_cast<long long>(tickets.size()) + 1; k <= (old ? *old : 0); ++k) {
    doc.Delete(store::kSection, std::to_string(k));
  }
  doc.Set(store::kSection, store::kTotalKey, std::to_string(tickets.size()));
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    doc.Set(store::kSection, std::to_string(i + 1), tickets[i]);
  }
  if (!doc.IsModified()) {
    return store::Result<void>();
  }
  return store::WriteFileAtomically(path, doc.Serialize());
}

store::Result<void> UnlockedAppend(const std::string& path, const std::string& ticket) {
  store::Result<store::FileContents> file = store::ReadWholeFile(path);
  if (!file) {
    return store::Fail(file.error());
  }
  store::ProfileDocument doc = store::ProfileDocument::ParseOwning(std::move(file->bytes));
  const store::CountResult count = store::ConvertCount(doc.Get(store::kSection, store::kTotalKey));
  store::AppendToDocument(doc, count ? *count : 0, {ticket});
  return store::WriteFileAtomically(path, doc.Serialize());
}

store::Result<void> Done(const store::Result<int>& added) {
  if (!added) {
    return store::Fail(added.error());
  }
  return {};
}

class BenchFile {
 public:
  BenchFile()
      : folder_(std::filesystem::temp_directory_path() /
                ("pelmora-change-bench-" + std::to_string(::getpid()))),
        tickets_(MakeTickets(kTickets)),
        bytes_(FileOf(tickets_)) {
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "tickets.pmd").string();
    // Keeping earlier versions has a benchmark of its own; this one weighs the lock and the check.
    // Versions would go under a file, which fails at once.
    ::setenv("XDG_DATA_HOME", "/dev/null", 1);
    Restore();
  }
  ~BenchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  void Restore() const { bench::WriteBytes(path_, bytes_); }
  const std::string& path() const { return path_; }
  const std::vector<std::string>& tickets() const { return tickets_; }

 private:
  std::filesystem::path folder_;
  std::vector<std::string> tickets_;
  std::string bytes_;
  std::string path_;
};

void Label(benchmark::State& state) {
  state.SetLabel(state.range(0) ? "locked, loaded list compared" : "unlocked, no comparison");
}

// Save with the list as loaded: the file is read and compared, and nothing needs writing.
void BM_Save(benchmark::State& state) {
  const BenchFile file;
  const std::vector<std::string>& list = file.tickets();
  // The window's list: one buffer, as read from the file.
  const store::TicketTexts shown = store::ReadAllTickets(file.path()).tickets;
  for (auto _ : state) {
    const store::Result<void> result =
        state.range(0) ? store::RewriteTicketsIfUnchanged(file.path(), shown, shown)
                       : UnlockedRewrite(file.path(), list);
    if (!result) {
      state.SkipWithError(result.error().reason.c_str());
    }
  }
  Label(state);
}
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Delete of the first ticket: every key moves down one.
void BM_Delete(benchmark::State& state) {
  const BenchFile file;
  const std::vector<std::string>& list = file.tickets();
  const std::vector<std::string> kept(list.begin() + 1, list.end());
  // The window's list and its marks, as Delete Checked Play Numbers hands them to the store.
  const store::TicketTexts shown = store::ReadAllTickets(file.path()).tickets;
  std::vector<std::uint8_t> marks(shown.size(), 0);
  marks[0] = 1;
  for (auto _ : state) {
    const store::Result<void> result =
        state.range(0) ? store::RewriteTicketsIfUnchanged(file.path(), shown, shown, marks)
                       : UnlockedRewrite(file.path(), kept);
    if (!result) {
      state.SkipWithError(result.error().reason.c_str());
    }
    state.PauseTiming();
    file.Restore();
    state.ResumeTiming();
  }
  Label(state);
}
BENCHMARK(BM_Delete)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Save/Next on a file one short of full.
void BM_SaveNext(benchmark::State& state) {
  const BenchFile file;
  std::vector<std::string> shorter(file.tickets().begin(), file.tickets().end() - 1);
  const std::string bytes = FileOf(shorter);
  const std::string ticket = file.tickets().back();
  for (auto _ : state) {
    state.PauseTiming();
    bench::WriteBytes(file.path(), bytes);
    state.ResumeTiming();
    const store::Result<void> result = state.range(0)
                                           ? Done(store::AppendTicket(file.path(), ticket))
                                           : UnlockedAppend(file.path(), ticket);
    if (!result) {
      state.SkipWithError(result.error().reason.c_str());
    }
  }
  Label(state);
}
BENCHMARK(BM_SaveNext)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
