// The entry dialog's ways out: Save/Next adds the picked ticket to the data file, Done saves the
// winning number or hands the ticket list back to the main window, and Cancel, Esc and the
// desktop's close request return to it without saving.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "app/Session.h"
#include "app/modPelmora.h"
#include "platform/Messages.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"
#include "ui/entry/WinningNumberSave.h"
#include "ui/entry/frmNumberEntry.h"

using namespace modPelmora;

void frmNumberEntry::cmdNext_Click() {
  if (session_.entryMode != EntryMode::Plays || !picks_.Complete())
    return;
  // The file is the store of record: the count in it, not the one shown, decides the key.
  const store::Result<int> added = store::AppendTicket(session_.dataFile, picks_.TicketText());
  // Nothing advances unless the ticket is on disk, so the person can try again. A count that
  // cannot be trusted or a full file refuses the ticket rather than fail to write it.
  if (!added) {
    ReportProblem(this, added.error(),
                  added.error().kind == store::ProblemKind::Failed
                      ? QString::fromLatin1(kDataFileNotSaved)
                      : tr("The play number was not saved."));
    return;
  }
  const int newCount = *added;

  lbltotaltickets->setText(QString::number(newCount));
  cmdNext->setEnabled(false);
  ShowTicketNumber(QString::number(newCount + 1));
  picks_.Clear();
  ShowTicketText();
  UncheckAllBoxes();
  cmdDone->setEnabled(true);
  Box(1)->setFocus(Qt::OtherFocusReason);
}

void frmNumberEntry::cmdDone_Click() {
  if (session_.entryMode == EntryMode::Winning)
    SaveWinningNumber();
  else if (session_.entryMode == EntryMode::Plays)
    ReturnWithTickets();
  else
    ReturnToMain();
}

void frmNumberEntry::SaveWinningNumber() {
  const std::string text = picks_.TicketText();
  const QString ticket = QString::fromStdString(text);
  for (int k = 1; k <= kFieldCount; ++k) {
    if (store::PlayNumberField(text, k) == store::kEmptyField) {
      Tell(this, ticket + QStringLiteral(" Can't contain 00"), platform::MessageIcon::None);
      return;
    }
  }
  // A winning number that did not reach the disk keeps the dialog open with its picks. A version
  // warning is told over the main window: this dialog is gone by then.
  if (!StoreWinningNumber(this, session_.notes, session_.dataFile, text))
    return;
  emit winningNumberSaved(ticket);
  ReturnToMain();
}

void frmNumberEntry::ReturnWithTickets() {
  for (int i = 1; i <= kBoxCount; ++i) {
    if (!Box(i)->isChecked())
      continue;
    const QString question =
        QStringLiteral(
            "Partial entry not saved.  If you want to save this play number\r\n"
            "you must enter all %1 numbers then click Save/Next.\r\n"
            "Continue without saving?")
            .arg(picks_.Limit());
    const platform::MessageAnswer answer = platform::Messages::Show(
        this, {question, AppTitle(), platform::MessageIcon::None, platform::MessageButtons::YesNo});
    if (answer == platform::MessageAnswer::No)
      return;
    break;
  }
  emit ticketsChanged();
  ReturnToMain();
}

void frmNumberEntry::ReturnToMain() {
  emit closed();
  hide();
  deleteLater();
}

void frmNumberEntry::reject() {
  if (!cancelButton_) {
    cmdCancel_Click();
    return;
  }
  // isEnabled() is false while "View All" has the dialog disabled.
  if (!cancelButton_->isHidden() && cancelButton_->isEnabled())
    cancelButton_->click();
}

void frmNumberEntry::keyPressEvent(QKeyEvent* event) {
  Qt::KeyboardModifiers modifiers = event->modifiers();
  modifiers.setFlag(Qt::KeypadModifier, false);
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && modifiers == Qt::NoModifier) {
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button && button->isEnabled() && !button->isHidden()) {
      button->click();
      return;
    }
  }
  QDialog::keyPressEvent(event);
}
