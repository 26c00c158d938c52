#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/DataFileLocation.h"
#include "app/Session.h"
#include "app/modPelmora.h"
#include "store/TicketRules.h"
#include "store/TicketTexts.h"

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QTimer;
class DataFileWatch;
class DeferredOpen;
class frmAbout;
class frmNumberEntry;
class PlayListModel;
class ResultsBox;
class ShapeMarker;
namespace store {
struct TicketList;
}

// The main window: the winning number in six boxes, the play list or the results box, the
// ticket count, and every menu command of the program.
class frmNumberChecker : public QMainWindow {
  Q_OBJECT
 public:
  // The flash starts at this interval and quickens until it runs out.
  static constexpr int kFlashStartMs = 80;

  explicit frmNumberChecker(QWidget* parent = nullptr);
  ~frmNumberChecker() override;

  // Start-up: data file, play list, caption, height, hint and winning number. A file named on
  // the command line is opened instead of the default one when Open would open it. The default
  // data file and the help are looked for in `programFolder`.
  void Form_Load(const QString& fileFromOutside = QString(),
                 const std::string& programFolder = modPelmora::ProgramFolder());

  // What the windows share: the data file, the winning number, the entry dialog's use.
  const Session& session() const { return mSession; }

  void ShortenCaption();
  // The winning number as the data file holds it ("Numbers"/"W") into the session, and shown in
  // the six boxes.
  void ShowWinningNumber(const std::string& value);

  // File menu.
  void mnuNew_Click();
  void mnuOpen_Click();
  // The Open command once a file is chosen: lists it, or says "Error loading file." and keeps the
  // current one. True when the file was opened.
  bool OpenDataFile(const QString& path);
  // A later copy of the program asked this one to come to the front and, when `file` is not
  // empty, to open that file. While a dialog or the entry dialog works on the current file, the
  // opening waits until the main window is free again.
  void OpenFromOutside(const QString& file);
  void mnuSave_Click();
  void mnuExit_Click();

  // Numbers/Check menu.
  void mnuAddPlay_Click();
  void mnuDeleteChecked_Click();
  void mnuAll_Click();
  void mnuCpyPlays_Click();
  void lstNumbers_Click();
  void mnuWinning_Click();
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

  // The colour flash of the winning-number boxes.
  void Timer1_Timer();
  void StartFlash();
  bool FlashRunning() const;

  // The two views and the window's height.
  void ShowListView();
  void ShowResultsView();
  void SetClientHeightTwips(int twips);
  void SetStandardHeight();

  // Replaces the play list and updates the count line from it ("There are N total tickets").
  void SetPlayList(store::TicketTexts tickets);
  void UpdateCountLine();

  // The list against the data file. WriteList writes `tickets` as the file's list only when the
  // file still holds what the list was loaded from; otherwise it reloads the list and tells the
  // person. The caller records what was written as loaded.
  enum class ListWrite { Saved, Failed, FileChanged };
  ListWrite WriteList(const store::TicketTexts& tickets,
                      const std::vector<std::uint8_t>& leaveOut = {});
  // The list, count line and boxes loaded from the file again, marks kept where they still fit.
  void ReloadFromFile();
  // Follows outside changes of the data file while no other window of the program is open.
  void FollowDataFile();
  void CatchUpWithFile();
  bool DialogOpen() const;

  // Hides this window and opens the entry dialog in the given mode.
  void OpenEntryDialog(EntryMode mode);

  // Results text as the box holds it, with CR LF line breaks.
  QString ResultsText() const;
  void SetResultsText(QString text);
  // Brings back whichever of the program's windows the person was using.
  void RaiseFromOtherInstance();
  // Puts the hint into the results box, replacing results that no longer fit the data they came
  // from.
  void ShowMatchHint();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  // Shows one view in place of the other and gives it the keyboard focus.
  void SwitchView(QWidget* shown, QWidget* hidden);
  // The file given on the command line, read as Open would read it; nothing without a file, or
  // when it cannot be opened (after saying so).
  std::optional<store::TicketList> ReadFileFromOutside(const QString& path);
  void CreateMenus();
  void RestoreBoxLook(int index);
  // Delete Checked Play Numbers; false when the file had changed and nothing was deleted.
  bool DeleteChecked();
  void SetBoxColour(int index, const QColor& colour);
  // What the entry dialog reports: a winning number stored, tickets added, the dialog left.
  void WinningNumberSaved(const QString& ticket);
  void TicketsChanged();
  void EntryDialogClosed();
  void OpenAllNumbers();
  void UnloadDialogs();

  // The fields of a winning number as the boxes show them.
  static store::PlayFields ShownFields(const std::string& value);

  // Controls; the boxes and their markers from the left.
  std::array<QLineEdit*, store::kNumbersPerTicket> win1{};
  std::array<ShapeMarker*, store::kNumbersPerTicket> Shape1{};
  ResultsBox* txtMatchedTickets = nullptr;
  QLabel* lbltotaltickets = nullptr;
  QListView* lstNumbers = nullptr;
  PlayListModel* mPlays = nullptr;
  QTimer* Timer1 = nullptr;

  // The menu items whose state changes; the others are found by their object names.
  QAction* mnuSave = nullptr;
  QAction* mnuDeleteChecked = nullptr;

  // Where F1 finds the help document.
  QString mHelpFile;

  Session mSession;
  QPointer<frmNumberEntry> mEntry;
  QPointer<frmAbout> mAbout;

  DataFileWatch* mFileWatch = nullptr;
  DeferredOpen* mDeferredOpen = nullptr;  // a file handed over while the window was busy
  std::minstd_rand mRandom;  // never seeded: the colour sequence repeats from run to run
};
