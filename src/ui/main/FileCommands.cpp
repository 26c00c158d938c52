// File menu: New, Open, Save.
#include <QAction>
#include <QFileInfo>
#include <QLabel>

#include "app/ProblemReport.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "store/TicketFile.h"
#include "store/WriteJournal.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/PlayListModel.h"
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
    request.folder = QFileInfo(PathText(current)).absolutePath();
  return request;
}

}  // namespace

void frmNumberChecker::mnuNew_Click() {
  platform::FileDialogRequest request =
      DataFileDialog(platform::FileDialogKind::Save, "Create Data File", mSession.dataFile);
  request.confirmOverwrite = true;
  request.confirmCreate = true;
  const QString chosen = platform::FileDialog::Choose(this, request);
  if (chosen.isEmpty()) {
    Tell(this, QStringLiteral("Cancel:No File Created"), platform::MessageIcon::Information);
    return;
  }

  const std::string previous = mSession.dataFile;
  mSession.dataFile = PathBytes(chosen);
  const store::Result<void> started = store::StartDataFile(mSession.dataFile);
  mSession.notes.TellAfterCommand(this, started.notes());
  if (!started) {
    // The screen still shows the previous file: a later Save must write there.
    mSession.dataFile = previous;
    const store::Problem& problem = started.error();
    if (problem.kind == store::ProblemKind::Failed) {
      // The count was fine but the file could not be written: say where and why.
      ReportProblem(this, problem);
    } else {
      Tell(this,
           QStringLiteral("Error creating new file.") +
               QString::number(store::ErrorNumberOf(problem)),
           platform::MessageIcon::Warning);
    }
    return;
  }

  ShowWinningNumber(std::string(store::kEmptyPlayNumber));
  setWindowTitle(PathText(mSession.dataFile));
  ShortenCaption();
  mPlays->Clear();
  lbltotaltickets->setText(QStringLiteral("There are 0 total tickets."));
  ShowMatchHint();
  FollowDataFile();
}

void frmNumberChecker::mnuOpen_Click() {
  platform::FileDialogRequest request =
      DataFileDialog(platform::FileDialogKind::Open, "Open Data File", mSession.dataFile);
  request.mustExist = true;
  const QString chosen = platform::FileDialog::Choose(this, request);
  if (chosen.isEmpty()) {
    Tell(this, QStringLiteral("Cancel:No File Selected"), platform::MessageIcon::Information);
    return;
  }
  OpenDataFile(chosen);
}

bool frmNumberChecker::OpenDataFile(const QString& path) {
  const std::string previous = mSession.dataFile;
  mSession.dataFile = PathBytes(path);
  mSession.notes.TellAfterCommand(this, store::RepairUnfinishedWrite(mSession.dataFile).notes());
  store::TicketList list = store::ReadAllTickets(mSession.dataFile);
  if (!list.count) {
    // The screen still shows the previous file: a later Save must write there.
    mSession.dataFile = previous;
    Tell(this, QStringLiteral("Error loading file."), platform::MessageIcon::None);
    return false;
  }

  // Refilling the list is no click on it: "Delete Checked" keeps its state, as at start-up.
  SetPlayList(std::move(list.tickets));
  ShowWinningNumber(list.winning);
  setWindowTitle(PathText(mSession.dataFile));
  ShortenCaption();
  mnuViewAll_Click();
  ShowMatchHint();
  FollowDataFile();
  RemindOfWins(mSession.dataFile);
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
