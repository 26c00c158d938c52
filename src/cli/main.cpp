#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/OutputText.h"

int main(int argc, char** argv) {
  // A closed pipe shows up as a failed write, which ends the output quietly, rather than as a
  // signal that ends the program halfway, with a status that looks like a failure.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const bool outIsTerminal = ::isatty(STDOUT_FILENO) == 1;
  // Line ends follow --lf, which the writer learns once the arguments are read.
  cli::OutputWriter out(STDOUT_FILENO, {outIsTerminal, false});
  cli::CommandOutput output = cli::RunCommandLine(arguments, outIsTerminal, &out);
  out.Write(output.out);
  out.Finish();
  if (!out.written()) {
    cli::ReportOutputFailure(output, out.written().error().reason);
  }
  cli::OutputWriter err(STDERR_FILENO, {::isatty(STDERR_FILENO) == 1, output.lfLineEnds});
  err.Write(output.err);
  err.Finish();
  return output.status;
}
