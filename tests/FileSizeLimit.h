#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace test_support {

// While it lives, no file of this process grows beyond `bytes`: a write past it fails with
// "File too large", as a write onto a full disk fails, and the program's own code takes the same
// path. With 0, every write of a byte into a file fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : oldSignal_(::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    const rlimit limit{bytes, old_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  static std::string Reason() { return std::strerror(EFBIG); }

 private:
  rlimit old_{};
  sighandler_t oldSignal_;
};

}  // namespace test_support
