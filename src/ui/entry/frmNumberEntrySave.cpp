// The entry dialog's ways out: Save/Next adds the picked ticket to the data file, Done saves the
// winning number or hands the ticket list back to the main window, and Cancel, Esc and the
// desktop's close request return to it without saving.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/DataFileLocation.h"
#include "app/FileText.h"
#include "app/VersionWarning.h"
#include "app/modPelmora.h"
#include "platform/Messages.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"
#include "ui/Forms.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

void frmNumberEntry::ReportCountRefusal(const store::AppendResult& refused) {
  const QString shown = FileText(refused.countText);
  QString reason;
  switch (refused.fault) {
    case store::CountFault::Missing:
      reason =
          tr("The ticket count (TOTAL) is missing, so the number of the next ticket is not "
             "known.");
      break;
    case store::CountFault::NotANumber:
      reason = tr("The ticket count (TOTAL) \"%1\" is not a number, so the number of the next "
                  "ticket is not known.")
                   .arg(shown);
      break;
    case store::CountFault::OutOfRange:
    case store::CountFault::Negative:
      reason =
          tr("The ticket count (TOTAL) %1 is outside 0 to %2.").arg(shown).arg(store::kMaxTickets);
      break;
    case store::CountFault::None:
      reason = tr("The file already holds %1 play numbers, the most a data file can hold.")
                   .arg(store::kMaxTickets);
      break;
  }
  platform::Messages::Show(
      this, {tr("The play number was not saved.\n\nFile: %1\nReason: %2")
                 .arg(PathText(gProfileFile), reason),
             AppTitle(), platform::MessageIcon::Warning, platform::MessageButtons::Ok});
}

void frmNumberEntry::cmdNext_Click() {
  if (!PlayEntryMode() || gPickedCount != gPickLimit)
    return;
  gProfileFile = gDataFile;
  // The file is the store of record: the count in it, not the one shown, decides the key.
  const store::AppendResult added = store::AppendTicket(gProfileFile, Label1->text().toStdString());
  // Nothing advances unless the ticket is on disk, so the person can try again.
  if (added.fault != store::CountFault::None || added.full) {
    ReportCountRefusal(added);
    return;
  }
  if (!ReportWriteFailure(this, added.write))
    return;
  const int newCount = added.count.value + 1;

  lbltotaltickets->setText(QString::number(newCount));
  cmdNext->setEnabled(false);
  ShowTicketNumber(QString::number(newCount + 1));
  SetEmptyTicket();
  // A counter of its own, as in Clear.
  for (int box = 1; box <= kBoxCount; ++box)
    ck01[static_cast<std::size_t>(box)]->setChecked(false);
  cmdDone->setEnabled(true);
  ck01[1]->setFocus(Qt::OtherFocusReason);
}

void frmNumberEntry::cmdDone_Click() {
  frmNumberChecker* main = forms::MainForm();
  if (gEntryMode == kEntryWinning) {
    const QString ticket = Label1->text();
    const std::string text = ticket.toStdString();
    for (int k = 1; k <= kFieldCount; ++k) {
      if (store::PlayNumberField(text, k) == "00") {
        platform::Messages::Show(this, {ticket + QStringLiteral(" Can't contain 00"), AppTitle(),
                                        platform::MessageIcon::None, platform::MessageButtons::Ok});
        return;
      }
    }
    gProfileFile = gDataFile;
    // A winning number that did not reach the disk keeps the dialog open with its picks.
    const store::WriteResult written = store::WriteProfileValue("numbers", "w", text, gProfileFile);
    TellVersionWarningAfterCommand(main);
    if (!ReportWriteFailure(this, written))
      return;
    ShowMatchHint();
    if (main) {
      for (int k = 1; k <= kFieldCount; ++k)
        main->SetWinningBox(k, FileText(store::PlayNumberField(text, k)));
    }
    ReturnToMain();
  } else if (gEntryMode == kEntryPlays) {
    for (gIdx = 1; gIdx <= kBoxCount; ++gIdx) {
      if (!ck01[static_cast<std::size_t>(gIdx)]->isChecked())
        continue;
      const QString question =
          QStringLiteral(
              "Partial entry not saved.  If you want to save this play number\r\n"
              "you must enter all %1 numbers then click Save/Next.\r\n"
              "Continue without saving?")
              .arg(gPickLimit);
      const platform::MessageAnswer answer = platform::Messages::Show(
          this,
          {question, AppTitle(), platform::MessageIcon::None, platform::MessageButtons::YesNo});
      if (answer == platform::MessageAnswer::No)
        return;
      break;
    }
    gProfileFile = gDataFile;
    store::TicketList list = store::ReadAllTickets(gProfileFile);
    if (main)
      main->SetPlayList(std::move(list.tickets));
    ShowMatchHint();
    ReturnToMain();
  } else {
    ReturnToMain();
  }
}

void frmNumberEntry::cmdCancel_Click() {
  ReturnToMain();
}

void frmNumberEntry::cmdAllNumbers_Click() {
  setEnabled(false);
  forms::ShowAllNumbers();
}

void frmNumberEntry::ReturnToMain() {
  if (frmNumberChecker* main = forms::MainForm()) {
    main->show();
    main->raise();
    main->activateWindow();
  }
  forms::UnloadNumberEntry();
}

void frmNumberEntry::reject() {
  if (!mCancelButton) {
    cmdCancel_Click();
    return;
  }
  // isEnabled() is false while "View All" has the dialog disabled.
  if (!mCancelButton->isHidden() && mCancelButton->isEnabled())
    mCancelButton->click();
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
