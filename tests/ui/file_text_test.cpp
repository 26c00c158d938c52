// Text from the data file on the screen: bytes of the Windows code page, markup that must stay
// text, five-digit ticket numbers, and a winning number that was never set.
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <ostream>

#include "UiFixture.h"
#include "app/FileText.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/widgets/PlayListModel.h"

static void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

namespace {

struct FileTextCase {
  const char* name;
  std::string bytes;
  QString shown;
};

class FileTextTest : public ::testing::TestWithParam<FileTextCase> {};

TEST_P(FileTextTest, ShowsUtf8AsUtf8AndAnythingElseAsWindows1252) {
  EXPECT_EQ(modPelmora::FileText(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Text, FileTextTest,
    ::testing::Values(
        FileTextCase{"ascii", "05-12-19", QStringLiteral("05-12-19")},
        FileTextCase{"utf8", "caf\xC3\xA9 \xE2\x82\xAC", QStringLiteral(u"caf\u00e9 \u20ac")},
        FileTextCase{"windowsLetters", "caf\xE9 \x80", QStringLiteral(u"caf\u00e9 \u20ac")},
        // Once any byte is not UTF-8, every byte is a Windows character.
        FileTextCase{"mixed", "\xC3\xA9\xE9", QStringLiteral(u"\u00c3\u00a9\u00e9")},
        FileTextCase{"undefinedBytes", "\x81\x8D\x8F\x90\x9D",
                     QStringLiteral(u"\u0081\u008d\u008f\u0090\u009d")},
        FileTextCase{"nulKept", std::string("a\0b", 3),
                     QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b")}),
    [](const auto& info) { return std::string(info.param.name); });

class FileTextWindowTest : public UiTest {};

TEST_F(FileTextWindowTest, WindowsBytesShowAsTheirLettersEverywhereAndStayInTheFile) {
  const std::string bytes = Lines(
      {"[Numbers]", "TOTAL=2", "W=05-12-23-34-45-56", "1=05-12-23-34-45-56 caf\xE9", "2=01-02"});
  WriteDataFile(bytes);
  frmNumberChecker& form = StartProgram();
  const QString ticket = QStringLiteral(u"05-12-23-34-45-56 caf\u00e9");
  EXPECT_EQ(Plays(form)->data(Plays(form)->index(0), Qt::DisplayRole).toString(), ticket);

  Trigger(form, "mnuCpyPlays");
  EXPECT_EQ(desktop_.clipboard.text, QStringLiteral("\r\n") + ticket + QStringLiteral("\r\n01-02"));

  Trigger(form, "mnuCheck");
  EXPECT_EQ(ResultsText(form), QStringLiteral("Matched: (6) in:") + ticket + "\r\n");
  Trigger(form, "mnuCopy");
  EXPECT_EQ(desktop_.clipboard.text, QStringLiteral("Matched: (6) in:") + ticket + "\r\n");
  EXPECT_EQ(ReadDataFile(), bytes);
}

TEST_F(FileTextWindowTest, CountFromTheFileIsShownAsPlainText) {
  WriteDataFile(
      Lines({"[Numbers]", "TOTAL=<font color=red size=6>7</font>", "W=00-00-00-00-00-00"}));
  frmNumberChecker& form = StartProgram();
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->textFormat(), Qt::PlainText);
  Trigger(form, "mnuAddPlay");
  frmNumberEntry* entry = OpenWindow<frmNumberEntry>();
  ASSERT_NE(entry, nullptr);
  for (QLabel* label : entry->findChildren<QLabel*>())
    EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
  EXPECT_EQ(Named<QLabel>(*entry, "lbltotaltickets")->text(), "<font color=red size=6>7</font>");
  Named<QPushButton>(*entry, "cmdDone")->click();
}

TEST_F(FileTextWindowTest, FiveDigitTicketNumberIsShownWhole) {
  WriteDataFile(Lines({"[Numbers]", "TOTAL=32766", "W=00-00-00-00-00-00"}));
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuAddPlay");
  frmNumberEntry* entry = OpenWindow<frmNumberEntry>();
  ASSERT_NE(entry, nullptr);
  QLabel* number = Named<QLabel>(*entry, "lblticketnumber");
  EXPECT_EQ(number->text(), "32767");
  EXPECT_LE(QFontMetrics(number->font()).horizontalAdvance(number->text()),
            number->contentsRect().width());
  Named<QPushButton>(*entry, "cmdDone")->click();
}

TEST_F(FileTextWindowTest, WinningNumberNeverSetIsRefusedByDoneAndByTheCheck) {
  const std::string bytes = Lines({"[Numbers]", "TOTAL=1", "1=05-12-23-34-45-56"});
  WriteDataFile(bytes);
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuWinning");
  frmNumberEntry* entry = OpenWindow<frmNumberEntry>();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(Named<QLabel>(*entry, "Label1")->text(), "00-00-00-00-00-00");
  Named<QPushButton>(*entry, "cmdDone")->click();
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text, "00-00-00-00-00-00 Can't contain 00");
  EXPECT_EQ(ReadDataFile(), bytes);
  Named<QPushButton>(*entry, "cmdCancel")->click();

  desktop_.messages.shown.clear();
  Trigger(form, "mnuCheck");
  ASSERT_FALSE(desktop_.messages.shown.empty());
  EXPECT_EQ(desktop_.messages.shown[0].request.text,
            "Error in winning number position: 1.  Reason:  is not valid as a possible winning "
            "number.");
  EXPECT_EQ(ReadDataFile(), bytes);
  if (OpenWindow<frmNumberEntry>())
    Named<QPushButton>(*OpenWindow<frmNumberEntry>(), "cmdCancel")->click();
}

// Save with a count that cannot be read would write TOTAL=0 and leave the tickets outside the
// count, for the next Save/Next to overwrite.
TEST_F(FileTextWindowTest, SaveRefusesAFileWhoseCountCannotBeRead) {
  const std::string bytes = Lines({"[Numbers]", "TOTAL=abc", "W=00-00-00-00-00-00",
                                   "1=01-02-03-04-05-06", "2=07-08-09-10-11-12"});
  WriteDataFile(bytes);
  frmNumberChecker& form = StartProgram();
  Trigger(form, "mnuSave");
  ASSERT_EQ(desktop_.messages.shown.size(), 1u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text,
            QStringLiteral("The data file could not be saved.\n\nFile: ") +
                QString::fromStdString(DataFilePath()) +
                QStringLiteral("\nReason: The ticket count (TOTAL) \"abc\" is not a number, so "
                               "the play numbers it counts are not known."));
  EXPECT_EQ(ReadDataFile(), bytes);
}

}  // namespace
