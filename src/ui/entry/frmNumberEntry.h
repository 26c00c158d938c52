#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "check/TicketPicks.h"
#include "store/TicketRules.h"

struct Session;

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;

// The entry dialog: a grid of 59 numbered boxes on which one ticket, or the winning number, is
// picked, and the buttons that save the picks and leave. The session's entry mode, set by the
// opener before the dialog is loaded, tells the two uses apart. What it saved it reports through
// its signals; the main window brings itself up to date from them.
class frmNumberEntry : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kBoxCount = store::kHighestNumber;
  static constexpr int kFieldCount = store::kNumbersPerTicket;

  frmNumberEntry(Session& session, QWidget* parent);

  // Runs once per opening, after the opener has set the entry mode.
  void Form_Load();

  // The button that Esc presses: "&Cancel" when picking the winning number, "&Done" when
  // entering tickets.
  QPushButton* CancelButton() const { return cancelButton_; }

  // Runs whenever box Index changes between unchecked and checked, by a person or by code.
  void ck01_Click(int Index);
  void cmdClear_Click();
  void cmdNext_Click();
  void cmdDone_Click();
  void cmdCancel_Click() { ReturnToMain(); }
  void cmdAllNumbers_Click() { emit allNumbersWanted(); }

 signals:
  // The winning number `ticket` was stored in the data file.
  void winningNumberSaved(const QString& ticket);
  // Tickets were added to the data file; the play list should be read from it again.
  void ticketsChanged();
  // "View All": the all-numbers window should open over this dialog.
  void allNumbersWanted();
  // The dialog was left; it unloads itself.
  void closed();

 protected:
  // Esc, and a close request from the desktop, press the cancel button; the dialog is never
  // left in any other way, since the hidden main window must come back.
  void reject() override;
  // Enter presses the button that has the focus (no button is the default).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The box of number `n`, 1 to 59.
  QCheckBox* Box(int n) const { return ck01[static_cast<std::size_t>(n - 1)]; }
  // Draws the picks: the caption, the ticket, which boxes take a click, and Save/Next.
  void ShowPickStatus();
  void ShowTicketText();
  void FitBoxCaptions();
  void SetBoxLook(int index, bool picked);
  void UncheckAllBoxes();
  // Shows the number the next ticket will get, in a font small enough to show all of it.
  void ShowTicketNumber(const QString& text);
  // The buttons and labels of one use of the dialog, and which button Esc presses.
  void ShowModeControls(bool plays);
  void LoadWinningMode();
  void LoadPlaysMode();
  void SaveWinningNumber();
  void ReturnWithTickets();
  void ReturnToMain();

  Session& session_;
  check::TicketPicks picks_;
  QPushButton* cancelButton_ = nullptr;

  // Controls; the number boxes in the order of their numbers.
  QLabel* Label1 = nullptr;
  std::array<QCheckBox*, kBoxCount> ck01{};
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdDone = nullptr;
  QPushButton* cmdNext = nullptr;
  QPushButton* cmdAllNumbers = nullptr;
  QLabel* lblticketnumber = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* lbltotaltickets = nullptr;
};
