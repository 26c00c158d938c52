// What the person sees when the disk refuses: the program keeps running, says which file could
// not be saved and why, and the file keeps what it held.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "FileSizeLimit.h"
#include "UiFixture.h"
#include "store/AtomicFile.h"
#include "ui/widgets/PlayListModel.h"

namespace {

using Tickets = std::vector<std::string>;

const char kA[] = "05-12-19-33-40-52";
const char kB[] = "01-09-14-27-38-44";
const char kC[] = "07-08-09-10-11-12";

std::string ThreeTickets() {
  return Lines({"[Numbers]", "TOTAL=3", "W=03-17-22-35-41-58", "1=05-12-19-33-40-52",
                "2=01-09-14-27-38-44", "3=07-08-09-10-11-12"});
}

// Makes a file refuse every change for as long as it lives: read-only for an ordinary user,
// immutable for root, whom permission bits do not stop.
class Unwritable {
 public:
  explicit Unwritable(const std::string& path) : path_(path) {
    if (::geteuid() != 0) {
      works_ = ::chmod(path.c_str(), 0444) == 0;
      reason_ = std::strerror(EACCES);
      return;
    }
    reason_ = std::strerror(EPERM);
    fd_ = ::open(path.c_str(), O_RDONLY);
    if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags_) != 0)
      return;
    int immutable = flags_ | FS_IMMUTABLE_FL;
    works_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &immutable) == 0;
  }
  ~Unwritable() {
    if (fd_ >= 0) {
      if (works_)
        ::ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
      ::close(fd_);
    } else {
      ::chmod(path_.c_str(), 0644);
    }
  }
  bool works() const { return works_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string path_;
  std::string reason_;
  int fd_ = -1;
  int flags_ = 0;
  bool works_ = false;
};

class FaultsTest : public UiTest {
 protected:
  // The one message shown must name the file and the reason.
  void ExpectSaveFailureMessage(const std::string& path, const std::string& reason) {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_TRUE(shown.text.contains(QString::fromStdString(path))) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QString::fromStdString(reason))) << shown.text.toStdString();
    EXPECT_EQ(shown.icon, platform::MessageIcon::Warning);
    EXPECT_EQ(shown.title, "VORDANIK Pelmora 2.0");
  }
};

TEST_F(FaultsTest, DataFileThatIsAFolderStartsEmptyAndSavingSaysWhy) {
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(DataFilePath())));
  WriteFile(DataFilePath() + "/inside", "kept");

  frmNumberChecker& form = StartProgram();
  EXPECT_EQ(Plays(form)->Count(), 0);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 0 total tickets");
  EXPECT_EQ(form.centralWidget()->height(), kBoxRowPixels);
  EXPECT_TRUE(desktop_.messages.shown.empty());

  Trigger(form, "mnuSave");
  ExpectSaveFailureMessage(DataFilePath(), std::strerror(EISDIR));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(DataFilePath())).isDir());
  EXPECT_EQ(ReadFile(DataFilePath() + "/inside"), "kept");
  EXPECT_TRUE(form.isVisible());
}

TEST_F(FaultsTest, OpeningOrCreatingOverAFolderKeepsTheCurrentFile) {
  WriteDataFile(ThreeTickets());
  frmNumberChecker& form = StartProgram();
  const std::string folder = PathIn("folder.pmd");
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));

  desktop_.files.answers = {QString::fromStdString(folder), QString::fromStdString(folder)};
  Trigger(form, "mnuOpen");
  Trigger(form, "mnuNew");
  ASSERT_EQ(desktop_.messages.shown.size(), 2u);
  EXPECT_EQ(desktop_.messages.shown[0].request.text, "Error loading file.");
  EXPECT_TRUE(desktop_.messages.shown[1].request.text.startsWith("Error creating new file."));
  EXPECT_EQ(CurrentFile(), DataFilePath());
  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kB, kC}));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(folder)).isDir());
  EXPECT_EQ(ReadDataFile(), ThreeTickets());
}

TEST_F(FaultsTest, FullDiskAtStartUpIsReportedAndTheWindowStillOpens) {
  std::optional<test_support::FileSizeLimit> full(std::in_place, 0);
  frmNumberChecker& form = StartProgram();
  full.reset();

  ExpectSaveFailureMessage(DataFilePath(), std::strerror(EFBIG));
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(DataFilePath())));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Plays(form)->Count(), 0);
  EXPECT_EQ(Named<QLabel>(form, "lbltotaltickets")->text(), "There are 0 total tickets");
}

TEST_F(FaultsTest, DeleteOnAnUnwritableFileSaysWhyAndKeepsTheFile) {
  WriteDataFile(ThreeTickets());
  frmNumberChecker& form = StartProgram();
  Unwritable locked(DataFilePath());
  if (!locked.works())
    GTEST_SKIP() << "cannot make the data file unwritable here";

  Mark(form, 1);
  Trigger(form, "mnuDeleteChecked");
  ExpectSaveFailureMessage(DataFilePath(), locked.reason());
  EXPECT_EQ(ReadDataFile(), ThreeTickets());
  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kC}));
}

TEST_F(FaultsTest, ProgramFolderAndDataFileWithBlanksAndNonAsciiLetters) {
  // The program's own folder first: the default file is created and used there.
  const std::string programFolder = PathIn("Mein Programm \xC3\xA4\xC3\xB6\xC3\xBC \xE6\x97\xA5");
  ASSERT_TRUE(std::filesystem::create_directory(programFolder));
  programFolder_ = programFolder;
  frmNumberChecker& form = StartProgram();
  const std::string defaultFile = programFolder + "/pelmora.pmd";
  EXPECT_EQ(CurrentFile(), defaultFile);
  EXPECT_EQ(ReadFile(defaultFile), Lines({"[Numbers]", "TOTAL=0", "W=00-00-00-00-00-00"}));

  // Then a data file of such a name, opened, shown in the caption and saved.
  const std::string chosen = programFolder + "/Zahlen f\xC3\xBCr 2024 \xC3\xA9t\xC3\xA9.pmd";
  WriteFile(chosen, ThreeTickets());
  desktop_.files.answers = {QString::fromStdString(chosen)};
  Trigger(form, "mnuOpen");
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_EQ(Plays(form)->Tickets(), (Tickets{kA, kB, kC}));
  EXPECT_TRUE(form.windowTitle().endsWith(
      QString::fromUtf8("/Zahlen f\xC3\xBCr 2024 \xC3\xA9t\xC3\xA9.pmd VORDANIK Pelmora 2.0")))
      << form.windowTitle().toStdString();

  Mark(form, 0);
  Trigger(form, "mnuDeleteChecked");
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_EQ(ReadFile(chosen), Lines({"[Numbers]", "TOTAL=2", "W=03-17-22-35-41-58",
                                     "1=01-09-14-27-38-44", "2=07-08-09-10-11-12"}));
}

}  // namespace
