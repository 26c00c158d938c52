#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Commands.h"

namespace {

// Writes everything or returns the error, so a full disk or a closed pipe is not taken for
// success.
int WriteAll(int fd, std::string_view text) {
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
  // A long report is written as it is made; the first failing write ends it.
  int error = 0;
  const cli::ReportSink toStandardOutput = [&error](std::string_view piece) {
    error = WriteAll(STDOUT_FILENO, piece);
    return error == 0;
  };
  const cli::CommandOutput output =
      cli::RunCommandLine(arguments, ::isatty(STDOUT_FILENO) == 1, &toStandardOutput);
  int status = output.status;
  if (error == 0)
    error = WriteAll(STDOUT_FILENO, output.out);
  if (error != 0) {
    const std::string message =
        "pelmora-check: standard output: " + std::string(std::strerror(error)) + "\n";
    WriteAll(STDERR_FILENO, message);
    status = cli::kExitError;
  }
  WriteAll(STDERR_FILENO, output.err);
  return status;
}
