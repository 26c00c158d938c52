#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "app/DataFileLocation.h"
#include "app/modPelmora.h"
#include "platform/doubles/ScopedClipboard.h"
#include "platform/doubles/ScopedFileDialog.h"
#include "platform/doubles/ScopedHelp.h"
#include "platform/doubles/ScopedLauncher.h"
#include "platform/doubles/ScopedMessages.h"
#include "platform/doubles/ScopedPreviousInstance.h"
#include "platform/doubles/ScopedRegistry.h"
#include "ui/Forms.h"
#include "ui/main/frmNumberChecker.h"

// Every desktop facility a window may use, answered and recorded for the length of one test.
struct DesktopDoubles {
  platform::ScopedMessages messages;
  platform::ScopedFileDialog files;
  platform::ScopedClipboard clipboard;
  platform::ScopedHelp help;
  platform::ScopedRegistry registry;
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
  // Processes pending events (deferred deletes included) without waiting.
  static void Flush();

  QTemporaryDir folder_;
  DesktopDoubles desktop_;
  std::unique_ptr<frmNumberChecker> main_;
};

// A data file's text from its lines, each ended by CR LF.
std::string Lines(std::initializer_list<const char*> lines);

// A data file holding `tickets` in order under the winning number `winning`, lines ended by CR LF.
std::string TicketFileText(const std::vector<std::string>& tickets,
                           const std::string& winning = "03-17-22-35-41-58");
