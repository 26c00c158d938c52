#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace {

// Writes everything or returns the error, so a full disk or a closed pipe is not taken for
// success.
int WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const cli::CommandOutput output = cli::RunCommandLine(arguments, ::isatty(STDOUT_FILENO) == 1);
  int status = output.status;
  if (const int error = WriteAll(STDOUT_FILENO, output.out); error != 0) {
    const std::string message =
        "pelmora-check: standard output: " + std::string(std::strerror(error)) + "\n";
    WriteAll(STDERR_FILENO, message);
    status = cli::kExitError;
  }
  WriteAll(STDERR_FILENO, output.err);
  return status;
}
