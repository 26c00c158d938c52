#include <malloc.h>
#include <QApplication>
#include <QFile>
#include <QListView>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/DataFileLocation.h"
#include "app/modPelmora.h"
#include "exe/AfterFirstPaint.h"
#include "exe/FirstPaintProbe.h"
#include "exe/FontWarmUp.h"
#include "exe/StartupStyle.h"
#include "platform/Display.h"
#include "platform/SessionInstance.h"
#include "store/ReadAhead.h"
#include "ui/main/frmNumberChecker.h"

int main(int argc, char** argv) {
  const modPelmora::CommandLine line =
      modPelmora::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.action) {
    case modPelmora::CommandLine::Action::Help:
      std::fputs(modPelmora::UsageText().c_str(), stdout);
      return 0;
    case modPelmora::CommandLine::Action::Version:
      std::fputs(modPelmora::VersionText().c_str(), stdout);
      return 0;
    case modPelmora::CommandLine::Action::Error:
      std::fputs(line.error.c_str(), stderr);
      return modPelmora::kUsageExitCode;
    case modPelmora::CommandLine::Action::Run:
      break;
  }

  FontWarmUp fonts;
  // Large blocks (a check's results, their copy for the clipboard) go back to the system when
  // freed. Left to itself the allocator raises this bound as such blocks are freed, keeps them
  // afterwards, and a check of every ticket followed by a copy peaks megabytes higher.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);

  platform::NeverStartASessionBus();
  // The toolkit sees no argument of ours, so a data file name is never taken for one of its
  // options.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  platform::LookForDisplay();
  QApplication app(qtArgc, qtArgv);
  platform::DisplayFound();
  QApplication::setApplicationName(QStringLiteral("pelmora"));
  QApplication::setDesktopFileName(QStringLiteral("pelmora"));
  QApplication::setStyle(new StartupStyle);

  // A running copy may have another working folder: hand it a full path, byte for byte.
  std::string fileBytes = line.file;
  std::error_code noFolder;  // the working folder is gone: the name goes as given
  if (const std::filesystem::path full = std::filesystem::absolute(line.file, noFolder);
      !line.file.empty() && !noFolder)
    fileBytes = full.lexically_normal().string();
  const QString file = QFile::decodeName(QByteArray::fromStdString(fileBytes));

  // One copy runs per desktop session: this guard finds an earlier one, or answers the later ones.
  platform::SessionInstance instance;

  // The data file is read while the font configuration is still being read on the other thread;
  // the window takes the tickets if they are of the file it opens, unchanged since.
  store::TicketsReadAhead early;
  early.Read(file.isEmpty() ? modPelmora::ChooseDefaultDataFile().path
                            : modPelmora::PathBytes(file));

  fonts.Wait();
  frmNumberChecker mainForm;
  const QIcon icon = mainForm.windowIcon();
  QApplication::setWindowIcon(icon);
  if (platform::PreviousInstance::Exists() &&
      modPelmora::CheckPrevInstance(fileBytes) == modPelmora::StartVerdict::End)
    return 0;
  mainForm.Form_Load(file, std::move(early));
  // The window is handed its icon once its first paint is on the screen: decoding the pictures
  // and sending every size to the desktop would otherwise come before that paint. The window's
  // native window takes the application's icon as it is made, so both are put aside until then;
  // messages shown while loading carried the icon as usual.
  mainForm.setWindowIcon(QIcon());
  QApplication::setWindowIcon(QIcon());
  // With no tickets the window shows no list: its first paint is the window's.
  const auto* playList = mainForm.findChild<QListView*>(QStringLiteral("lstNumbers"));
  AfterFirstPaint::Install(playList->isHidden() ? mainForm.centralWidget() : playList->viewport(),
                           [&mainForm, icon] {
                             FirstPaintProbe::ReportIfAsked();
                             mainForm.setWindowIcon(icon);
                             QApplication::setWindowIcon(icon);
                           });
  mainForm.show();
  // Only the copy that kept running answers later copies: it comes to the front and opens the
  // file they were started with.
  instance.SetActivationHandler([&mainForm](const QByteArray& handed) {
    mainForm.OpenFromOutside(QFile::decodeName(handed));
  });
  return app.exec();
}
