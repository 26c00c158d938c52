#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using modPelmora::CommandLine;
using Action = CommandLine::Action;

struct LineCase {
  const char* name;
  std::vector<std::string> arguments;
  Action action;
  std::string file;
};

class CommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTest, ReadsWhatWasAsked) {
  const LineCase& c = GetParam();
  const CommandLine line = modPelmora::ParseCommandLine(c.arguments);
  EXPECT_EQ(line.action, c.action);
  EXPECT_EQ(line.file, c.file);
  EXPECT_EQ(line.error.empty(), c.action != Action::Error) << line.error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    ::testing::Values(
        LineCase{"Nothing", {}, Action::Run, ""},
        LineCase{"OneFile", {"tickets.pmd"}, Action::Run, "tickets.pmd"},
        LineCase{"Help", {"--help"}, Action::Help, ""},
        LineCase{"ShortHelp", {"-h"}, Action::Help, ""},
        LineCase{"Version", {"--version"}, Action::Version, ""},
        LineCase{"HelpWinsOverAFile", {"a.pmd", "--help"}, Action::Help, ""},
        LineCase{"UnknownOption", {"--frobnicate"}, Action::Error, ""},
        LineCase{"ToolkitOption", {"-platform", "offscreen"}, Action::Error, ""},
        LineCase{"TwoFiles", {"a.pmd", "b.pmd"}, Action::Error, ""},
        LineCase{"EmptyName", {""}, Action::Error, ""},
        LineCase{"DashNamedFileAfterEndOfOptions", {"--", "-odd.pmd"}, Action::Run, "-odd.pmd"},
        LineCase{"LoneDashIsAFileName", {"-"}, Action::Run, "-"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
