// Data files this program never wrote: noise, NUL bytes, a huge line, a huge section and odd
// counts. Start-up, File > Open and Save/Next must finish at once, list what the count allows,
// refuse what it does not, and leave the file byte for byte as it was unless a ticket is saved.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <optional>
#include <ostream>
#include <random>

#include "UiFixture.h"
#include "store/Profile.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using namespace std::string_literals;
using Tickets = std::vector<std::string>;

const char kWinning[] = "03-17-22-35-41-58";
const char kNew[] = "11-12-13-14-15-16";  // what the entry tests pick and save

std::string Noise(const std::string&) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(8192, '\0');
  for (char& c : bytes)
    c = static_cast<char>(byte(random));
  return bytes;
}

// A NUL is an ordinary byte of a name or value: a name that holds one matches no name the
// program uses, even where the part before the NUL would ("Numbers", "TOTAL", "1").
std::string WithNuls(const std::string& count) {
  return "[Numbers\0old]\r\nTOTAL=9\r\n1=59-58-57-56-55-54\r\n"
         "[Numbers]\r\nTOTAL\0x=7\r\nTOTAL="s +
         count + "\r\nW=03-17-22-35-41-58\r\n1\0=59-58-57-56-55-54\r\n"s +
         "1=05-12-19\0-33-40-52\r\n2=01-09-14-27-38-44\0\r\n"s;
}
std::string NulTicket(int key) {
  return key == 1 ? "05-12-19\0-33-40-52"s : key == 2 ? "01-09-14-27-38-44\0"s : "";
}

std::string LongValue() {
  std::string value;
  value.reserve(10 << 20);
  while (value.size() < (10u << 20))
    value += "0123456789";
  return value;
}
std::string OneLongLine(const std::string& count) {
  return "[Numbers]\r\nTOTAL=" + count + "\r\nW=03-17-22-35-41-58\r\n1=" + LongValue() +
         "\r\n2=01-09-14-27-38-44\r\n";
}
std::string LongTicket(int key) {
  return key == 1 ? LongValue().substr(0, 126) : key == 2 ? "01-09-14-27-38-44" : "";
}

// Keys above the largest count are never read; written last to first, so key order is not
// file order.
std::string ManyKeys(const std::string& count) {
  std::string bytes = "[Numbers]\r\nTOTAL=" + count + "\r\nW=03-17-22-35-41-58\r\n";
  for (int k = 200000; k >= 1; --k)
    bytes += std::to_string(k) + "=T" + std::to_string(k) + "\r\n";
  return bytes;
}
std::string NumberedTicket(int key) {
  return "T" + std::to_string(key);
}

std::string TwoTickets(const std::string& count) {
  return Lines({"[Numbers]", ("TOTAL=" + count).c_str(), "W=03-17-22-35-41-58",
                "1=05-12-19-33-40-52", "2=01-09-14-27-38-44"});
}
std::string TwoTicket(int key) {
  return key == 1 ? "05-12-19-33-40-52" : key == 2 ? "01-09-14-27-38-44" : "";
}

struct BadFile {
  const char* name;
  std::string (*bytes)(const std::string& count);  // the file with this TOTAL text
  const char* count;
  std::optional<int> converted;    // TOTAL as a number; none when it cannot be converted
  int code;                        // the conversion's failure code, 0 when it converts
  std::string (*ticket)(int key);  // what reading ticket key k gives
  const char* refusal;             // why Save/Next refuses the file; null when it saves
  bool hasWinning = true;

  std::string Bytes() const { return bytes(count); }
  Tickets Listed() const {
    Tickets listed;
    for (int k = 1; converted && k <= *converted; ++k)
      listed.push_back(ticket(k));
    return listed;
  }
};

void PrintTo(const BadFile& file, std::ostream* out) {
  *out << file.name;
}

const char kMissing[] =
    "The ticket count (TOTAL) is missing, so the number of the next ticket is not known.";

const BadFile kFiles[] = {
    {"Noise", Noise, "", std::nullopt, 13, TwoTicket, kMissing, false},
    {"NulBytes", WithNuls, "2", 2, 0, NulTicket, nullptr},
    {"TenMegabyteLine", OneLongLine, "2", 2, 0, LongTicket, nullptr},
    {"ManyKeys", ManyKeys, "32767", 32767, 0, NumberedTicket,
     "The file already holds 32767 play numbers, the most a data file can hold."},
    {"MinusOne", TwoTickets, "-1", -1, 0, TwoTicket,
     "The ticket count (TOTAL) -1 is outside 0 to 32767."},
    {"Exponent", TwoTickets, "1e3", 1000, 0, TwoTicket, nullptr},
    {"Blanks", TwoTickets, " 12 ", 12, 0, TwoTicket, nullptr},
    {"Overflow", TwoTickets, "99999", std::nullopt, 6, TwoTicket,
     "The ticket count (TOTAL) 99999 is outside 0 to 32767."},
    {"Hex", TwoTickets, "&H10", 16, 0, TwoTicket, nullptr},
};

class BadInputTest : public UiTest, public ::testing::WithParamInterface<BadFile> {
 protected:
  void ExpectListed(const Tickets& tickets) {
    EXPECT_EQ(Plays(*main_)->Tickets(), tickets);
    EXPECT_EQ(Named<QLabel>(*main_, "lbltotaltickets")->text(),
              QString("There are %1 total tickets").arg(tickets.size()));
  }
  void ExpectWinningBoxes(bool hasWinning) {
    const QStringList fields = QString(kWinning).split('-');
    for (int k = 1; k <= 6; ++k)
      EXPECT_EQ(WinningBox(*main_, k)->text(), hasWinning ? fields[k - 1] : QString()) << k;
  }
};

TEST_P(BadInputTest, StartUpListsWhatTheCountAllowsSilentlyAndKeepsTheFile) {
  const BadFile& file = GetParam();
  const std::string bytes = file.Bytes();
  WriteDataFile(bytes);
  frmNumberChecker& form = StartProgram();

  const Tickets listed = file.Listed();
  ExpectListed(listed);
  // Without tickets only the row of boxes shows; with them the list, down to the count line.
  EXPECT_EQ(form.centralWidget()->height(), listed.empty() ? kBoxRowPixels : kStandardPixels);
  EXPECT_EQ(Named<QListView>(form, "lstNumbers")->isVisible(), !listed.empty());
  ExpectWinningBoxes(file.hasWinning);
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_TRUE(ReadDataFile() == bytes) << "start-up must never rewrite a data file";
}

TEST_P(BadInputTest, OpenListsTheFileOrKeepsThePreviousOneAndNewResetsItOrSaysWhy) {
  const BadFile& file = GetParam();
  WriteDataFile(Lines({"[Numbers]", "TOTAL=1", "W=00-00-00-00-00-00", "1=07-08-09-10-11-12"}));
  frmNumberChecker& form = StartProgram();
  const std::string path = PathIn("bad.pmd");
  const std::string bytes = file.Bytes();
  WriteFile(path, bytes);

  desktop_.files.answers = {QString::fromStdString(path), QString::fromStdString(path)};
  Trigger(form, "mnuOpen");
  if (file.converted) {
    EXPECT_TRUE(desktop_.messages.shown.empty());
    ExpectListed(file.Listed());
    EXPECT_TRUE(Named<QListView>(form, "lstNumbers")->isVisible());
    EXPECT_FALSE(Named<QPlainTextEdit>(form, "txtMatchedTickets")->isVisible());
    ExpectWinningBoxes(file.hasWinning);
    EXPECT_EQ(CurrentFile(), path);
  } else {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    EXPECT_EQ(desktop_.messages.shown[0].request.text, "Error loading file.");
    EXPECT_EQ(desktop_.messages.shown[0].request.icon, platform::MessageIcon::None);
    ExpectListed({"07-08-09-10-11-12"});
  }
  EXPECT_TRUE(ReadFile(path) == bytes);

  // New over the same file deletes the tickets up to the count, or names the count's failure
  // and leaves the file alone.
  desktop_.messages.shown.clear();
  Trigger(form, "mnuNew");
  if (file.converted) {
    EXPECT_TRUE(desktop_.messages.shown.empty());
    EXPECT_EQ(Plays(form)->Count(), 0);
    EXPECT_EQ(store::ReadProfileValue("Numbers", "TOTAL", path), "0");
    EXPECT_EQ(store::ReadProfileValue("Numbers", "1", path),
              *file.converted < 1 ? file.ticket(1) : "");
  } else {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    EXPECT_EQ(desktop_.messages.shown[0].request.text,
              QString("Error creating new file.%1").arg(file.code));
    EXPECT_EQ(desktop_.messages.shown[0].request.icon, platform::MessageIcon::Warning);
    EXPECT_TRUE(ReadFile(path) == bytes);
  }
}

TEST_P(BadInputTest, SaveNextWritesAfterTheCountOrRefusesAndWritesNothing) {
  const BadFile& file = GetParam();
  const std::string bytes = file.Bytes();
  WriteDataFile(bytes);
  StartProgram();
  Trigger(*main_, "mnuAddPlay");
  frmNumberEntry& dialog = *OpenWindow<frmNumberEntry>();
  for (int n : {11, 12, 13, 14, 15, 16})
    NumberBox(dialog, n)->click();
  dialog.cmdNext_Click();

  if (file.refusal) {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    EXPECT_EQ(desktop_.messages.shown[0].request.text,
              QString("The play number was not saved.\n\nFile: %1\nReason: %2")
                  .arg(QString::fromStdString(DataFilePath()), file.refusal));
    EXPECT_TRUE(ReadDataFile() == bytes);
    EXPECT_EQ(Named<QLabel>(dialog, "Label1")->text(), kNew) << "the picks stay for another try";
  } else {
    // Only the count line changes and the ticket joins the end of the section; every other
    // byte, NULs and the long line included, stays.
    EXPECT_TRUE(desktop_.messages.shown.empty());
    const std::string next = std::to_string(*file.converted + 1);
    EXPECT_TRUE(ReadDataFile() == file.bytes(next) + next + "=" + kNew + "\r\n");
  }
}

INSTANTIATE_TEST_SUITE_P(BadInput, BadInputTest, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
