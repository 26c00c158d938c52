#include <gtest/gtest.h>

#include <stdlib.h>

#include <QFile>
#include <filesystem>
#include <fstream>

#include "app/CommandLine.h"
#include "app/FileText.h"
#include "app/modPelmora.h"

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

// A data file name is bytes from the command line to the caption and back, whatever they are,
// and the file dialog's choice of such a name finds that very file.
struct NameCase {
  const char* name;
  std::string bytes;
  QString caption;
};

class FileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameTest, OpensTheFileItNamesAndShowsByTheFileTextRule) {
  const NameCase& c = GetParam();
  EXPECT_EQ(modPelmora::ParseCommandLine({c.bytes}).file, c.bytes);
  EXPECT_EQ(modPelmora::PathBytes(modPelmora::PathHandle(c.bytes)), c.bytes);
  EXPECT_EQ(modPelmora::FileText(c.bytes), c.caption);

  char folder[] = "/tmp/pelmora-names-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/" + c.bytes;
  std::ofstream(path) << "[Numbers]\r\nTOTAL=0\r\n";
  std::ofstream(std::string(folder) + "/other.pmd") << "";
  // The dialog hands back the name as the toolkit decodes it.
  EXPECT_EQ(modPelmora::PathBytes(QFile::decodeName(path.c_str())), path);
  std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Names, FileNameTest,
                         ::testing::Values(NameCase{"Utf8",
                                                    "d\xC3\xAD"
                                                    "a.pmd",
                                                    QString::fromUtf8("d\xC3\xAD"
                                                                      "a.pmd")},
                                           NameCase{"Windows1252",
                                                    "d\xED"
                                                    "a.pmd",
                                                    QString::fromUtf8("d\xC3\xAD"
                                                                      "a.pmd")},
                                           NameCase{"InvalidBytes", "bad\xFF\xFE.pmd",
                                                    QString::fromUtf8("bad\xC3\xBF\xC3\xBE.pmd")}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
