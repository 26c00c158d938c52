#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/modPelmora.h"
#include "exe/FontWarmUp.h"
#include "platform/Display.h"
#include "platform/SessionInstance.h"
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
  // freed; left to itself the allocator keeps them and raises this bound. Peak memory after F5
  // with all 32,767 tickets matched and Ctrl+C: 48.2 MiB without this, 44.8 MiB with it (goal
  // 48 MiB).
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

  // A running copy may have another working folder: hand it a full path, byte for byte. The
  // window gets the bytes too, whether they are UTF-8 or not: another spelling would open
  // another file.
  std::string fileBytes = line.file;
  std::error_code noFolder;  // the working folder is gone: the name goes as given
  if (const std::filesystem::path full = std::filesystem::absolute(line.file, noFolder);
      !line.file.empty() && !noFolder)
    fileBytes = full.lexically_normal().string();
  const QString file = modPelmora::PathHandle(fileBytes);

  // One copy runs per desktop session: this guard finds an earlier one, or answers the later ones.
  platform::SessionInstance instance;

  fonts.Wait();
  frmNumberChecker mainForm;
  QApplication::setWindowIcon(mainForm.windowIcon());
  if (platform::PreviousInstance::Exists() &&
      modPelmora::CheckPrevInstance(fileBytes) == modPelmora::StartVerdict::End)
    return 0;
  mainForm.Form_Load(file);
  mainForm.show();
  // Only the copy that kept running answers later copies: it comes to the front and opens the
  // file they were started with.
  instance.SetActivationHandler([&mainForm](const QByteArray& handed) {
    mainForm.OpenFromOutside(modPelmora::PathHandle(handed.toStdString()));
  });
  return app.exec();
}
