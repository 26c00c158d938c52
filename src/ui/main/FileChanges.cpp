// The play list against the data file: the list is written back only over the tickets it was
// loaded from, and it follows changes that other programs make to the file.
#include <QAction>
#include <QApplication>
#include <QLineEdit>

#include "app/DataFileLocation.h"
#include "app/VersionWarning.h"
#include "platform/Messages.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"
#include "ui/Forms.h"
#include "ui/main/DataFileWatch.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

namespace {

const char kChangedByAnotherProgram[] =
    "The data file was changed by another program. Nothing was deleted; the list now shows the "
    "file as it is. Please repeat the command.";

}  // namespace

frmNumberChecker::ListWrite frmNumberChecker::WriteList(const store::TicketTexts& tickets,
                                                        const std::vector<std::uint8_t>& leaveOut) {
  gProfileFile = gDataFile;
  const store::GuardedRewrite written =
      store::RewriteTicketsIfUnchanged(gProfileFile, mPlays->Loaded(), tickets, leaveOut);
  // Save, Delete and Add's Yes all write here; a version that could not be kept is told after.
  TellVersionWarningAfterCommand(this);
  if (written.fileChanged) {
    // Writing the list now would delete what the other program added: show the file instead
    // and let the person decide again.
    ReloadFromFile();
    platform::Messages::Show(this,
                             {QString::fromLatin1(kChangedByAnotherProgram), AppTitle(),
                              platform::MessageIcon::Information, platform::MessageButtons::Ok});
    return ListWrite::FileChanged;
  }
  if (!written.write.ok) {
    ReportWriteFailure(this, written.write);
    return ListWrite::Failed;
  }
  return ListWrite::Saved;
}

void frmNumberChecker::ReloadFromFile() {
  gProfileFile = gDataFile;
  store::TicketList list = store::ReadAllTickets(gProfileFile);
  mPlays->ReloadKeepingMarks(std::move(list.tickets));
  UpdateCountLine();
  LoadWinningNumber();
  lstNumbers_Click();
}

void frmNumberChecker::FollowDataFile() {
  if (!mFileWatch)
    mFileWatch = new DataFileWatch([this] { CatchUpWithFile(); }, this);
  mFileWatch->Watch(PathText(gDataFile));
}

bool frmNumberChecker::DialogOpen() const {
  return forms::NumberEntry() || forms::AllNumbers() || forms::About() ||
         QApplication::activeModalWidget() || !isVisible() || !isEnabled();
}

void frmNumberChecker::CatchUpWithFile() {
  if (DialogOpen()) {
    // The person is busy elsewhere; the list catches up when they are back, and a command
    // that writes the list checks the file in any case.
    mFileWatch->RetryLater();
    return;
  }
  store::TicketList list = store::ReadAllTickets(gDataFile);
  const std::string winning =
      store::ReadProfileValue(store::kSection, store::kWinningKey, gDataFile);
  bool boxesDiffer = false;
  for (int k = 1; k <= 6; ++k) {
    boxesDiffer =
        boxesDiffer || win1[k]->text().toStdString() != store::PlayNumberField(winning, k);
  }
  // The program's own writes leave the file as the list and boxes already show it.
  if (list.tickets != mPlays->Loaded()) {
    mPlays->ReloadKeepingMarks(std::move(list.tickets));
    UpdateCountLine();
    lstNumbers_Click();
  }
  if (boxesDiffer)
    LoadWinningNumber();
}
