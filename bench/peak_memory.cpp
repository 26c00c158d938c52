// Runs a program and prints its peak resident memory in KiB on standard error. A child spawned
// straight from the Python harness shares the harness's memory until it execs, and the kernel
// counts that into the child's peak; forked from this small process, the figure is the
// program's own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: peak_memory PROGRAM [ARGUMENT...]\n", stderr);
    return 2;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execv(argv[1], argv + 1);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) < 0) {
    std::perror("peak_memory");
    return 2;
  }
  std::fprintf(stderr, "%ld\n", usage.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
