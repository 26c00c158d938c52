// The [Wins] section of a data file: read beside [Numbers] without changing how [Numbers] reads,
// broken values named by their key, and claimed marks that survive Save, Delete and the kept
// versions.
#include "StoreTestSupport.h"
#include "VersionsHome.h"
#include "store/TicketFile.h"
#include "store/Versions.h"
#include "store/WinsSection.h"

namespace {

using store_test::TempFolderTest;

constexpr const char* kTickets =
    "[Numbers]\r\nTOTAL=3\r\nW=00-00-00-00-00-00\r\n1=01-02-03-04-05-06\r\n"
    "2=07-08-09-10-11-12\r\n3=13-14-15-16-17-18\r\n";

struct SectionCase {
  const char* name;
  const char* section;  // appended to kTickets
  store::Day since;
  store::Day until;
  std::size_t claims;
  std::vector<std::string> problems;
};

class WinsSectionRead : public ::testing::TestWithParam<SectionCase> {};

TEST_P(WinsSectionRead, ReadsWhatItCanAndLeavesNumbersAlone) {
  const SectionCase& c = GetParam();
  const std::string bytes = std::string(kTickets) + c.section;
  const store::WinsSection section = store::ParseWinsSection(bytes);
  EXPECT_EQ(section.since, c.since);
  EXPECT_EQ(section.until, c.until);
  EXPECT_EQ(section.claims.size(), c.claims);
  EXPECT_EQ(section.problems, c.problems);
  const store::TicketList list = store::ParseTickets(bytes);
  EXPECT_EQ(list.tickets.size(), 3u);
  EXPECT_EQ(list.tickets[2], "13-14-15-16-17-18");
}

INSTANTIATE_TEST_SUITE_P(
    Table, WinsSectionRead,
    ::testing::Values(
        SectionCase{"None", "", 0, 0, 0, {}},
        SectionCase{"Whole",
                    "[Wins]\r\nSince=2025-09-06\r\nUntil=2026-02-18\r\n"
                    "Claim.3147.2=2026-03-01,2026-02-18,07-08-09-10-11-12\r\n"
                    "Claim.2026-01-03.1=2026-03-01,2026-01-03,01-02-03-04-05-06\r\n",
                    20250906,
                    20260218,
                    2,
                    {}},
        SectionCase{
            "CaseAndBlanks", "[wins]\r\n  since =  2025-09-06 \r\nOther=1\r\n", 20250906, 0, 0, {}},
        SectionCase{"BadDates",
                    "[Wins]\r\nSince=06/09/2025\r\nUntil=2026-02-30\r\n"
                    "Claim.3147.2=yesterday,2026-02-18,07-08-09-10-11-12\r\n",
                    0,
                    0,
                    0,
                    {"Wins/Since: \"06/09/2025\" is not a date (YYYY-MM-DD).",
                     "Wins/Until: \"2026-02-30\" is not a date (YYYY-MM-DD).",
                     "Wins/Claim.3147.2: \"yesterday\" does not hold a readable date "
                     "(YYYY-MM-DD)."}},
        SectionCase{
            "BrokenByAnotherProgram",
            "[Wins]\r\nClaim.x=1\r\nClaim.3147.2=2026-03-01\r\n\x01\xff garbage\r\n"
            "Since=2025-09-06\r\n[Numbers]\r\nTOTAL=99\r\n",
            20250906,
            0,
            0,
            {"Wins/Claim.x: the draw and ticket in the name cannot be read.",
             "Wins/Claim.3147.2: \"2026-03-01\" is not \"claimed date,draw date,ticket\"."}}),
    [](const auto& info) { return std::string(info.param.name); });

class WinsSectionWrite : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    home_.emplace(PathOf("data"));
    path_ = PathOf("t.pmd");
    WriteBytes(path_, kTickets);
  }
  void TearDown() override {
    home_.reset();
    TempFolderTest::TearDown();
  }
  store::ClaimMark Mark(int ticket, const std::string& text) const {
    return {
        store::ClaimMark::KeyFor(3147, 20260218, ticket), 3147, 20260218, ticket, text, 20260301};
  }

  std::optional<test_support::VersionsHome> home_;
  std::string path_;
};

TEST_F(WinsSectionWrite, DatesAndMarksGoInTheirOwnSection) {
  ASSERT_TRUE(store::SetPlayingDays(path_, 20250906, 0));
  ASSERT_TRUE(store::SetClaimed(path_, {Mark(2, "07-08-09-10-11-12")}, true));
  EXPECT_EQ(ReadBytes(path_), std::string(kTickets) +
                                  "[Wins]\r\nSince=2025-09-06\r\n"
                                  "Claim.3147.2=2026-03-01,2026-02-18,07-08-09-10-11-12\r\n");
  // Ticket 2 is another ticket now: its new win's mark never writes over the old one.
  ASSERT_TRUE(store::SetClaimed(path_, {Mark(2, "19-20-21-22-23-24")}, true));
  const store::WinsSection section = store::ParseWinsSection(ReadBytes(path_));
  ASSERT_EQ(section.claims.size(), 2u);
  EXPECT_EQ(section.claims[1].key, "Claim.3147.2~2");
  EXPECT_EQ(section.claims[1].ticket, 2);
  EXPECT_EQ(section.claims[1].ticketText, "19-20-21-22-23-24");
  EXPECT_EQ(store_test::ReasonOf(store::SetPlayingDays(path_, 20260301, 20260201)),
            "The last draw (2026-02-01) lies before the first (2026-03-01).");
  EXPECT_EQ(store_test::ReasonOf(store::ReadPlayingDay("Since", "2026-2-1")),
            "\"2026-2-1\" is not a date: write it as YYYY-MM-DD.");
  EXPECT_EQ(store_test::ReasonOf(store::SetPlayingDays(PathOf("missing.pmd"), 20250906, 0)),
            "The data file does not exist.");
  EXPECT_FALSE(std::filesystem::exists(PathOf("missing.pmd")));
}

TEST_F(WinsSectionWrite, MarksSurviveSaveDeleteAndTheKeptVersions) {
  ASSERT_TRUE(store::SetClaimed(path_, {Mark(3, "13-14-15-16-17-18")}, true));
  const std::string claimed = ReadBytes(path_);

  // Save of a longer list, then Delete of the first two tickets.
  const store::TicketTexts loaded{"01-02-03-04-05-06", "07-08-09-10-11-12", "13-14-15-16-17-18"};
  const store::TicketTexts longer{"01-02-03-04-05-06", "07-08-09-10-11-12", "13-14-15-16-17-18",
                                  "19-20-21-22-23-24"};
  ASSERT_TRUE(store::RewriteTicketsIfUnchanged(path_, loaded, longer));
  ASSERT_TRUE(store::RewriteTicketsIfUnchanged(path_, longer, longer, {1, 1, 0, 0}));
  store::WinsSection section = store::ParseWinsSection(ReadBytes(path_));
  ASSERT_EQ(section.claims.size(), 1u);
  EXPECT_EQ(section.claims[0].ticketText, "13-14-15-16-17-18");
  EXPECT_EQ(store::ParseTickets(ReadBytes(path_)).tickets[0], "13-14-15-16-17-18");

  // Taking the mark away keeps the file with it as a version, which brings it back.
  ASSERT_TRUE(store::SetClaimed(path_, {Mark(3, "13-14-15-16-17-18")}, false));
  EXPECT_TRUE(store::ParseWinsSection(ReadBytes(path_)).claims.empty());
  const store::Result<store::VersionList> versions = store::ListVersions(path_);
  ASSERT_TRUE(versions);
  ASSERT_FALSE(versions->versions.empty());
  EXPECT_EQ(store::ParseWinsSection(ReadBytes(versions->versions.front().file)).claims.size(), 1u)
      << "the Delete kept the file with its mark";
  ASSERT_TRUE(store::RestoreDataFile(path_, ReadBytes(versions->versions.back().file)));
  section = store::ParseWinsSection(ReadBytes(path_));
  ASSERT_EQ(section.claims.size(), 1u);
  EXPECT_EQ(section.claims[0].claimedOn, 20260301);
  EXPECT_NE(ReadBytes(path_), claimed);  // the list is the shorter one, the mark is back
}

}  // namespace
