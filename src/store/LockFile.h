#pragma once

#include <string>

#include "store/Problem.h"

namespace store {

// A lock for file systems that refuse flock() (some network and FUSE ones): a file beside the
// data file, ".pm<hash of the name>.lock", created only when no other exists (O_CREAT|O_EXCL)
// and holding the host name, process id and process start time of its holder. A writer that
// finds one waits. It is taken as stale and removed only when its holder is certainly gone: on
// this host, when no process of that id and start time runs; from another host, or unreadable,
// once it is older than kStaleLockSeconds.
inline constexpr int kStaleLockSeconds = 600;

class LockFile {
 public:
  LockFile() = default;
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;
  ~LockFile() { Release(); }

  // Takes the lock of the data file `name` in `folder`, waiting while another holds it. `shown`
  // is the data file's path for a problem: when even a lock file cannot be made, the problem
  // names the file system that cannot lock.
  Result<void> Take(const std::string& folder, const std::string& name, const std::string& shown);
  void Release();

 private:
  std::string path_;
};

}  // namespace store
