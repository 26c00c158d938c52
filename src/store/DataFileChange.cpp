#include "store/DataFileChange.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/Versions.h"

namespace store {

namespace {

// A writer that keeps finding the file replaced under it gives up after this many tries rather
// than spin for ever; each try means another writer made progress.
constexpr int kMaxLockAttempts = 1000;

std::string ErrorText(int error) {
  return std::strerror(error);
}

// A file system that cannot lock (some network ones) is written as before, unlocked, rather
// than not at all.
bool LockingUnsupported(int error) {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// An exclusive lock on the file a path names, released (and the descriptor closed) when it goes.
class FileLock {
 public:
  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Release(); }

  // What Take found, when it did not fail.
  enum class Outcome { Locked, Retry };

  // Opens the file at `path` (creating it empty when missing) and locks it. Retry means the path
  // changed under us and the caller should try again.
  Result<Outcome> Take(const std::string& path) {
    Release();
    int fd;
    do {
      // O_NONBLOCK: a FIFO at the path must not hang the open; the read refuses it later.
      fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0 && errno == ENOENT) {
      // Create the very file the write will replace, through any symbolic link, and only when no
      // one else did: a file we did not create must never be taken for a missing one.
      Result<std::string> target = ResolveWriteTarget(path);
      if (!target) {
        return Fail(path, target.error().reason);
      }
      createdPath_ = std::move(*target);
      fd = ::open(createdPath_.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0) {
        createdPath_.clear();
        if (errno == EEXIST || errno == EINTR) {
          return Outcome::Retry;
        }
        return Fail(path, ErrorText(errno));
      }
      created_ = true;
    } else if (fd < 0) {
      return Fail(path, ErrorText(errno));
    }
    fd_ = fd;

    if (::fstat(fd_, &locked_) != 0) {
      return Fail(path, ErrorText(errno));
    }
    if (!S_ISREG(locked_.st_mode)) {
      return Fail(path, S_ISDIR(locked_.st_mode) ? ErrorText(EISDIR) : "Not a regular file");
    }
    int locked;
    do {
      locked = ::flock(fd_, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && !LockingUnsupported(errno)) {
      return Fail(path, ErrorText(errno));
    }
    // The file may have been replaced, or removed by a writer that had created it, while we
    // waited; a change made on that copy would be lost.
    struct stat current {};
    if (::stat(path.c_str(), &current) != 0) {
      if (errno == ENOENT) {
        return Outcome::Retry;
      }
      return Fail(path, ErrorText(errno));
    }
    return SameFile(current, locked_) ? Outcome::Locked : Outcome::Retry;
  }

  bool created() const { return created_; }

  // Removes the empty file this lock created, while the lock is still held, so that no writer
  // waiting for it can find it at the path afterwards.
  void RemoveCreatedFile() {
    struct stat current {};
    if (created_ && ::lstat(createdPath_.c_str(), &current) == 0 && SameFile(current, locked_)) {
      ::unlink(createdPath_.c_str());
    }
  }

 private:
  void Release() {
    if (fd_ >= 0) {
      ::close(fd_);  // closing the last descriptor drops the lock
    }
    fd_ = -1;
    created_ = false;
    createdPath_.clear();
  }

  int fd_ = -1;
  bool created_ = false;
  std::string createdPath_;
  struct stat locked_ {};
};

}  // namespace

Result<void> ChangeDataFile(
    const std::string& path,
    const std::function<ChangeVerdict(ProfileDocument& doc, const FileContents& before)>& change) {
  if (path.empty()) {
    return Fail(path, ErrorText(ENOENT));
  }
  FileLock lock;
  Result<FileLock::Outcome> outcome = FileLock::Outcome::Retry;
  for (int attempt = 0;
       attempt < kMaxLockAttempts && outcome && *outcome == FileLock::Outcome::Retry; ++attempt) {
    outcome = lock.Take(path);
  }
  if (!outcome) {
    lock.RemoveCreatedFile();
    return Unexpected{outcome.error()};
  }
  if (*outcome == FileLock::Outcome::Retry) {
    return Fail(path, "The file kept being replaced while waiting to change it");
  }

  // The empty file we created for the lock stands for a missing one.
  Result<FileContents> read =
      lock.created() ? Result<FileContents>(FileContents{}) : ReadWholeFile(path);
  if (!read) {
    return Fail(read.error());
  }
  FileContents& before = *read;
  // The document takes the bytes over: a second copy of a large file would cost its size again.
  // They stay readable as doc.Original(), for the version a change that drops tickets keeps.
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(before.bytes));
  before.bytes.clear();
  const ChangeVerdict verdict = change(doc, before);
  if (verdict == ChangeVerdict::Abandon) {
    lock.RemoveCreatedFile();
    return Result<void>();
  }
  if (before.exists && !doc.IsModified()) {
    return Result<void>();  // the file already is what the change would write
  }
  if (verdict == ChangeVerdict::WriteAfterKeepingVersion) {
    KeepVersionBeforeChange(path, doc.Original(), before);
  }
  const std::string after = doc.Serialize();
  Result<void> result = WriteFileAtomically(path, after, before.encoding);
  if (!result) {
    lock.RemoveCreatedFile();
  }
  return result;
}

}  // namespace store
