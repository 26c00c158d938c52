// The text forms of the data file: ticket fields and the count conversion.
#include <string>

#include <gtest/gtest.h>

#include "store/CountConversion.h"
#include "store/PlayNumber.h"

namespace {

using store::ConvertCount;

TEST(PlayNumberTest, FieldsAreTakenByPositionNotBySeparator) {
  EXPECT_EQ(store::SplitPlayNumber("05-12-19-33-40-52"),
            (store::PlayFields{"05", "12", "19", "33", "40", "52"}));
  // Separators are never looked at, so a misplaced "-" shifts nothing.
  EXPECT_EQ(store::SplitPlayNumber("5-12-19-33-40-52x"),
            (store::PlayFields{"5-", "2-", "9-", "3-", "0-", "2x"}));
  EXPECT_EQ(store::SplitPlayNumber("05-1"), (store::PlayFields{"05", "1", "", "", "", ""}));
  EXPECT_EQ(store::SplitPlayNumber(""), (store::PlayFields{"", "", "", "", "", ""}));
  EXPECT_EQ(store::PlayNumberField("05-12-19-33-40-52-77", 6), "52");
  EXPECT_EQ(store::PlayNumberField("05-12-19-33-40-52", 0), "");
  EXPECT_EQ(store::PlayNumberField("05-12-19-33-40-52", 7), "");
  EXPECT_EQ(store::PlayNumberField("05-12-19-33-40-5", 6), "5");
}

TEST(PlayNumberTest, JoinsTwoDigitFields) {
  EXPECT_EQ(store::TwoDigitField(0), "00");
  EXPECT_EQ(store::TwoDigitField(5), "05");
  EXPECT_EQ(store::TwoDigitField(59), "59");
  EXPECT_EQ(store::JoinPlayNumber({"00", "00", "00", "00", "00", "00"}), store::kEmptyPlayNumber);
  EXPECT_EQ(store::JoinPlayNumber(store::SplitPlayNumber("03-17-22-35-41-58")),
            "03-17-22-35-41-58");
}

struct Conversion {
  const char* text;
  bool ok;
  int value;  // the count, or the error code when the conversion fails
};

TEST(CountConversionTest, Table) {
  const Conversion table[] = {
      {"0", true, 0},
      {"17", true, 17},
      {"  42\t", true, 42},
      {"+7", true, 7},
      {"-3", true, -3},
      {"007", true, 7},
      {"32767", true, 32767},
      {"-32768", true, -32768},
      {"2.5", true, 2},
      {"3.5", true, 4},
      {"-2.5", true, -2},
      {"2.51", true, 3},
      {".5", true, 0},
      {"5.", true, 5},
      {"1e3", true, 1000},
      {"1.5E+1", true, 15},
      {"25e-1", true, 2},
      {"1d2", true, 100},
      {"0e999999", true, 0},
      {"1e-400", true, 0},
      {"32767.4", true, 32767},
      {"-32768.5", true, -32768},
      {"&H10", true, 16},
      {"&h7fff", true, 32767},
      {"&HFFFF", true, -1},
      {"&H8000", true, -32768},
      {"&HFFFFFFFF", true, -1},
      {"&O17", true, 15},
      {"&o177777", true, -1},
      {"32768", false, store::kOverflowNumber},
      {"-32769", false, store::kOverflowNumber},
      {"32767.5", false, store::kOverflowNumber},
      {"99999999999999999999", false, store::kOverflowNumber},
      {"1e400", false, store::kOverflowNumber},
      {"&H10000", false, store::kOverflowNumber},
      {"&H7FFFFFFF", false, store::kOverflowNumber},
      {"&H1FFFFFFFF", false, store::kOverflowNumber},
      {"", false, store::kTypeMismatchNumber},
      {"   ", false, store::kTypeMismatchNumber},
      {"abc", false, store::kTypeMismatchNumber},
      {"12abc", false, store::kTypeMismatchNumber},
      {"1 2", false, store::kTypeMismatchNumber},
      {"- 1", false, store::kTypeMismatchNumber},
      {"+", false, store::kTypeMismatchNumber},
      {".", false, store::kTypeMismatchNumber},
      {"1e", false, store::kTypeMismatchNumber},
      {"1e+", false, store::kTypeMismatchNumber},
      {"1.2.3", false, store::kTypeMismatchNumber},
      {"0x10", false, store::kTypeMismatchNumber},
      {"inf", false, store::kTypeMismatchNumber},
      {"nan", false, store::kTypeMismatchNumber},
      {"&H", false, store::kTypeMismatchNumber},
      {"&HG", false, store::kTypeMismatchNumber},
      {"&O8", false, store::kTypeMismatchNumber},
      {"&10", false, store::kTypeMismatchNumber},
      {"-&H10", false, store::kTypeMismatchNumber},
      {"1,000", false, store::kTypeMismatchNumber},
  };
  for (const Conversion& row : table) {
    const store::CountResult result = ConvertCount(row.text);
    EXPECT_EQ(result.has_value(), row.ok) << '"' << row.text << '"';
    EXPECT_EQ(result ? *result : store::ErrorNumberOf(result.error()), row.value)
        << '"' << row.text << '"';
  }
  EXPECT_EQ(ConvertCount(std::string("1\0", 2)).error().kind, store::ProblemKind::NotANumber);
}

}  // namespace
