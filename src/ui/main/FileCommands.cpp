// File menu: New, Open, Save.
#include <QAction>
#include <QFileInfo>
#include <QLabel>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/wins/WinsReminder.h"

using namespace modPelmora;

namespace {

platform::FileDialogRequest DataFileDialog(platform::FileDialogKind kind, const char* purpose,
                                           const std::string& current) {
  platform::FileDialogRequest request;
  request.kind = kind;
  // The dialog names the product even when message boxes carry another application title.
  request.title = QString::fromLatin1(kProductName) + QLatin1Char(' ') + QLatin1String(purpose);
  request.filter = {QStringLiteral("Pelmora Files (*.PMD)"), QStringLiteral("*.PMD"),
                    QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")};
  request.filterIndex = 1;
  // Start beside the current data file: an installed copy keeps it in a hidden folder that the
  // person would not find from the working folder.
  if (!current.empty())
    request.folder = QFileInfo(FileText(current)).absolutePath();
  return request;
}

}  // namespace

void frmNumberChecker::mnuNew_Click() {
  platform::FileDialogRequest request =
      DataFileDialog(platform::FileDialogKind::Save, "Create Data File", data_->session().dataFile);
  request.confirmOverwrite = true;
  request.confirmCreate = true;
  const QString chosen = platform::FileDialog::Choose(this, request);
  if (chosen.isEmpty()) {
    Tell(this, QStringLiteral("Cancel:No File Created"), platform::MessageIcon::Information);
    return;
  }
  // On failure the screen still shows the previous file, and a later Save writes there.
  if (!data_->New(chosen))
    return;
  lbltotaltickets->setText(QStringLiteral("There are 0 total tickets."));
  ShowMatchHint();
}

void frmNumberChecker::mnuOpen_Click() {
  platform::FileDialogRequest request =
      DataFileDialog(platform::FileDialogKind::Open, "Open Data File", data_->session().dataFile);
  request.mustExist = true;
  const QString chosen = platform::FileDialog::Choose(this, request);
  if (chosen.isEmpty()) {
    Tell(this, QStringLiteral("Cancel:No File Selected"), platform::MessageIcon::Information);
    return;
  }
  OpenDataFile(chosen);
}

void frmNumberChecker::OpenDataFile(const QString& path) {
  // On failure the screen still shows the previous file, and a later Save writes there.
  if (!data_->Open(path))
    return;
  mnuViewAll_Click();
  ShowMatchHint();
  RemindOfWins(data_->session().dataFile);
}

void frmNumberChecker::mnuSave_Click() {
  const DataFileController::ListWrite written = data_->Save();
  // After a failed write the file still holds what it held, and Save stays available to try
  // again.
  mnuSave->setEnabled(written == DataFileController::ListWrite::Failed);
  lstNumbers_Click();
}
