#pragma once

#include <string>
#include <vector>

namespace modPelmora {

// What the program was asked to do on its command line. It is read before any window exists, so
// --help and --version work without a display.
struct CommandLine {
  enum class Action { Run, Help, Version, Error };
  Action action = Action::Run;
  std::string file;   // the data file to open instead of the default one; empty for the default
  std::string error;  // for Action::Error: what to print on the error stream
};

// `arguments` without the program's own name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
std::string VersionText();

// The exit status of a command line that could not be understood.
inline constexpr int kUsageExitCode = 2;

}  // namespace modPelmora
