#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "Named.h"
#include "app/DataFileLocation.h"
#include "app/modPelmora.h"
#include "platform/doubles/ScopedClipboard.h"
#include "platform/doubles/ScopedFileDialog.h"
#include "platform/doubles/ScopedHelp.h"
#include "platform/doubles/ScopedLauncher.h"
#include "platform/doubles/ScopedMessages.h"
#include "platform/doubles/ScopedPreviousInstance.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/other/frmAbout.h"
#include "ui/other/frmAllNumbers.h"
#include "ui/widgets/Twips.h"

// Every desktop facility a window may use, answered and recorded for the length of one test.
struct DesktopDoubles {
  platform::ScopedMessages messages;
  platform::ScopedFileDialog files;
  platform::ScopedClipboard clipboard;
  platform::ScopedHelp help;
  platform::ScopedLauncher launcher;
  platform::ScopedPreviousInstance instance;
};

// Shared set-up for window tests: a program folder of its own, the desktop's stand-ins, and a
// main window that has not run its start-up yet (so a test can lay out the data file first).
class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the default data file in the program folder with exactly these bytes.
  void WriteDataFile(const std::string& bytes);
  std::string ReadDataFile() const;
  std::string DataFilePath() const;
  std::string PathIn(const std::string& name) const;
  static void WriteFile(const std::string& path, const std::string& bytes);
  static std::string ReadFile(const std::string& path);

  // Creates the main window and runs its start-up, with a file named on the command line if any.
  frmNumberChecker& StartProgram(const QString& fileFromOutside = QString());
  // The data file the program works on now.
  const std::string& CurrentFile() const { return main_->controller().session().dataFile; }
  // Another program writes these tickets to the current data file, and the window follows it.
  void ReplaceTickets(const std::vector<std::string>& tickets);
  // Processes pending events (deferred deletes included) without waiting.
  static void Flush();

  QTemporaryDir folder_;
  std::string programFolder_;  // where the program is, for its default data file and help
  DesktopDoubles desktop_;
  std::unique_ptr<frmNumberChecker> main_;
};

// The main window's client height in pixels: the row of winning-number boxes only, and down to
// the count line.
inline const int kBoxRowPixels = TwipsToPixels(690);
inline const int kStandardPixels = TwipsToPixels(2640 + 375);

// The main window's results box: its text as Copy takes it (lines ended CR LF), and text typed
// into it.
QString ResultsText(const QWidget& main);
void TypeResults(const QWidget& main, const QString& text);

// A data file's text from its lines, each ended by CR LF.
std::string Lines(std::initializer_list<const char*> lines);

// A data file holding `tickets` in order under the winning number `winning`, lines ended by CR LF.
std::string TicketFileText(const std::vector<std::string>& tickets,
                           const std::string& winning = "03-17-22-35-41-58");
