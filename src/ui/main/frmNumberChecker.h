#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <random>
#include <string>

#include "app/DataFileLocation.h"
#include "app/Session.h"
#include "app/modPelmora.h"
#include "store/TicketRules.h"
#include "ui/main/DataFileController.h"

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QTimer;
class DeferredOpen;
class frmAbout;
class frmNumberEntry;
class PlayListModel;
class ResultsBox;
class ShapeMarker;

// The main window: the winning number in six boxes, the play list or the results box, the
// ticket count, and every menu command of the program. It is a view of its DataFileController:
// the data file, the list and the winning number are the controller's, and the window shows what
// the controller reports.
class frmNumberChecker : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmNumberChecker(QWidget* parent = nullptr);

  // Start-up: data file, play list, caption, height, hint and winning number. A file named on
  // the command line is opened instead of the default one when Open would open it. The default
  // data file and the help are looked for in `programFolder`.
  void Form_Load(const QString& fileFromOutside = QString(),
                 const std::string& programFolder = modPelmora::ProgramFolder());

  // A later copy of the program asked this one to come to the front and, when `file` is not
  // empty, to open that file. While a dialog or the entry dialog works on the current file, the
  // opening waits until the main window is free again.
  void OpenFromOutside(const QString& file);

  // The data file behind the window, with the session the dialogs share.
  DataFileController& controller() { return *data_; }
  const DataFileController& controller() const { return *data_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class DeferredOpen;

  // The flash starts at this interval and quickens until it runs out.
  static constexpr int kFlashStartMs = 80;

  void CreateControls();
  void CreateMenus();

  // File menu.
  void mnuNew_Click();
  void mnuOpen_Click();
  // The Open command once a file is chosen.
  void OpenDataFile(const QString& path);
  void mnuSave_Click();
  void mnuExit_Click();

  // Numbers/Check menu.
  void mnuAddPlay_Click();
  void mnuDeleteChecked_Click() { DeleteChecked(); }
  // Delete Checked Play Numbers; false when the file had changed and nothing was deleted.
  bool DeleteChecked();
  void mnuAll_Click();
  void mnuCpyPlays_Click();
  void lstNumbers_Click();
  void mnuWinning_Click() { OpenEntryDialog(EntryMode::Winning); }
  void mnuCheck_Click();
  void mnuCopy_Click();

  // View and Help menus.
  void mnuViewAll_Click();
  void mnuMatches_Click();
  void mnuHelp2_Click();
  void mnuAbout_Click();

  // Draws menu.
  void mnuDrawHistory_Click();
  void mnuPrizes_Click();
  // The Wins window, window-modal as the Draw History window is, on the current data file.
  void mnuWins_Click();

  // The colour flash of the winning-number boxes.
  void Timer1_Timer();
  // A box and its marker in a flash colour, or at rest for an invalid colour.
  void SetBoxColour(int index, const QColor& colour);

  // What the controller reports.
  void SetCaption(const QString& caption);
  void UpdateCountLine();
  // The file changed on disk: followed now, or once no other window of the program is open.
  void CatchUpWithFile();

  // The two views and the window's height.
  // Shows the list or the results box in place of the other and gives it the keyboard focus.
  void ShowView(QWidget* shown);
  void SetClientHeight(int clientPixels);
  void SetStandardHeight();
  // Puts the hint into the results box, replacing results that no longer fit the data they came
  // from.
  void ShowMatchHint();

  // The entry dialog (this window hides meanwhile), brought up to date from what it reports.
  void OpenEntryDialog(EntryMode mode);
  // A winning number was stored by the entry dialog or the Draw History window.
  void WinningNumberSaved(const QString& ticket);
  bool DialogOpen() const;
  // Brings back whichever of the program's windows the person was using.
  void RaiseFromOtherInstance();

  // Controls; the boxes and their markers from the left.
  std::array<QLineEdit*, store::kNumbersPerTicket> win1{};
  std::array<ShapeMarker*, store::kNumbersPerTicket> Shape1{};
  ResultsBox* txtMatchedTickets = nullptr;
  QLabel* lbltotaltickets = nullptr;
  QListView* lstNumbers = nullptr;
  QTimer* Timer1 = nullptr;

  // The menu items whose state changes; the others are found by their object names.
  QAction* mnuSave = nullptr;
  QAction* mnuDeleteChecked = nullptr;

  DataFileController* data_;
  PlayListModel* plays_;  // the controller's play list
  QString helpFile_;      // where F1 finds the help document
  QPointer<frmNumberEntry> entry_;
  QPointer<frmAbout> about_;
  DeferredOpen* deferredOpen_ = nullptr;  // a file handed over while the window was busy
  std::minstd_rand random_;  // never seeded: the colour sequence repeats from run to run
};
