#include <QApplication>
#include <QListView>

#include "app/modPelmora.h"
#include "exe/FirstPaintProbe.h"
#include "platform/QtPlatform.h"
#include "ui/main/frmNumberChecker.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pelmora"));
  QApplication::setDesktopFileName(QStringLiteral("pelmora"));

  platform::QtPlatform desktop;
  platform::Install(&desktop);

  frmNumberChecker mainForm;
  QApplication::setWindowIcon(mainForm.windowIcon());
  mainForm.Form_Load();
  // Only the copy that kept running answers a later copy's request to come to the front.
  desktop.SetActivationHandler([&mainForm] { mainForm.RaiseFromOtherInstance(); });
  // With no tickets the window shows no list: its first paint is the window's.
  FirstPaintProbe::InstallIfAsked(
      mainForm.lstNumbers->isHidden() ? mainForm.centralWidget() : mainForm.lstNumbers->viewport());
  mainForm.show();
  return app.exec();
}
