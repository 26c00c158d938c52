#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

namespace faults {

// The immutable attribute on a file or folder, set from construction until Clear() or the end of
// its life. Setting it needs root and a file system that supports it; set() tells whether it took.
class ImmutableFlag {
 public:
  // `openFlags` opens the path to reach its attributes: O_RDONLY for a file, with O_DIRECTORY for
  // a folder.
  ImmutableFlag(const std::string& path, int openFlags) : fd_(::open(path.c_str(), openFlags)) {
    set_ = fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags_) == 0 &&
           (flags_ |= FS_IMMUTABLE_FL, ::ioctl(fd_, FS_IOC_SETFLAGS, &flags_) == 0);
  }
  ~ImmutableFlag() { Clear(); }
  ImmutableFlag(const ImmutableFlag&) = delete;
  ImmutableFlag& operator=(const ImmutableFlag&) = delete;

  bool opened() const { return fd_ >= 0; }
  bool set() const { return set_; }

  void Clear() {
    if (fd_ < 0) {
      return;
    }
    if (set_) {
      flags_ &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
      set_ = false;
    }
    ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
  int flags_ = 0;
  bool set_ = false;
};

}  // namespace faults
