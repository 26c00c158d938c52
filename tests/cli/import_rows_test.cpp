// Import files as spreadsheets and editors save them, each read and compared with a golden list:
// the tickets it gives in order, then the lines it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Columns.h"
#include "cli/ImportText.h"
#include "cli/NumberLines.h"

namespace cli {
namespace {

const std::string kSheets = std::string(CLI_SAMPLES_DIR) + "/sheets/";

std::string ReadSample(const std::string& name) {
  std::ifstream in(kSheets + name, std::ios::binary);
  EXPECT_TRUE(in.is_open()) << name;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A whole import text through the decoder that reads it a piece at a time.
store::Result<std::string> DecodeImportText(std::string_view bytes) {
  ImportDecoder decoder;
  std::string text;
  store::Result<void> decoded = decoder.Feed(bytes, text);
  if (decoded) {
    decoded = decoder.Finish();
  }
  if (!decoded) {
    return store::Fail(decoded.error());
  }
  return text;
}

std::string Described(const store::Result<TicketLines>& parsed) {
  if (!parsed) {
    return "file: " + parsed.error().reason + "\n";
  }
  const TicketLines& lines = *parsed;
  std::string text;
  for (const std::string& ticket : lines.tickets) {
    text += ticket + "\n";
  }
  for (const RefusedLine& line : lines.refused) {
    text += "line " + std::to_string(line.line) + ": " + line.problem + "\n";
  }
  return text;
}

struct SheetCase {
  const char* name;
  std::string file;
  std::string columns;  // the value of --columns, or empty
  std::string expected;
};

void PrintTo(const SheetCase& c, std::ostream* out) {
  *out << c.name;
}

class SheetTest : public testing::TestWithParam<SheetCase> {};

TEST_P(SheetTest, GivesTheGoldenTicketsAndRefusedLines) {
  const store::Result<std::string> text = DecodeImportText(ReadSample(GetParam().file));
  ASSERT_TRUE(text) << text.error().reason;
  std::vector<ColumnPick> columns;
  if (!GetParam().columns.empty()) {
    const store::Result<std::vector<ColumnPick>> picks = ParseColumns(GetParam().columns);
    ASSERT_TRUE(picks) << picks.error().reason;
    columns = *picks;
  }
  EXPECT_EQ(Described(ParseTicketLines(*text, columns)), ReadSample(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Import, SheetTest,
    testing::Values(
        SheetCase{"dateAndNameColumnsQuotedCrLf", "date-and-name.csv", "",
                  "date-and-name.expected"},
        SheetCase{"semicolonsAndQuotedSemicolon", "semicolons.csv", "", "semicolons.expected"},
        SheetCase{"tabsAndQuotedTab", "tabs.tsv", "", "tabs.expected"},
        SheetCase{"extraNumberColumnsWithoutPick", "extra-numbers.csv", "",
                  "extra-numbers.expected"},
        SheetCase{"extraNumberColumnsPickedByPlace", "extra-numbers.csv", "3-8",
                  "extra-numbers-picked.expected"},
        SheetCase{"extraNumberColumnsPickedAsList", "extra-numbers.csv", "3,4,5,6,7,8",
                  "extra-numbers-picked.expected"},
        SheetCase{"extraNumberColumnsPickedByName", "extra-numbers.csv", "b1,B2,B3,B4,B5, B6",
                  "extra-numbers-picked.expected"},
        SheetCase{"pickedNameNotInHeading", "extra-numbers.csv", "B1,B2,B3,B4,B5,B7",
                  "unknown-column.expected"},
        SheetCase{"unclosedQuote", "unclosed-quote.csv", "", "unclosed-quote.expected"},
        SheetCase{"plainUtf8", "plain-utf8.txt", "", "plain.expected"},
        SheetCase{"plainUtf8WithMark", "plain-utf8-bom.txt", "", "plain.expected"},
        SheetCase{"plainUtf16LittleEndianCrLf", "plain-utf16le.txt", "", "plain.expected"},
        SheetCase{"plainUtf16BigEndian", "plain-utf16be.txt", "", "plain.expected"}),
    [](const testing::TestParamInfo<SheetCase>& info) { return info.param.name; });

struct FirstLineCase {
  const char* name;
  std::string text;
  std::string expected;
};

void PrintTo(const FirstLineCase& c, std::ostream* out) {
  *out << c.name;
}

class FirstLineTest : public testing::TestWithParam<FirstLineCase> {};

// A first line is passed over as a heading only when none of its fields is a number, so a
// mistyped ticket is reported rather than lost.
TEST_P(FirstLineTest, IsAHeadingOnlyWithoutNumbers) {
  EXPECT_EQ(Described(ParseTicketLines(GetParam().text + "\n1 2 3 4 5 6\n")), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Import, FirstLineTest,
    testing::Values(
        FirstLineCase{"letterOForZero", "5 12 3O 41 8 55",
                      "01-02-03-04-05-06\nline 1: \"3O\" is not a number\n"},
        FirstLineCase{"columnNames", "n1,n2,n3,n4,n5,n6", "01-02-03-04-05-06\n"},
        FirstLineCase{"namesWithSpacesAndDigits", "Ball 1;Ball 2;Ball 3;Ball 4;Ball 5;Ball 6",
                      "01-02-03-04-05-06\n"},
        FirstLineCase{"wordsOnly", "My tickets", "01-02-03-04-05-06\n"},
        FirstLineCase{"headingWithANumberColumn", "Date,Name,1,2,3,4,5,6",
                      "01-02-03-04-05-06\n01-02-03-04-05-06\n"},
        FirstLineCase{"tooFewNumbers", "Week 1",
                      "01-02-03-04-05-06\nline 1: holds 1 number, not 6\n"},
        FirstLineCase{"ticket", "7,8,9,10,11,12", "07-08-09-10-11-12\n01-02-03-04-05-06\n"},
        FirstLineCase{"blankLinesBeforeHeading", "\n ,, \nn1 n2 n3 n4 n5 n6",
                      "01-02-03-04-05-06\n"}),
    [](const testing::TestParamInfo<FirstLineCase>& info) { return info.param.name; });

struct EncodingCase {
  const char* name;
  std::string bytes;
  std::string textOrProblem;
};

void PrintTo(const EncodingCase& c, std::ostream* out) {
  *out << c.name;
}

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, ReadsUnicodeOrRefuses) {
  const store::Result<std::string> text = DecodeImportText(GetParam().bytes);
  EXPECT_EQ(text ? *text : text.error().reason, GetParam().textOrProblem);
}

INSTANTIATE_TEST_SUITE_P(
    Import, EncodingTest,
    testing::Values(
        EncodingCase{"utf16SurrogatePair", std::string("\xFF\xFE\x3D\xD8\x00\xDE\x31\x00", 8),
                     "\xF0\x9F\x98\x80"
                     "1"},
        EncodingCase{"latin1", "Zo\xEB\n",
                     "it is not UTF-8 text (byte 3); save it as UTF-8 or "
                     "UTF-16 with a byte-order mark"},
        EncodingCase{"overlongUtf8", "\xC0\xAF",
                     "it is not UTF-8 text (byte 1); save it as UTF-8 "
                     "or UTF-16 with a byte-order mark"},
        EncodingCase{"utf16WithoutMark", std::string("1\0 \0", 4),
                     "it holds a NUL byte at byte 2; not a text file, or UTF-16 without a "
                     "byte-order mark"},
        EncodingCase{"utf16CutInHalf", std::string("\xFF\xFE\x31\x00\x32", 5),
                     "it is UTF-16 but ends in half a character"},
        EncodingCase{"utf16LoneSurrogate", std::string("\xFF\xFE\x00\xDC\x31\x00", 6),
                     "it is UTF-16 but holds a broken character at byte 3"}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace cli
