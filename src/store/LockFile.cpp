#include "store/LockFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include "store/AtomicFile.h"
#include "store/TempNames.h"

namespace store {

namespace {

std::string HostName() {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') {
    return "localhost";
  }
  return host;
}

// When the process started, in clock ticks since boot: tells a process from a later one that
// was given the same id. Empty when there is no such process.
std::string StartTimeOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  const std::size_t end = text.rfind(')');
  if (end == std::string::npos) {
    return {};
  }
  std::istringstream fields(text.substr(end + 2));
  std::string field;
  // After the name: state is field 3, the start time field 22.
  for (int k = 3; k <= 22 && fields >> field; ++k) {
  }
  return field;
}

// Whether the lock held in `text` (written at `written`) is certainly no one's any more.
bool IsStale(const std::string& text, time_t written) {
  std::istringstream fields(text);
  std::string host;
  long long pid = 0;
  std::string started;
  if (fields >> host >> pid >> started && host == HostName() && pid > 0 && pid <= INT_MAX) {
    return StartTimeOf(static_cast<pid_t>(pid)) != started;
  }
  return std::time(nullptr) - written > kStaleLockSeconds;
}

// Removes the stale lock at `path` that is the file `seen`, and no lock another writer has made
// since: the lock is first moved aside, and put back when it turns out to be a new one.
void RemoveStale(const std::string& path, const struct stat& seen) {
  const std::string aside = path + "." + std::to_string(::getpid()) + ".stale";
  if (::rename(path.c_str(), aside.c_str()) != 0) {
    return;
  }
  struct stat moved {};
  if (::lstat(aside.c_str(), &moved) == 0 &&
      (moved.st_dev != seen.st_dev || moved.st_ino != seen.st_ino)) {
    [[maybe_unused]] const int back = ::link(aside.c_str(), path.c_str());
  }
  ::unlink(aside.c_str());
}

// The type of the file system `path` is on, as the system names it ("nfs4", "fuse.sshfs"), or
// "unknown".
std::string FileSystemTypeOf(const std::string& path) {
  char real[PATH_MAX];
  const std::string where = ::realpath(path.c_str(), real) != nullptr ? real : path;
  std::ifstream mounts("/proc/self/mounts");
  std::string device;
  std::string point;
  std::string type;
  std::string rest;
  std::string best = "unknown";
  std::size_t bestLength = 0;
  while (mounts >> device >> point >> type && std::getline(mounts, rest)) {
    // Blanks and other bytes in a mount point are written as octal escapes.
    std::string decoded;
    for (std::size_t i = 0; i < point.size(); ++i) {
      if (point[i] == '\\' && i + 3 < point.size()) {
        decoded.push_back(static_cast<char>(std::stoi(point.substr(i + 1, 3), nullptr, 8)));
        i += 3;
      } else {
        decoded.push_back(point[i]);
      }
    }
    const bool inside = where == decoded || decoded == "/" ||
                        (where.starts_with(decoded) && where[decoded.size()] == '/');
    if (inside && decoded.size() >= bestLength) {
      best = type;
      bestLength = decoded.size();
    }
  }
  return best;
}

}  // namespace

Result<void> LockFile::Take(const std::string& folder, const std::string& name,
                            const std::string& shown) {
  Release();
  const std::string path = LockFilePathFor(folder, name);
  const pid_t self = ::getpid();
  const std::string holder =
      HostName() + " " + std::to_string(self) + " " + StartTimeOf(self) + "\n";
  for (int wait = 1;; wait = wait < 64 ? wait * 2 : wait) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      const int error = WriteAll(fd, holder);
      ::close(fd);
      if (error != 0) {
        ::unlink(path.c_str());
        return Fail(shown,
                    std::string("no lock file can be written beside it: ") + std::strerror(error));
      }
      path_ = path;
      return {};
    }
    if (errno != EEXIST && errno != EINTR) {
      return Fail(shown, "the file system it is on (" + FileSystemTypeOf(folder) +
                             ") cannot lock files, and no lock file can be made beside it (" +
                             std::strerror(errno) + ")");
    }
    struct stat seen {};
    std::string text;
    if (::lstat(path.c_str(), &seen) == 0 && ReadRawFile(path, text) == 0 &&
        IsStale(text, seen.st_mtime)) {
      RemoveStale(path, seen);
      continue;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  }
}

void LockFile::Release() {
  if (!path_.empty()) {
    ::unlink(path_.c_str());
    path_.clear();
  }
}

}  // namespace store
