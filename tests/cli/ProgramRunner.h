#pragma once

// Runs the built pelmora-check with its standard output and error going where a test wants them:
// a file, a pseudo-terminal, a full device or a pipe whose reader is gone.
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliTestSupport.h"

namespace cli_test {

enum class Sink { File, Terminal, Full, ClosedPipe };

struct ProgramRun {
  int status = -1;  // exit status, or -1 when ended by a signal
  std::string out;
  std::string err;
};

class ProgramRunnerTest : public FolderTest {
 protected:
  ProgramRun Run(const std::vector<std::string>& arguments, const std::string& input = {},
                 Sink out = Sink::File, Sink err = Sink::File) {
    const std::string inPath = Write("stdin", input);
    Target outTarget = Open(out, PathOf("stdout"));
    Target errTarget = Open(err, PathOf("stderr"));
    const pid_t child = ::fork();
    if (child == 0) {
      const int in = ::open(inPath.c_str(), O_RDONLY);
      const int outFd = ChildEnd(outTarget);
      const int errFd = ChildEnd(errTarget);
      if (in < 0 || outFd < 0 || errFd < 0) {
        ::_exit(127);
      }
      ::dup2(in, STDIN_FILENO);
      ::dup2(outFd, STDOUT_FILENO);
      ::dup2(errFd, STDERR_FILENO);
      const std::string program = PELMORA_CHECK_PROGRAM;
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
      }
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    if (outTarget.pipeWriter >= 0) {
      ::close(outTarget.pipeWriter);
    }
    ProgramRun run;
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = Collect(outTarget);
    run.err = Collect(errTarget);
    return run;
  }

 private:
  struct Target {
    Sink sink = Sink::File;
    std::string path;  // the file, or the terminal's device
    int master = -1;
    int pipeWriter = -1;
  };

  static Target Open(Sink sink, const std::string& file) {
    Target target{sink, file, -1, -1};
    if (sink == Sink::Terminal) {
      target.master = ::posix_openpt(O_RDWR | O_NOCTTY);
      EXPECT_GE(target.master, 0);
      EXPECT_EQ(::grantpt(target.master), 0);
      EXPECT_EQ(::unlockpt(target.master), 0);
      target.path = ::ptsname(target.master);
    } else if (sink == Sink::ClosedPipe) {
      int ends[2];
      EXPECT_EQ(::pipe(ends), 0);
      ::close(ends[0]);
      target.pipeWriter = ends[1];
    } else if (sink == Sink::Full) {
      target.path = "/dev/full";
    }
    return target;
  }

  // In the child: the descriptor to hand to the program. A terminal is put in raw mode so that
  // the bytes arrive unchanged.
  static int ChildEnd(const Target& target) {
    switch (target.sink) {
      case Sink::ClosedPipe:
        return target.pipeWriter;
      case Sink::Full:
        return ::open(target.path.c_str(), O_WRONLY);
      case Sink::Terminal: {
        const int fd = ::open(target.path.c_str(), O_RDWR | O_NOCTTY);
        termios mode{};
        ::tcgetattr(fd, &mode);
        ::cfmakeraw(&mode);
        ::tcsetattr(fd, TCSANOW, &mode);
        return fd;
      }
      case Sink::File:
        break;
    }
    return ::open(target.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }

  static std::string Collect(const Target& target) {
    if (target.sink == Sink::File) {
      return Read(target.path);
    }
    std::string text;
    if (target.sink == Sink::Terminal) {
      char buffer[4096];
      ssize_t got;
      ::fcntl(target.master, F_SETFL, O_NONBLOCK);
      while ((got = ::read(target.master, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
      }
      ::close(target.master);
    }
    return text;
  }
};

}  // namespace cli_test
