#include "store/AtomicFile.h"

#include "store/TempNames.h"
#include "store/Versions.h"
#include "store/WriteJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

namespace store {

namespace {

// Symbolic links followed before giving up, as the kernel does for a path.
constexpr int kMaxLinkDepth = 40;

// Follows a chain of symbolic links to the path that is really written. A dangling link
// resolves to the path it names. Returns 0 or an errno value.
int ResolveTarget(const std::string& path, std::string& target, struct stat& info, bool& exists) {
  target = path;
  for (int depth = 0;; ++depth) {
    if (::lstat(target.c_str(), &info) != 0) {
      if (errno == ENOENT) {
        exists = false;
        return 0;
      }
      return errno;
    }
    if (!S_ISLNK(info.st_mode)) {
      exists = true;
      return 0;
    }
    if (depth == kMaxLinkDepth) {
      return ELOOP;
    }
    std::error_code error;
    const std::string link = std::filesystem::read_symlink(target, error).string();
    if (error) {
      return error.value();
    }
    if (link.empty()) {
      return ENOENT;
    }
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
}

// Rewrites an existing file through its own inode, as a program that opens and writes a file
// does: the hard links, owner, group and permissions stay. The old bytes are kept first (see
// WriteJournal.h), so that a crash halfway is repaired by the next read, and as a version; a file
// whose old bytes cannot be kept for the repair is not touched.
Result<void> WriteInPlace(const std::string& path, const std::string& target,
                          const std::string& bytes) {
  std::string old;
  if (const int error = ReadRawFile(target, old)) {
    return Fail(path, std::strerror(error));
  }
  if (old == bytes) {
    return Result<void>();
  }
  const Result<std::string> record = BeginInPlaceWrite(path, old, bytes);
  if (!record) {
    return Fail(path,
                "it must be rewritten in place, and its old contents could not be kept "
                "first (" +
                    record.error().path + ": " + record.error().reason + "); it was not changed");
  }
  // The old bytes are also kept as a version, so that they can be put back by hand later.
  FileContents before;
  before.exists = true;
  const std::vector<Problem> notes = KeepVersionBeforeChange(path, old, before).notes();
  if (const int error = OverwriteInPlace(target, bytes)) {
    // What was written may be half: the record stays for the next read to repair.
    Result<void> failed = Fail(path, std::strerror(error));
    return failed.Note(notes).Note(RepairUnfinishedWriteLocked(path).notes());
  }
  EndInPlaceWrite(*record);
  return Result<void>().Note(notes);
}

// Gives the new file the old one's mode, owner and group. Gives false when the owner or the
// group could not be kept, so the caller writes in place instead; a problem names `path`.
Result<bool> TakeOverAttributes(int fd, const struct stat& old, const std::string& path) {
  if (::fchmod(fd, old.st_mode & 07777) != 0) {
    return Fail(path, std::strerror(errno));
  }
  struct stat created {};
  if (::fstat(fd, &created) != 0) {
    return Fail(path, std::strerror(errno));
  }
  if (created.st_uid == old.st_uid && created.st_gid == old.st_gid) {
    return true;
  }
  if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno == EPERM) {
    // A member of the file's group may still set the group; whether it did is judged below.
    [[maybe_unused]] const int groupSet = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  // fchown may clear set-user-ID bits; put the mode back. The owner check below decides.
  [[maybe_unused]] const int modeSet = ::fchmod(fd, old.st_mode & 07777);
  return ::fstat(fd, &created) == 0 && created.st_uid == old.st_uid && created.st_gid == old.st_gid;
}

bool FolderRefusesNewFile(int error) {
  return error == EACCES || error == EROFS || error == EPERM;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SyncFolder(const std::string& folder) {
  if (const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

int OpenFile(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

int WriteByRename(const std::string& temp, const std::string& path, std::string_view bytes,
                  bool sync) {
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    return errno;
  }
  int error = WriteAll(fd, bytes);
  if (error == 0 && sync && ::fsync(fd) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temp.c_str());
  }
  return error;
}

int OverwriteInPlace(const std::string& target, std::string_view bytes) {
  const int fd = OpenFile(target, O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    return errno;
  }
  int error = 0;
  struct stat info {};
  const auto newSize = static_cast<off_t>(bytes.size());
  // Space for a longer text is reserved before anything is overwritten, so a full disk is
  // reported with the old contents intact.
  if (::fstat(fd, &info) == 0 && newSize > info.st_size) {
    error = ::posix_fallocate(fd, 0, newSize);
    if (error == EOPNOTSUPP || error == EINVAL) {
      error = 0;  // the file system cannot reserve; the write itself will tell
    }
  }
  if (error == 0) {
    error = WriteAll(fd, bytes);
  }
  if (error == 0 && ::ftruncate(fd, newSize) != 0) {
    error = errno;
  }
  if (error == 0 && ::fsync(fd) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  return error;
}

Result<std::string> ReadDescriptor(int fd, std::size_t limit, std::size_t expected) {
  // Read straight into the text, sized to what is expected (and a spare byte that tells a file
  // that has grown since); more is read on in larger pieces.
  std::string bytes(expected + 1, '\0');
  std::size_t done = 0;
  while (done <= limit) {
    if (done == bytes.size()) {
      bytes.resize(std::min(std::max<std::size_t>(2 * done, 1 << 16), limit) + 1);
    }
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return Fail("", std::strerror(errno));
    }
    if (got == 0) {
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

int ReadRawFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    return errno;
  }
  Result<std::string> read = ReadDescriptor(fd);
  ::close(fd);
  bytes = read ? std::move(*read) : std::string();
  return read ? 0 : EIO;
}

FileStamp StampOf(const struct stat& info) {
  return {info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

int WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

Result<FileContents> ReadWholeFile(const std::string& path) {
  // A repair's note is told by those that ask for the repair themselves first.
  [[maybe_unused]] const Result<void> repaired = RepairUnfinishedWrite(path);
  return ReadFileAsIs(path);
}

Result<FileContents> ReadFileAsIs(const std::string& path) {
  FileContents result;
  const int fd = OpenFile(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) {
      return result;
    }
    return Fail(path, std::strerror(errno));
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return Fail(path, std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return Fail(path, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
  }
  Result<std::string> read =
      ReadDescriptor(fd, std::string::npos, static_cast<std::size_t>(info.st_size));
  ::close(fd);
  if (!read) {
    return Fail(path, read.error().reason);
  }
  result.bytes = std::move(*read);
  result.exists = true;
  result.encoding = DetectEncoding(result.bytes);
  if (result.encoding != FileEncoding::Bytes) {
    result.bytes = DecodeFileText(result.bytes, result.encoding);
  }
  return result;
}

bool IsEmptyFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0;
}

Result<std::string> ResolveWriteTarget(const std::string& path) {
  std::string target;
  struct stat info {};
  bool exists = false;
  if (const int error = ResolveTarget(path, target, info, exists)) {
    return Fail(path, std::strerror(error));
  }
  return target;
}

Result<void> WriteFileAtomically(const std::string& path, const std::string& text,
                                 FileEncoding encoding, const FileStamp* expected) {
  if (path.empty()) {
    return Fail(path, std::strerror(ENOENT));
  }

  std::string target;
  struct stat old {};
  bool exists = false;
  if (const int error = ResolveTarget(path, target, old, exists)) {
    return Fail(path, std::strerror(error));
  }
  if (exists) {
    if (S_ISDIR(old.st_mode)) {
      return Fail(path, std::strerror(EISDIR));
    }
    if (!S_ISREG(old.st_mode)) {
      return Fail(path, "Not a regular file");
    }
    // Replacing the file by rename needs only the folder to be writable; a file that may not be
    // written to must stay as it is all the same.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      return Fail(path, std::strerror(errno));
    }
  }
  const std::string encoded =
      encoding == FileEncoding::Bytes ? std::string() : EncodeFileText(text, encoding);
  const std::string& bytes = encoding == FileEncoding::Bytes ? text : encoded;
  const std::string folder = FolderOf(target);
  const std::string name = NameOf(target);
  // Just before the file is replaced or overwritten: still the one the change was made on?
  const auto changedMeanwhile = [&] {
    struct stat now {};
    return expected != nullptr &&
           (::stat(target.c_str(), &now) != 0 || !(StampOf(now) == *expected));
  };
  const auto changed = [&] {
    return Fail(path, "it was changed by another program while this change was made",
                ProblemKind::FileChanged);
  };
  const auto inPlace = [&] {
    if (changedMeanwhile()) {
      return Result<void>(changed());
    }
    Result<void> result = WriteInPlace(path, target, bytes);
    if (result) {
      RemoveLeftoverTempFiles(folder, name);
    }
    return result;
  };

  if (exists && old.st_nlink > 1) {
    return inPlace();
  }
  std::string tempPath;
  int fd = CreateTempFileFor(folder, name, tempPath);
  if (fd < 0) {
    const int error = errno;
    if (exists && FolderRefusesNewFile(error)) {
      return inPlace();
    }
    return Fail(path, std::strerror(error));
  }
  // However this ends, the descriptor is closed and the temporary file removed unless it became
  // the file.
  bool renamed = false;
  const auto cleanUp = [&](const int*) {
    if (fd >= 0) {
      ::close(fd);
    }
    if (!renamed) {
      ::unlink(tempPath.c_str());
    }
  };
  const std::unique_ptr<const int, decltype(cleanUp)> temp(&fd, cleanUp);
  const auto closeTemp = [&fd] { return ::close(std::exchange(fd, -1)) == 0 ? 0 : errno; };

  if (exists) {
    const Result<bool> kept = TakeOverAttributes(fd, old, path);
    if (!kept) {
      return Unexpected{kept.error()};
    }
    if (!*kept) {
      closeTemp();
      return inPlace();
    }
  }
  if (const int error = WriteAll(fd, bytes)) {
    return Fail(path, std::strerror(error));
  }
  if (::fsync(fd) != 0) {
    return Fail(path, std::strerror(errno));
  }
  if (const int error = closeTemp()) {
    return Fail(path, std::strerror(error));
  }
  if (changedMeanwhile()) {
    return changed();
  }
  if (::rename(tempPath.c_str(), target.c_str()) != 0) {
    if (errno == EBUSY && exists) {
      // The file is a mount point of its own (a bind mount of one file): only its inode can
      // take the new bytes.
      return inPlace();
    }
    return Fail(path, std::strerror(errno));
  }
  renamed = true;
  SyncFolder(folder);
  RemoveLeftoverTempFiles(folder, name);
  return Result<void>();
}

}  // namespace store
