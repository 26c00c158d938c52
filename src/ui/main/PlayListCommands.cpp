// Commands on the play list: add, delete marked, mark all, copy, and the list's click.
#include <QAction>
#include <QListView>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "platform/Clipboard.h"
#include "platform/Messages.h"
#include "ui/main/ResultsBox.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/PlayListModel.h"

using namespace modPelmora;

namespace {

const char kUndeletedMarksQuestion[] =
    "You have selected numbers to delete but did not delete them\r\n"
    "with the menu item Numbers|Delete Checked Play Numbers.\r\n"
    "If you continue with adding numbers the numbers you selected\r\n"
    "to delete will not be deleted.\r\n"
    "\r\n"
    "Would you like to delete them now?";

}  // namespace

void frmNumberChecker::mnuAddPlay_Click() {
  if (plays_->CheckedCount() > 0) {
    const platform::MessageAnswer answer = platform::Messages::Show(
        this, {QString::fromLatin1(kUndeletedMarksQuestion), AppTitle(),
               platform::MessageIcon::None, platform::MessageButtons::YesNoCancel});
    if (answer == platform::MessageAnswer::Cancel)
      return;
    if (answer == platform::MessageAnswer::Yes) {
      // When another program changed the file nothing was deleted: the person sees the file
      // as it is and decides again.
      if (!DeleteChecked())
        return;
      mnuSave_Click();
    }
  }
  ShowView(lstNumbers);
  SetStandardHeight();
  OpenEntryDialog(EntryMode::Plays);
}

bool frmNumberChecker::DeleteChecked() {
  ShowView(lstNumbers);
  SetStandardHeight();
  using ListWrite = DataFileController::ListWrite;
  const ListWrite written = data_->DeleteChecked();
  // After a failed write Save stays available to write the list again.
  mnuSave->setEnabled(written == ListWrite::Failed);
  lstNumbers_Click();
  UpdateCountLine();
  ShowMatchHint();
  return written != ListWrite::FileChanged;
}

void frmNumberChecker::mnuAll_Click() {
  ShowView(lstNumbers);
  plays_->SetAllChecked(plays_->CheckedCount() != plays_->Count());
  lstNumbers_Click();
}

void frmNumberChecker::mnuCpyPlays_Click() {
  platform::Clipboard::Clear();
  ShowView(lstNumbers);
  const int count = plays_->Count();
  if (count < 1) {
    Tell(this, QStringLiteral("There are no play numbers to copy."), platform::MessageIcon::None);
    return;
  }
  plays_->SetAllChecked(false);
  lstNumbers_Click();

  std::string text;
  for (const std::string_view ticket : plays_->Tickets()) {
    text += "\r\n";
    text += ticket;
  }
  platform::Clipboard::SetUtf8Text(FileText(text).toUtf8());
}

void frmNumberChecker::lstNumbers_Click() {
  mnuDeleteChecked->setEnabled(plays_->CheckedCount() > 0);
}
