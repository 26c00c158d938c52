#include <gtest/gtest.h>

#include <string>

#include "cli/OutputText.h"

namespace cli {
namespace {

std::string FilterOutput(std::string_view text, OutputStyle style) {
  OutputFilter filter(style);
  std::string out = filter.Feed(text);
  return out + filter.Finish();
}

struct FilterCase {
  const char* name;
  std::string text;
  std::string onTerminal;  // escaped
  std::string withLf;      // --lf, into a file
};

void PrintTo(const FilterCase& c, std::ostream* out) {
  *out << c.name;
}

class OutputFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(OutputFilterTest, EscapesOnATerminalAndKeepsBytesElsewhere) {
  const FilterCase& c = GetParam();
  EXPECT_EQ(FilterOutput(c.text, {}), c.text);
  EXPECT_EQ(FilterOutput(c.text, {true, false}), c.onTerminal);
  EXPECT_EQ(FilterOutput(c.text, {false, true}), c.withLf);
}

// However the text is cut into pieces, a terminal sees the same.
TEST_P(OutputFilterTest, PiecesGiveWhatTheWholeGives) {
  const FilterCase& c = GetParam();
  for (const OutputStyle style : {OutputStyle{true, false}, OutputStyle{true, true}}) {
    OutputFilter filter(style);
    std::string out;
    for (const char byte : c.text) {
      out += filter.Feed(std::string(1, byte));
    }
    out += filter.Finish();
    EXPECT_EQ(out, FilterOutput(c.text, style));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Output, OutputFilterTest,
    testing::Values(
        FilterCase{"plainResultsText", "Matched: (3) in:05-12-23-01-02-03\r\n",
                   "Matched: (3) in:05-12-23-01-02-03\r\n", "Matched: (3) in:05-12-23-01-02-03\n"},
        FilterCase{"titleAndClearSequences", "1=05-12-23-\x1B]0;PWNED\a\x1B[2J\r\n",
                   "1=05-12-23-\\e]0;PWNED\\x07\\e[2J\r\n", "1=05-12-23-\x1B]0;PWNED\a\x1B[2J\n"},
        FilterCase{"tabKeptLoneCrEscaped", "a\tb\rc\n", "a\tb\\rc\n", "a\tb\rc\n"},
        FilterCase{"delAndNul", std::string("a\x7F\0b", 4), "a\\x7f\\x00b",
                   std::string("a\x7F\0b", 4)},
        FilterCase{"c1AsUtf8",
                   "x\xC2\x9B"
                   "31m\xC2\x85",
                   "x\\u009b31m\\u0085",
                   "x\xC2\x9B"
                   "31m\xC2\x85"},
        FilterCase{"c1AsLoneBytes",
                   "x\x9B"
                   "31m\x80",
                   "x\\x9b31m\\x80",
                   "x\x9B"
                   "31m\x80"},
        FilterCase{"lettersBeyondAsciiKept", "Zo\xC3\xAB \xC2\xA0\xE2\x82\xAC \xFF",
                   "Zo\xC3\xAB \xC2\xA0\xE2\x82\xAC \xFF", "Zo\xC3\xAB \xC2\xA0\xE2\x82\xAC \xFF"},
        FilterCase{"cutSequenceAtTheEnd", "ok\xE2\x82", "ok\xE2\\x82", "ok\xE2\x82"},
        FilterCase{"crAtTheEnd", "sorry\r", "sorry\\r", "sorry\r"}),
    [](const testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

}  // namespace
}  // namespace cli
