// pelmora-check --import fed input that is no list of tickets, up to 1 GB through a pipe, under a
// 100 MB memory limit: it stops reading early with one message and adds nothing.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliTestSupport.h"

namespace {

struct InputCase {
  const char* name;
  std::string piece;  // repeated
  std::size_t bytes;  // up to this many, or until the program stops reading
  std::size_t errLines;
  std::string lastLine;  // the end of what it says
};

void PrintTo(const InputCase& c, std::ostream* out) {
  *out << c.name;
}

class BoundedInputTest : public cli_test::FolderTest,
                         public testing::WithParamInterface<InputCase> {};

TEST_P(BoundedInputTest, StopsWithOneMessageWithinTheMemoryLimit) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves far more address space than the limit";
#endif
  const InputCase& c = GetParam();
  const std::string data = PathOf("data.pmd");
  const std::string errPath = PathOf("stderr");
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit memory{100u << 20, 100u << 20};
    ::setrlimit(RLIMIT_AS, &memory);
    ::dup2(fds[0], STDIN_FILENO);
    ::close(fds[0]);
    ::close(fds[1]);
    ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
    ::execl(PELMORA_CHECK_PROGRAM, PELMORA_CHECK_PROGRAM, "--import", "-", data.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[0]);
  ::signal(SIGPIPE, SIG_IGN);
  std::string block;
  while (block.size() < (1u << 20)) {
    block += c.piece;
  }
  for (std::size_t sent = 0; sent < c.bytes;) {
    const ssize_t wrote = ::write(fds[1], block.data(), std::min(block.size(), c.bytes - sent));
    if (wrote <= 0) {
      break;  // the program stopped reading
    }
    sent += static_cast<std::size_t>(wrote);
  }
  ::close(fds[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  const std::string err = ReadBytes(errPath);
  EXPECT_EQ(static_cast<std::size_t>(std::count(err.begin(), err.end(), '\n')), c.errLines);
  EXPECT_NE(err.find(c.lastLine), std::string::npos)
      << err.substr(err.size() > 300 ? err.size() - 300 : 0);
  EXPECT_FALSE(std::filesystem::exists(data));
}

constexpr std::size_t kGigabyte = std::size_t{1} << 30;

INSTANTIATE_TEST_SUITE_P(
    Inputs, BoundedInputTest,
    testing::Values(
        InputCase{"junkLines", "this is no ticket at all\n", kGigabyte, 1001,
                  "pelmora-check: standard input: reading stopped at line 1001 after 1000 refused "
                  "lines; nothing was added"},
        InputCase{"binary",
                  std::string("\x7f"
                              "ELF\0\1\2\3",
                              8),
                  kGigabyte, 1,
                  "pelmora-check: standard input: it holds a NUL byte at byte 5; not a text file, "
                  "or UTF-16 without a byte-order mark; nothing was added"},
        InputCase{"oneEndlessLine", "x", 200u << 20, 2,
                  "pelmora-check: standard input:1: it is longer than 65536 bytes\n"
                  "pelmora-check: standard input: 1 line refused; nothing was added to "},
        InputCase{"moreTicketsThanAFileHolds", "1 2 3 4 5 6\n", 1u << 20, 1,
                  "pelmora-check: standard input: reading stopped at line 32768: it holds more "
                  "rows than the 32767 tickets a data file can hold; nothing was added"}),
    [](const testing::TestParamInfo<InputCase>& info) { return info.param.name; });

}  // namespace
