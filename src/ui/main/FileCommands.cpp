// File menu: New, Open, Save.
#include <QAction>
#include <QFileInfo>
#include <QLabel>

#include "app/DataFileLocation.h"
#include "app/VersionWarning.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "store/TicketFile.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

namespace {

platform::FileDialogRequest DataFileDialog(platform::FileDialogKind kind, const char* purpose) {
  platform::FileDialogRequest request;
  request.kind = kind;
  // The dialog names the product even when message boxes carry another application title.
  request.title = QString::fromLatin1(kProductName) + QLatin1Char(' ') + QLatin1String(purpose);
  request.filter = {QStringLiteral("Pelmora Files (*.PMD)"), QStringLiteral("*.PMD"),
                    QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")};
  request.filterIndex = 1;
  // Start beside the current data file: an installed copy keeps it in a hidden folder that the
  // person would not find from the working folder.
  if (!gDataFile.empty())
    request.folder = QFileInfo(PathText(gDataFile)).absolutePath();
  return request;
}

void Tell(QWidget* parent, const QString& text, platform::MessageIcon icon) {
  platform::Messages::Show(parent, {text, AppTitle(), icon, platform::MessageButtons::Ok});
}

// Points the shared file names at `path` again. Used when New or Open fails: the screen still
// shows the previous file, so a later Save must write there and not into the chosen file.
void ReturnTo(const std::string& path) {
  gDataFile = path;
  gProfileFile = path;
}

}  // namespace

void frmNumberChecker::mnuNew_Click() {
  platform::FileDialogRequest request =
      DataFileDialog(platform::FileDialogKind::Save, "Create Data File");
  request.confirmOverwrite = true;
  request.confirmCreate = true;
  const QString chosen = platform::FileDialog::Choose(this, request);
  if (chosen.isEmpty()) {
    Tell(this, QStringLiteral("Cancel:No File Created"), platform::MessageIcon::Information);
    return;
  }

  const std::string previous = gDataFile;
  gDataFile = PathBytes(chosen);
  gProfileFile = gDataFile;
  const store::StartResult started = store::StartDataFile(gProfileFile);
  TellVersionWarningAfterCommand(this);
  if (started.errorCode != 0) {
    ReturnTo(previous);
    Tell(this, QStringLiteral("Error creating new file.") + QString::number(started.errorCode),
         platform::MessageIcon::Warning);
    return;
  }
  if (!started.write.ok) {
    // The count was fine but the file could not be written: say where and why.
    ReturnTo(previous);
    ReportWriteFailure(this, started.write);
    return;
  }

  for (int k = 1; k <= 6; ++k)
    SetWinningBox(k, QStringLiteral("00"));
  setWindowTitle(PathText(gDataFile));
  ShortenCaption();
  mPlays->Clear();
  lbltotaltickets->setText(QStringLiteral("There are 0 total tickets."));
  ShowMatchHint();
  FollowDataFile();
}

void frmNumberChecker::mnuOpen_Click() {
  platform::FileDialogRequest request =
      DataFileDialog(platform::FileDialogKind::Open, "Open Data File");
  request.mustExist = true;
  const QString chosen = platform::FileDialog::Choose(this, request);
  if (chosen.isEmpty()) {
    Tell(this, QStringLiteral("Cancel:No File Selected"), platform::MessageIcon::Information);
    return;
  }
  OpenDataFile(chosen);
}

bool frmNumberChecker::OpenDataFile(const QString& path) {
  const std::string previous = gDataFile;
  gDataFile = PathBytes(path);
  gProfileFile = gDataFile;
  store::TicketList list = store::ReadAllTickets(gProfileFile);
  if (!list.count.ok) {
    ReturnTo(previous);
    Tell(this, QStringLiteral("Error loading file."), platform::MessageIcon::None);
    return false;
  }

  // Refilling the list is no click on it: "Delete Checked" keeps its state, as at start-up.
  SetPlayList(std::move(list.tickets));
  LoadWinningNumber();
  setWindowTitle(PathText(gDataFile));
  ShortenCaption();
  mnuViewAll_Click();
  ShowMatchHint();
  FollowDataFile();
  return true;
}

void frmNumberChecker::mnuSave_Click() {
  const ListWrite written = WriteList(mPlays->Tickets());
  if (written == ListWrite::Saved) {
    mPlays->MarkWritten();
    mPlays->SetAllChecked(false);
  }
  // After a failed write the file still holds what it held; the list stays as the person left
  // it, marks included, and Save stays available to try again.
  mnuSave->setEnabled(written == ListWrite::Failed);
  lstNumbers_Click();
}
