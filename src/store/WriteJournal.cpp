#include "store/WriteJournal.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/VersionFolder.h"
#include "store/Versions.h"

namespace store {

namespace {

constexpr std::string_view kRecordName = "/.unfinished";
constexpr std::string_view kRecordTitle = "pelmora unfinished rewrite\n";

std::string RecordOf(const std::string& path) {
  const std::string folder = VersionFolderOf(path);
  return folder.empty() ? std::string() : folder + std::string(kRecordName);
}

}  // namespace

Result<std::string> BeginInPlaceWrite(const std::string& path, std::string_view oldBytes,
                                      std::string_view newBytes) {
  const std::string root = VersionsRoot();
  const std::string folder = VersionFolderOf(path);
  if (root.empty()) {
    return Fail(path, "no home folder is set to keep its old contents in");
  }
  if (Result<void> made = MakeVersionFolders(root, folder); !made) {
    return Fail(made.error());
  }
  char sizes[128];
  std::snprintf(sizes, sizeof sizes, "%zu %016" PRIx64 " %zu %016" PRIx64 "\n", oldBytes.size(),
                HashOfBytes(oldBytes), newBytes.size(), HashOfBytes(newBytes));
  const std::string record = folder + std::string(kRecordName);
  if (const int error =
          WriteByRename(record + "." + std::to_string(::getpid()), record,
                        std::string(kRecordTitle).append(sizes).append(oldBytes), true)) {
    return Fail(folder, std::strerror(error));
  }
  SyncFolder(folder);
  return record;
}

void EndInPlaceWrite(const std::string& record) {
  ::unlink(record.c_str());
}

bool HasUnfinishedWrite(const std::string& path) {
  const std::string record = RecordOf(path);
  return !record.empty() && ::access(record.c_str(), F_OK) == 0;
}

Result<void> RepairUnfinishedWriteLocked(const std::string& path) {
  const std::string record = RecordOf(path);
  std::string kept;
  if (record.empty() || ReadRawFile(record, kept) != 0) {
    return {};
  }
  // Only a record in a folder of the user's own that no one else may write is believed.
  if (!UnsafeReason(record.substr(0, record.size() - kRecordName.size())).empty() ||
      !UnsafeReason(record).empty()) {
    return {};
  }
  std::size_t oldSize = 0;
  std::size_t newSize = 0;
  std::uint64_t oldHash = 0;
  std::uint64_t newHash = 0;
  const std::size_t header = kept.find('\n', kRecordTitle.size());
  if (!kept.starts_with(kRecordTitle) || header == std::string::npos ||
      std::sscanf(kept.c_str() + kRecordTitle.size(), "%zu %" SCNx64 " %zu %" SCNx64, &oldSize,
                  &oldHash, &newSize, &newHash) != 4) {
    EndInPlaceWrite(record);
    return {};
  }
  const std::string_view old = std::string_view(kept).substr(header + 1);
  const Result<std::string> target = ResolveWriteTarget(path);
  std::string now;
  if (old.size() != oldSize || HashOfBytes(old) != oldHash || !target ||
      ReadRawFile(*target, now) != 0) {
    EndInPlaceWrite(record);  // nothing whole to put back, or no file to put it in
    return {};
  }
  const bool whole = (now.size() == newSize && HashOfBytes(now) == newHash) ||
                     (now.size() == oldSize && HashOfBytes(now) == oldHash);
  if (!whole) {
    if (const int error = OverwriteInPlace(*target, old); error != 0) {
      return Result<void>().Note(
          {{path,
            "a rewrite was cut short and the file could not be put back "
            "as it was (" +
                std::string(std::strerror(error)) + "); its old contents are kept in " + record,
            ProblemKind::Repaired}});
    }
    EndInPlaceWrite(record);
    return Result<void>().Note(
        {{path, "a rewrite of this file was cut short; it has been put back as it was before",
          ProblemKind::Repaired}});
  }
  EndInPlaceWrite(record);
  return {};
}

Result<void> RepairUnfinishedWrite(const std::string& path) {
  if (!HasUnfinishedWrite(path)) {
    return {};
  }
  // Taking the lock repairs the file before anything is read.
  return ChangeDataFile(
      path, [](ProfileDocument&, const FileContents&) { return ChangeVerdict::Abandon; });
}

}  // namespace store
