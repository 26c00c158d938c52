#include "app/CommandLine.h"

#include "app/modPelmora.h"

namespace modPelmora {
namespace {

CommandLine Refuse(std::string why) {
  CommandLine line;
  line.action = CommandLine::Action::Error;
  line.error = "pelmora: " + why + "\nTry 'pelmora --help' for more information.\n";
  return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      if (argument == "--help" || argument == "-h")
        return {CommandLine::Action::Help, {}, {}};
      if (argument == "--version")
        return {CommandLine::Action::Version, {}, {}};
      return Refuse("unknown option '" + argument + "'");
    }
    if (argument.empty())
      return Refuse("the data file name is empty");
    if (!line.file.empty())
      return Refuse("only one data file can be opened at a time");
    line.file = argument;
  }
  return line;
}

std::string UsageText() {
  return "Usage: pelmora [FILE]\n"
         "Keeps lottery play numbers and checks them against the winning number.\n"
         "\n"
         "  FILE       open this data file instead of the default one; when Pelmora\n"
         "             already runs, that window opens it\n"
         "  --help     show this help and exit\n"
         "  --version  show the version and exit\n";
}

std::string VersionText() {
  return "pelmora " + std::to_string(kVersionMajor) + '.' + std::to_string(kVersionMinor) + '.' +
         std::to_string(kVersionRevision) + '\n';
}

}  // namespace modPelmora
