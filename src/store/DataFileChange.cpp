#include "store/DataFileChange.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/LockFile.h"
#include "store/TempNames.h"
#include "store/Versions.h"
#include "store/WriteJournal.h"

namespace store {

namespace {

// A writer that keeps finding the file replaced under it gives up after this many tries rather
// than spin for ever; each try means another writer made progress.
constexpr int kMaxLockAttempts = 1000;

// An exclusive lock on the data file a path names, released when it goes. A missing file is
// written whole into a new file, locked before anyone can see it, that is then linked into
// place: no writer ever finds it empty or half made.
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Release(); }

  // What Take found, when it did not fail.
  enum class Outcome { Locked, Retry };

  // Locks the file at `path`, or the new file that is to become it. Retry means the path changed
  // under us and the caller should try again.
  Result<Outcome> Take(const std::string& path) {
    Release();
    Result<std::string> target = ResolveWriteTarget(path);
    if (!target) {
      return Fail(path, target.error().reason);
    }
    target_ = std::move(*target);
    const std::string folder = FolderOf(target_);
    const std::string name = NameOf(target_);
    // O_NONBLOCK: a FIFO at the path must not hang the open; the read refuses it later.
    fd_ = OpenFile(target_, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0 && errno == ENOENT) {
      fd_ = CreateTempFileFor(folder, name, newFile_);
      if (fd_ < 0) {
        newFile_.clear();
        return Fail(path, std::strerror(errno));
      }
    } else if (fd_ < 0) {
      return Fail(path, std::strerror(errno));
    }
    struct stat locked {};
    if (::fstat(fd_, &locked) != 0) {
      return Fail(path, std::strerror(errno));
    }
    if (!S_ISREG(locked.st_mode)) {
      return Fail(path, S_ISDIR(locked.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
    }
    int result;
    do {
      result = ::flock(fd_, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
      // What flock() says on a file system that cannot lock (some network and FUSE ones).
      if (errno != ENOLCK && errno != EOPNOTSUPP && errno != EINVAL) {
        return Fail(path, std::strerror(errno));
      }
      if (Result<void> taken = lockFile_.Take(folder, name, path); !taken) {
        return Fail(taken.error());
      }
    } else if (missing()) {
      return Outcome::Locked;  // a file made meanwhile by another writer makes the link fail
    }
    // The file may have been replaced, removed or made while we waited; a change made on what
    // we hold would be lost.
    struct stat current {};
    if (::stat(target_.c_str(), &current) != 0) {
      return errno == ENOENT && missing() ? Outcome::Locked : Outcome::Retry;
    }
    return !missing() && current.st_dev == locked.st_dev && current.st_ino == locked.st_ino
               ? Outcome::Locked
               : Outcome::Retry;
  }

  bool missing() const { return !newFile_.empty(); }

  // Writes `bytes` into the new file and links it in as the data file. False when another
  // writer made the file meanwhile: nothing was written and the change must start again.
  Result<bool> Create(const std::string& path, const std::string& bytes) {
    int error = WriteAll(fd_, bytes);
    if (error == 0 && ::fsync(fd_) != 0) {
      error = errno;
    }
    if (error == 0 && ::link(newFile_.c_str(), target_.c_str()) != 0) {
      error = errno;
    }
    if (error == EEXIST) {
      return false;
    }
    if (error != 0) {
      return Fail(path, std::strerror(error));
    }
    ::unlink(newFile_.c_str());
    newFile_.clear();
    SyncFolder(FolderOf(target_));
    RemoveLeftoverTempFiles(FolderOf(target_), NameOf(target_));
    return true;
  }

 private:
  void Release() {
    if (!newFile_.empty()) {
      ::unlink(newFile_.c_str());
      newFile_.clear();
    }
    if (fd_ >= 0) {
      ::close(fd_);  // closing the last descriptor drops the lock
    }
    fd_ = -1;
    lockFile_.Release();
  }

  int fd_ = -1;
  std::string target_;
  std::string newFile_;  // for a missing file: the file that is to become it
  LockFile lockFile_;
};

}  // namespace

Result<void> ChangeDataFile(
    const std::string& path,
    const std::function<ChangeVerdict(ProfileDocument& doc, const FileContents& before)>& change) {
  if (path.empty()) {
    return Fail(path, std::strerror(ENOENT));
  }
  FileLock lock;
  std::vector<Problem> notes;  // a repair and a version not kept are told, whatever comes after
  const auto done = [&notes](Result<void> result) { return std::move(result.Note(notes)); };
  for (int attempt = 0; attempt < kMaxLockAttempts; ++attempt) {
    const Result<FileLock::Outcome> outcome = lock.Take(path);
    if (!outcome) {
      return done(Unexpected{outcome.error()});
    }
    if (*outcome == FileLock::Outcome::Retry) {
      continue;
    }
    FileContents before;
    FileStamp stamp;
    if (!lock.missing()) {
      Result<void> repaired = RepairUnfinishedWriteLocked(path);
      notes.insert(notes.end(), repaired.notes().begin(), repaired.notes().end());
      // Noted before the read: a program that writes without locking is caught before ours
      // replaces what it wrote.
      struct stat info {};
      if (::stat(path.c_str(), &info) != 0) {
        continue;
      }
      stamp = StampOf(info);
      Result<FileContents> read = ReadFileAsIs(path);
      if (!read) {
        return done(Fail(read.error()));
      }
      before = std::move(*read);
      // An empty file holds nothing to keep: it is a new one, so that a first write cut short
      // never blocks the next.
      before.exists = before.exists && !before.bytes.empty();
    }
    // The document takes the bytes over: a second copy of a large file would cost its size
    // again. They stay readable as doc.Original(), for the version a change that drops tickets
    // keeps.
    ProfileDocument doc = ProfileDocument::ParseOwning(std::move(before.bytes));
    before.bytes.clear();
    const ChangeVerdict verdict = change(doc, before);
    if (verdict == ChangeVerdict::Abandon) {
      return done({});
    }
    if (before.exists && !doc.IsModified()) {
      return done({});  // the file already is what the change would write
    }
    if (verdict == ChangeVerdict::WriteAfterKeepingVersion) {
      Result<void> kept = KeepVersionBeforeChange(path, doc.Original(), before);
      notes.insert(notes.end(), kept.notes().begin(), kept.notes().end());
    }
    const std::string after = doc.Serialize();
    if (lock.missing()) {
      const Result<bool> created = lock.Create(path, after);
      if (!created) {
        return done(Fail(created.error()));
      }
      if (*created) {
        return done({});
      }
      continue;
    }
    Result<void> result = WriteFileAtomically(path, after, before.encoding, &stamp);
    if (!result && result.error().kind == ProblemKind::FileChanged) {
      continue;  // another program wrote it meanwhile: read it again and make the change anew
    }
    return done(std::move(result));
  }
  return done(Fail(path, "The file kept being replaced while waiting to change it"));
}

}  // namespace store
