// The play list against the data file: the list is written back only over the tickets it was
// loaded from, and it follows changes that other programs make to the file.

#include "app/ProblemReport.h"
#include "platform/Messages.h"
#include "store/PlayNumber.h"
#include "store/TicketFile.h"
#include "ui/main/DataFileWatch.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/PlayListModel.h"

using namespace modPelmora;

namespace {

const char kChangedByAnotherProgram[] =
    "The data file was changed by another program. Nothing was deleted; the list now shows the "
    "file as it is. Please repeat the command.";

}  // namespace

frmNumberChecker::ListWrite frmNumberChecker::WriteList(const store::TicketTexts& tickets,
                                                        const std::vector<std::uint8_t>& leaveOut) {
  const store::Result<void> written =
      store::RewriteTicketsIfUnchanged(mSession.dataFile, mPlays->Loaded(), tickets, leaveOut);
  // Save, Delete and Add's Yes all write here; a version that could not be kept is told after.
  mSession.notes.TellAfterCommand(this, written.notes());
  if (written)
    return ListWrite::Saved;
  if (written.error().kind == store::ProblemKind::FileChanged) {
    // Writing the list now would delete what the other program added: show the file instead
    // and let the person decide again.
    ReloadFromFile();
    Tell(this, QString::fromLatin1(kChangedByAnotherProgram), platform::MessageIcon::Information);
    return ListWrite::FileChanged;
  }
  ReportProblem(this, written.error());
  return ListWrite::Failed;
}

void frmNumberChecker::ReloadFromFile() {
  store::TicketList list = store::ReadAllTickets(mSession.dataFile);
  // The program's own writes leave the file as the list and boxes already show it.
  if (list.tickets != mPlays->Loaded()) {
    mPlays->ReloadKeepingMarks(std::move(list.tickets));
    UpdateCountLine();
    lstNumbers_Click();
  }
  if (ShownFields(list.winning) != mSession.winning)
    ShowWinningNumber(list.winning);
}

void frmNumberChecker::FollowDataFile() {
  if (!mFileWatch)
    mFileWatch = new DataFileWatch([this] { CatchUpWithFile(); }, this);
  mFileWatch->Watch(PathText(mSession.dataFile));
}

void frmNumberChecker::CatchUpWithFile() {
  if (DialogOpen()) {
    // The person is busy elsewhere; the list catches up when they are back, and a command
    // that writes the list checks the file in any case.
    mFileWatch->RetryLater();
    return;
  }
  ReloadFromFile();
}
