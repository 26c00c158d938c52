// Small helpers shared by the benchmarks.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace bench {

// A number 0..99 as the two digits of a ticket field.
inline std::string TwoDigits(int number) {
  return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// Written and flushed to the disk, so that a timed write does not pay for this one.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0)
    return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0)
      break;
    done += static_cast<std::size_t>(n);
  }
  ::fsync(fd);
  ::close(fd);
}

}  // namespace bench
