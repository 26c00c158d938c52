// The safety net under every change that removes tickets, and how its failures reach a person.
#include <atomic>
#include <mutex>

#include "store/DataFileChange.h"
#include "store/TextEncoding.h"
#include "store/Versions.h"

namespace store {

namespace {

// A failure to keep a version is told once a run: the change itself went through, and the same
// cause (a full disk, a read-only folder) would otherwise be told after every command.
enum class WarningState { None, Pending, Told };

std::atomic<bool> gKeeping{true};
std::mutex gWarningMutex;
WarningState gWarningState = WarningState::None;
VersionWarning gWarning;

void NoteFailure(const Problem& problem) {
  const std::lock_guard lock(gWarningMutex);
  if (gWarningState == WarningState::None) {
    gWarningState = WarningState::Pending;
    gWarning = {problem.path, problem.reason};
  }
}

}  // namespace

void KeepVersionBeforeChange(const std::string& path, std::string_view text,
                             const FileContents& before) {
  if (!gKeeping.load() || !before.exists || text.empty()) {
    return;
  }
  // A version holds the file's own bytes: a UTF-16 file is kept in UTF-16.
  const std::string bytes = before.encoding == FileEncoding::Bytes
                                ? std::string(text)
                                : EncodeFileText(text, before.encoding);
  if (const Result<KeptCopy> kept = KeepVersion(path, bytes); !kept) {
    NoteFailure(kept.error());
  }
}

Result<void> RestoreDataFile(const std::string& path, const std::string& bytes) {
  return ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents& before) {
    if (doc.Original() == bytes) {
      return ChangeVerdict::Abandon;  // the file already holds that version
    }
    // Kept here: once the document is replaced, the bytes read are gone.
    KeepVersionBeforeChange(path, doc.Original(), before);
    doc = ProfileDocument::Parse(bytes);
    doc.MarkModified();
    return ChangeVerdict::Write;
  });
}

std::optional<VersionWarning> TakeVersionWarning() {
  const std::lock_guard lock(gWarningMutex);
  if (gWarningState != WarningState::Pending) {
    return std::nullopt;
  }
  gWarningState = WarningState::Told;
  return gWarning;
}

std::string VersionWarningText(const VersionWarning& warning) {
  return "the earlier version of the data file could not be kept in " + warning.folder + ": " +
         warning.reason + " (the change itself was made; this is reported once)";
}

void SetVersionKeepingForTesting(bool keep) {
  gKeeping.store(keep);
}

void ResetVersionWarningForTesting() {
  const std::lock_guard lock(gWarningMutex);
  gWarningState = WarningState::None;
  gWarning = {};
}

}  // namespace store
