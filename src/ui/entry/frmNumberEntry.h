#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

#include "store/TicketRules.h"

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPushButton;

// The entry dialog: a grid of 59 numbered boxes on which one ticket, or the winning number, is
// picked, and the buttons that save the picks and leave. gEntryMode, set by the opener before
// the dialog is loaded, tells the two uses apart.
class frmNumberEntry : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kBoxCount = store::kHighestNumber;
  static constexpr int kFieldCount = store::kNumbersPerTicket;

  explicit frmNumberEntry(QWidget* parent = nullptr);

  // Runs once per opening, after the opener has set gEntryMode.
  void Form_Load();

  // Controls. Arrays are indexed from 1; element 0 is unused.
  QLabel* Label1 = nullptr;
  std::array<QCheckBox*, kBoxCount + 1> ck01{};
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdDone = nullptr;
  QPushButton* cmdNext = nullptr;
  QPushButton* cmdAllNumbers = nullptr;
  QPushButton* cmdClear = nullptr;
  QLabel* lbltktnum = nullptr;
  QLabel* lblticketnumber = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* lbltotaltickets = nullptr;

  // The ticket's six fields as text (1..6): "00" when empty, a picked number, or a text copied
  // from the main window's winning-number boxes.
  const QString& Field(int k) const { return mField[static_cast<std::size_t>(k)]; }

  // The button that Esc presses: "&Cancel" when picking the winning number, "&Done" when
  // entering tickets.
  QPushButton* CancelButton() const { return mCancelButton; }

  // Runs whenever box Index changes between unchecked and checked, by a person or by code.
  void ck01_Click(int Index);
  void cmdClear_Click();
  void cmdNext_Click();
  void cmdDone_Click();
  void cmdCancel_Click();
  void cmdAllNumbers_Click();

 protected:
  // Esc, and a close request from the desktop, press the cancel button; the dialog is never
  // left in any other way, since the hidden main window must come back.
  void reject() override;
  // Enter presses the button that has the focus (no button is the default).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void SetTabOrder();
  void AddPick(std::int16_t n);
  void RemovePick(std::int16_t n);
  void ShowPickStatus();
  void PadFields();
  void DisableUnpicked();
  void EnableAllNumbers();
  void FitBoxCaptions();
  void SetBoxLook(int index, bool picked);
  // Shows the number the next ticket will get, in a font small enough to show all of it.
  void ShowTicketNumber(const QString& text);
  void SetEmptyTicket();
  void ShowTicketText();
  bool PlayEntryMode() const;
  void ReturnToMain();

  std::array<QString, kFieldCount + 1> mField;
  QPushButton* mCancelButton = nullptr;
};
