// Reading UTF-16 data files as UTF-8 text and writing them back, and telling UTF-8 text from
// text in the Windows code page.
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "store/TextEncoding.h"

namespace {

using store::FileEncoding;

struct Utf8Case {
  const char* name;
  std::string text;
  bool valid;
};

class Utf8ValidityTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ValidityTest, TellsUtf8FromOtherBytes) {
  EXPECT_EQ(store::IsValidUtf8(GetParam().text), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8ValidityTest,
    ::testing::Values(
        Utf8Case{"ascii", "05-12-19", true}, Utf8Case{"empty", "", true},
        Utf8Case{"eAcute", "caf\xC3\xA9", true}, Utf8Case{"fourBytes", "\xF0\x9F\x98\x80", true},
        Utf8Case{"windowsEAcute", "caf\xE9", false}, Utf8Case{"euroSignByte", "\x80", false},
        Utf8Case{"truncatedAtEnd", "a\xC3", false}, Utf8Case{"overlongSlash", "\xC0\xAF", false},
        Utf8Case{"surrogate", "\xED\xA0\x80", false},
        Utf8Case{"aboveLastCodePoint", "\xF4\x90\x80\x80", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Windows1252Test, MapsEveryByte) {
  EXPECT_EQ(store::Windows1252Char(0x41), U'A');
  EXPECT_EQ(store::Windows1252Char(0xE9), U'\u00E9');
  EXPECT_EQ(store::Windows1252Char(0x80), U'\u20AC');
  EXPECT_EQ(store::Windows1252Char(0x9F), U'\u0178');
  EXPECT_EQ(store::Windows1252Char(0xA0), U'\u00A0');
  for (const unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
    EXPECT_EQ(store::Windows1252Char(undefined), char32_t{undefined});
}

TEST(Utf16Test, DecodesBothByteOrdersToUtf8) {
  EXPECT_EQ(store::DetectEncoding(std::string{'\xFF', '\xFE', 'a', '\0'}), FileEncoding::Utf16Le);
  EXPECT_EQ(store::DetectEncoding(std::string("\xFE\xFF\0a", 4)), FileEncoding::Utf16Be);
  EXPECT_EQ(store::DetectEncoding("\xEF\xBB\xBF[a]"), FileEncoding::Bytes);
  const std::string le(
      "\xFF\xFE"
      "a\0\xE9\0\x3D\xD8\x00\xDE",
      10);
  EXPECT_EQ(store::DecodeFileText(le, FileEncoding::Utf16Le), "a\xC3\xA9\xF0\x9F\x98\x80");
  const std::string be("\xFE\xFF\0a\0\xE9\xD8\x3D\xDE\x00", 10);
  EXPECT_EQ(store::DecodeFileText(be, FileEncoding::Utf16Be), "a\xC3\xA9\xF0\x9F\x98\x80");
  // A stray last byte cannot be a character.
  EXPECT_EQ(store::DecodeFileText(std::string("\xFF\xFE"
                                              "a\0b",
                                              5),
                                  FileEncoding::Utf16Le),
            "a\xEF\xBF\xBD");
}

TEST(Utf16Test, AnySequenceOfCodeUnitsSurvivesDecodingAndEncoding) {
  std::mt19937 random(7);
  for (const FileEncoding encoding : {FileEncoding::Utf16Le, FileEncoding::Utf16Be}) {
    for (int round = 0; round < 200; ++round) {
      std::string bytes = encoding == FileEncoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
      const int units = static_cast<int>(random() % 40);
      for (int i = 0; i < units; ++i) {
        // Mostly surrogates and line ends, where a round trip could go wrong.
        static const char16_t kUnits[] = {u'a',   u'\r',  u'\n',  0xD800, 0xDBFF, 0xDC00,
                                          0xDFFF, 0x00E9, 0xFFFF, 0xFEFF, 0x0000};
        const char16_t unit =
            random() % 3 == 0 ? static_cast<char16_t>(random()) : kUnits[random() % 11];
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes +=
            encoding == FileEncoding::Utf16Le ? std::string{low, high} : std::string{high, low};
      }
      EXPECT_EQ(store::EncodeFileText(store::DecodeFileText(bytes, encoding), encoding), bytes);
    }
  }
}

TEST(Utf16Test, BytesThatAreNotUtf8AreWrittenAsWindows1252Characters) {
  EXPECT_EQ(store::EncodeFileText("\xE9\x80", FileEncoding::Utf16Le),
            std::string("\xFF\xFE\xE9\x00\xAC\x20", 6));
}

}  // namespace
