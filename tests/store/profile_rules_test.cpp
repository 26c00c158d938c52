// The data file's rules, through the document and through the three single operations on a path.
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/Profile.h"
#include "store/ProfileDocument.h"

namespace {

using store::ProfileDocument;
using store::ReadProfileValue;
using store::WriteProfileValue;

std::string AfterSet(std::string_view bytes, std::string_view section, std::string_view key,
                     std::string_view value) {
  ProfileDocument doc = ProfileDocument::Parse(bytes);
  doc.Set(section, key, value);
  return doc.Serialize();
}

std::string AfterDelete(std::string_view bytes, std::string_view section, std::string_view key) {
  ProfileDocument doc = ProfileDocument::Parse(bytes);
  doc.Delete(section, key);
  return doc.Serialize();
}

using ProfileFileTest = store_test::TempFolderTest;

TEST_F(ProfileFileTest, FileWrittenByTheProgramReadsLineByLine) {
  const std::string path = PathOf("data.pmd");
  EXPECT_EQ(ReadProfileValue("Numbers", "TOTAL", path), "");
  ASSERT_TRUE(WriteProfileValue("Numbers", "TOTAL", "0", path));
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=0\r\n");
  ASSERT_TRUE(WriteProfileValue("Numbers", "W", "00-00-00-00-00-00", path));
  ASSERT_TRUE(WriteProfileValue("Numbers", "Total", "1", path));
  ASSERT_TRUE(WriteProfileValue("Numbers", "1", "05-12-19-33-40-52", path));
  ASSERT_TRUE(WriteProfileValue("Numbers", "Total", "2", path));
  ASSERT_TRUE(WriteProfileValue("Numbers", "2", "01-09-14-27-38-44", path));
  ASSERT_TRUE(WriteProfileValue("numbers", "w", "03-17-22-35-41-58", path));
  EXPECT_EQ(ReadBytes(path),
            "[Numbers]\r\nTOTAL=2\r\nW=03-17-22-35-41-58\r\n1=05-12-19-33-40-52\r\n"
            "2=01-09-14-27-38-44\r\n");
  EXPECT_EQ(ReadProfileValue("numbers", "total", path), "2");
}

TEST_F(ProfileFileTest, UnreadableFileIsNeitherReadNorOverwritten) {
  const std::string path = PathOf("data.pmd");
  std::filesystem::create_directory(path);
  EXPECT_EQ(ReadProfileValue("Numbers", "TOTAL", path), "");
  const store::Result<void> result = WriteProfileValue("Numbers", "TOTAL", "0", path);
  EXPECT_EQ(store_test::ReasonOf(result), "Is a directory");
}

// An entry that would not read back as written is refused, and the file stays as it was.
struct RefusedEntry {
  const char* name;
  std::string section;
  std::string key;
  std::string value;
};

void PrintTo(const RefusedEntry& entry, std::ostream* out) {
  *out << entry.name;
}

class RefusedEntryTest : public store_test::TempFolderTest,
                         public ::testing::WithParamInterface<RefusedEntry> {};

TEST_P(RefusedEntryTest, WritesNothingAndSaysWhy) {
  const std::string path = PathOf("data.pmd");
  WriteBytes(path, "[Numbers]\r\nTOTAL=1\r\n");
  const RefusedEntry& entry = GetParam();
  const store::Result<void> result = WriteProfileValue(entry.section, entry.key, entry.value, path);
  ASSERT_FALSE(result);
  EXPECT_EQ(result.error().path, path);
  EXPECT_FALSE(result.error().reason.empty());
  EXPECT_EQ(ReadBytes(path), "[Numbers]\r\nTOTAL=1\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RefusedEntryTest,
    ::testing::Values(RefusedEntry{"LineBreakInValue", "Numbers", "1", "a\r\n2=b"},
                      RefusedEntry{"LineFeedInValue", "Numbers", "1", "a\nb"},
                      RefusedEntry{"EqualsInKey", "Numbers", "a=b", "c"},
                      RefusedEntry{"KeyLikeAComment", "Numbers", ";x", "c"},
                      RefusedEntry{"KeyLikeASection", "Numbers", " [x", "c"},
                      RefusedEntry{"CarriageReturnInKey", "Numbers", "x\r", "c"},
                      RefusedEntry{"LineBreakInSection", "Num\nbers", "1", "x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileDocumentTest, NamesCompareWithoutCaseAndKeepTheirSpelling) {
  const std::string file = "[NUMBERS]\r\ntotal=2\r\n1=a\r\n2=b\r\n";
  const ProfileDocument doc = ProfileDocument::Parse(file);
  EXPECT_EQ(doc.Get("Numbers", "TOTAL"), "2");
  EXPECT_EQ(doc.Get("numbers", "Total"), "2");
  EXPECT_TRUE(doc.HasKey("nUmBeRs", "TOTAL"));
  EXPECT_EQ(AfterSet(file, "Numbers", "Total", "3"), "[NUMBERS]\r\ntotal=3\r\n1=a\r\n2=b\r\n");
  EXPECT_EQ(AfterSet("[Numbers]\r\nTOTAL=2\r\nW=x\r\n", "Numbers", "Total", "3"),
            "[Numbers]\r\nTOTAL=3\r\nW=x\r\n");
  EXPECT_EQ(AfterSet(file, "numbers", "Total", ""), "[NUMBERS]\r\ntotal=\r\n1=a\r\n2=b\r\n");
}

TEST(ProfileDocumentTest, ValuesAreTrimmedAndCut) {
  const std::string longValue(130, 'x');
  const ProfileDocument doc = ProfileDocument::Parse(
      "[S]\r\none=5\r\n \t padded \t = \t a b \t \r\nlong=" + longValue +
      "\r\nempty=\r\nnokey\r\n" + "eq=a=b\r\nblanklong=  " + longValue + "\r\n");
  EXPECT_EQ(doc.Get("S", "one"), "5");
  EXPECT_EQ(doc.Get("S", "padded"), "a b");
  EXPECT_EQ(doc.Get(" S ", " padded\t"), "a b");
  EXPECT_EQ(doc.Get("S", "long"), std::string(126, 'x'));
  EXPECT_EQ(doc.Get("S", "blanklong"), std::string(126, 'x'));
  EXPECT_EQ(doc.Get("S", "empty"), "");
  EXPECT_TRUE(doc.HasKey("S", "empty"));
  EXPECT_FALSE(doc.HasKey("S", "nokey"));
  EXPECT_EQ(doc.Get("S", "eq"), "a=b");
  // A written value is kept exactly; only reading trims it.
  EXPECT_EQ(AfterSet("[S]\r\n", "S", "k", "  v  "), "[S]\r\nk=  v  \r\n");
  EXPECT_EQ(AfterSet("[S]\r\n  k =1\r\n", "S", "K", " 2"), "[S]\r\nk= 2\r\n");
}

TEST(ProfileDocumentTest, CommentsSectionsAndDuplicates) {
  const std::string file =
      "k=pre\r\n[S]\r\n;k=comment\r\n  ; also=comment\r\nk=first\r\nk=second\r\n[T]\r\nx=1\r\n"
      "[s]\r\nk=third\r\nj=later\r\n";
  const ProfileDocument doc = ProfileDocument::Parse(file);
  EXPECT_EQ(doc.Get("S", "k"), "first");
  EXPECT_FALSE(doc.HasKey("S", ";k"));
  EXPECT_FALSE(doc.HasKey("S", "; also"));
  EXPECT_FALSE(doc.HasKey("S", "j"));  // only the first [S] counts
  EXPECT_FALSE(doc.HasKey("", "k"));   // lines before any section belong to none

  EXPECT_EQ(AfterSet(file, "S", "k", "new"),
            "k=pre\r\n[S]\r\n;k=comment\r\n  ; also=comment\r\nk=new\r\nk=second\r\n[T]\r\n"
            "x=1\r\n[s]\r\nk=third\r\nj=later\r\n");
  // Deleting the first key uncovers the next one of the same name, as a fresh read would.
  ProfileDocument changed = ProfileDocument::Parse(file);
  EXPECT_TRUE(changed.Delete("s", "K"));
  EXPECT_EQ(changed.Get("S", "k"), "second");
  EXPECT_TRUE(changed.Delete("S", "k"));
  EXPECT_FALSE(changed.HasKey("S", "k"));
  EXPECT_FALSE(changed.Delete("S", "k"));
  changed.Set("S", "j", "1");
  EXPECT_EQ(changed.Serialize(),
            "k=pre\r\n[S]\r\n;k=comment\r\n  ; also=comment\r\nj=1\r\n[T]\r\nx=1\r\n"
            "[s]\r\nk=third\r\nj=later\r\n");

  const ProfileDocument odd =
      ProfileDocument::Parse("[ A ] junk\r\nv=1\r\n[B\r\nw=2\r\n[a]b]\r\nz=3");
  EXPECT_EQ(odd.Get("a", "v"), "1");
  EXPECT_EQ(odd.Get("A", "w"), "2");  // "[B" is no section line
  EXPECT_EQ(odd.Get("a]b", "z"), "3");
}

TEST(ProfileDocumentTest, NewKeysGoAfterTheirSectionAndNewSectionsAtTheEnd) {
  // After the last non-blank line of the section, before the blank lines that end it.
  EXPECT_EQ(AfterSet("[A]\r\na=1\r\n\r\n \r\n[B]\r\nb=1\r\n", "A", "n", "2"),
            "[A]\r\na=1\r\nn=2\r\n\r\n \r\n[B]\r\nb=1\r\n");
  EXPECT_EQ(AfterSet("[A]\r\n\r\n[B]\r\n", "a", "n", "2"), "[A]\r\nn=2\r\n\r\n[B]\r\n");
  EXPECT_EQ(AfterSet("[A]\r\na=1\r\n; note\r\n\r\n", "A", "n", "2"),
            "[A]\r\na=1\r\n; note\r\nn=2\r\n\r\n");
  // A last line without ending gets CR LF first.
  EXPECT_EQ(AfterSet("[A]\r\na=1", "A", "n", "2"), "[A]\r\na=1\r\nn=2\r\n");
  EXPECT_EQ(AfterSet("[A]\r\na=1", "B", "n", "2"), "[A]\r\na=1\r\n[B]\r\nn=2\r\n");
  EXPECT_EQ(AfterSet("[A]\r\na=1\r\n\r\n", "B", "n", "2"), "[A]\r\na=1\r\n\r\n[B]\r\nn=2\r\n");
  EXPECT_EQ(AfterSet("", "Numbers", "TOTAL", "0"), "[Numbers]\r\nTOTAL=0\r\n");
  EXPECT_EQ(AfterSet("; only a comment", "S", "k", "v"), "; only a comment\r\n[S]\r\nk=v\r\n");
}

TEST(ProfileDocumentTest, LineEndingsAndByteOrderMarkSurvive) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string file = bom + "[S]\ra=1\nb=2\r\nc=3\n\rd=4";
  const ProfileDocument doc = ProfileDocument::Parse(file);
  EXPECT_EQ(doc.Serialize(), file);
  EXPECT_EQ(doc.Get("S", "a"), "1");
  EXPECT_EQ(doc.Get("S", "b"), "2");
  EXPECT_EQ(doc.Get("S", "c"), "3");
  EXPECT_EQ(doc.Get("S", "d"), "4");
  EXPECT_EQ(AfterSet(file, "S", "b", "x"), bom + "[S]\ra=1\nb=x\r\nc=3\n\rd=4");
  EXPECT_EQ(AfterDelete(file, "S", "c"), bom + "[S]\ra=1\nb=2\r\n\rd=4");
  EXPECT_EQ(AfterSet(bom, "S", "k", "v"), bom + "[S]\r\nk=v\r\n");
  // A BOM in the middle of the file is plain text.
  EXPECT_EQ(ProfileDocument::Parse("\r\n" + bom + "[S]\r\nk=v\r\n").Get("S", "k"), "");
}

TEST(ProfileDocumentTest, DeletingBetweenBareCrAndEmptyLfLineMatchesAFreshRead) {
  // "a=1\r" + "\n" meet once k=v is gone and read back as one CR LF ending.
  const std::string file = "[S]\r\na=1\rk=v\n\n[T]\r\n";
  ProfileDocument doc = ProfileDocument::Parse(file);
  ASSERT_TRUE(doc.Delete("S", "k"));
  EXPECT_EQ(doc.Serialize(), "[S]\r\na=1\r\n[T]\r\n");
  doc.Set("S", "n", "2");
  EXPECT_EQ(doc.Serialize(), AfterSet("[S]\r\na=1\r\n[T]\r\n", "S", "n", "2"));
}

// How long these take is measured in bench/store_bench.cpp.
TEST(ProfileDocumentTest, NulBytesAndHugeLinesAreHandled) {
  const std::string huge(10 * 1024 * 1024, 'v');
  std::string withNul = "[S]\r\nk=a";
  withNul.push_back('\0');
  withNul += "b\r\n";
  withNul.push_back('\0');
  withNul += "=c\r\nbig=" + huge + "\r\n" + huge + "\r\n[" + huge + "]\r\nx=1\r\n";

  ProfileDocument doc = ProfileDocument::Parse(withNul);
  EXPECT_EQ(doc.Get("S", "k"), std::string("a\0b", 3));
  EXPECT_EQ(doc.Get("S", std::string(1, '\0')), "c");
  EXPECT_EQ(doc.Get("S", "big"), huge.substr(0, 126));
  EXPECT_EQ(doc.Get(huge, "x"), "1");
  doc.Set("S", "big", "small");
  doc.Set(huge, "y", "2");
  EXPECT_EQ(doc.Serialize().size(), withNul.size() - huge.size() + 5 + 5);
}

TEST(ProfileDocumentTest, ManyAppendsAndDeletesLeaveTheRestAlone) {
  constexpr int kKeys = 100000;
  ProfileDocument doc = ProfileDocument::Parse("[Numbers]\r\nTOTAL=0\r\n\r\n[Other]\r\nx=1\r\n");
  for (int k = 1; k <= kKeys; ++k) {
    doc.Set("Numbers", std::to_string(k), "01-02-03-04-05-06");
  }
  for (int k = 1; k <= kKeys; k += 2) {
    doc.Delete("Numbers", std::to_string(k));
  }
  for (int k = kKeys; k >= 2; k -= 2) {
    doc.Delete("Numbers", std::to_string(k));
  }
  doc.Set("Numbers", "1", "x");
  EXPECT_EQ(doc.Serialize(), "[Numbers]\r\nTOTAL=0\r\n1=x\r\n\r\n[Other]\r\nx=1\r\n");
}

}  // namespace

namespace {

// Changing one document many times must leave what writing and reading it back after every
// change would leave, and reading without a document must agree with it; the whole-list
// operations rely on both.
TEST(ProfileDocumentTest, RepeatedChangesMatchAFreshReadAfterEachChange) {
  static const char* const kLines[] = {"[Numbers]", "[numbers ]", "[Other]", "1=a", "2=b",
                                       "3=c",       " 2 = d",     "TOTAL=1", "; c", "x",
                                       "",          " ",          "[bad"};
  static const char* const kEnds[] = {"\r\n", "\n", "\r"};
  static const char* const kSections[] = {"Numbers", "numbers", "Other", "New"};
  static const char* const kKeys[] = {"1", "2", "3", "4", "TOTAL"};
  std::mt19937 random(7);
  for (int round = 0; round < 8000; ++round) {
    std::string bytes = random() % 8 == 0 ? "\xEF\xBB\xBF" : "";
    for (int lines = static_cast<int>(random() % 9); lines > 0; --lines) {
      bytes += kLines[random() % std::size(kLines)];
      bytes += kEnds[random() % std::size(kEnds)];
    }
    if (!bytes.empty() && random() % 4 == 0) {
      bytes.pop_back();
    }
    SCOPED_TRACE("round " + std::to_string(round) + " file:\n" + bytes);
    ProfileDocument doc = ProfileDocument::Parse(bytes);
    ASSERT_EQ(doc.Serialize(), bytes);
    for (int change = 0; change < 6; ++change) {
      const char* section = kSections[random() % std::size(kSections)];
      const char* key = kKeys[random() % std::size(kKeys)];
      const std::string value = "v" + std::to_string(random() % 3);
      ProfileDocument single = ProfileDocument::Parse(bytes);
      if (random() % 2 == 0) {
        doc.Delete(section, key);
        single.Delete(section, key);
      } else {
        doc.Set(section, key, value);
        single.Set(section, key, value);
      }
      const std::string after = single.Serialize();
      ASSERT_EQ(single.IsModified(), after != bytes);
      bytes = after;
      ASSERT_EQ(doc.Serialize(), bytes) << "change " << change << ": " << section << "/" << key;
      const ProfileDocument fresh = ProfileDocument::Parse(bytes);
      for (const char* sectionName : kSections) {
        for (const char* name : kKeys) {
          ASSERT_EQ(doc.Get(sectionName, name), fresh.Get(sectionName, name));
          ASSERT_EQ(ProfileDocument::Lookup(bytes, sectionName, name),
                    fresh.Get(sectionName, name));
        }
      }
    }
  }
}

}  // namespace
