// Small helpers shared by the benchmarks.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

#include "store/TicketRules.h"

namespace bench {

// A number 0..99 as the two digits of a ticket field.
inline std::string TwoDigits(int number) {
  return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

// The first lines of a data file: its section, the count and the winning number.
inline std::string FileHead(std::size_t count, std::string_view winning) {
  std::string head = "[" + std::string(store::kSection) + "]\r\n";
  head.append(store::kTotalKey).append("=").append(std::to_string(count)).append("\r\n");
  head.append(store::kWinningKey).append("=").append(winning).append("\r\n");
  return head;
}

// A data file of `tickets` under keys 1..n, as adding them one by one leaves it.
inline std::string DataFileBytes(const std::vector<std::string>& tickets,
                                 std::string_view winning = "03-17-22-35-41-58") {
  std::string bytes = FileHead(tickets.size(), winning);
  for (std::size_t i = 0; i < tickets.size(); ++i)
    bytes += std::to_string(i + 1) + "=" + tickets[i] + "\r\n";
  return bytes;
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
