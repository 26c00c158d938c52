#include "ui/main/frmNumberChecker.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "app/modPelmora.h"
#include "platform/Help.h"
#include "store/PlayNumber.h"
#include "ui/main/HelpKey.h"
#include "ui/main/ResultsBox.h"
#include "ui/main/ShapeMarker.h"
#include "ui/main/WinningNumberBox.h"
#include "ui/widgets/PlayListModel.h"
#include "ui/widgets/PlayListView.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"
#include "ui/wins/WinsReminder.h"

using namespace modPelmora;

namespace {

constexpr int kClientWidth = 4395;
constexpr int kBoxSize = 375;
constexpr int kBoxLeft[store::kNumbersPerTicket] = {160, 880, 1600, 2320, 3060, 3780};
constexpr int kShapeLeft[store::kNumbersPerTicket] = {-240, 480, 1200, 1920, 2640, 3360};
constexpr int kShapeHeight = 690;

}  // namespace

frmNumberChecker::frmNumberChecker(QWidget* parent)
    : QMainWindow(parent), data_(new DataFileController(this)), plays_(data_->plays()) {
  // The icon is compiled into this static library; naming its resource here keeps the linker
  // from dropping it.
  Q_INIT_RESOURCE(pelmora);
  setObjectName("frmNumberChecker");
  setWindowTitle(QString::fromLatin1(kProductName));
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128})
    icon.addFile(QStringLiteral(":/pelmora/pelmora-%1.png").arg(size));
  setWindowIcon(icon);
  CreateControls();
  CreateMenus();

  // Messages come as they are reported, between the changes the controller reports.
  connect(data_, &DataFileController::tell, this,
          [this](const QString& text, platform::MessageIcon icon) { Tell(this, text, icon); });
  connect(data_, &DataFileController::problem, this,
          [this](const store::Problem& problem) { ReportProblem(this, problem); });
  connect(data_, &DataFileController::notesLeft, this,
          [this](const std::vector<store::Problem>& notes) {
            data_->session().notes.TellAfterCommand(this, notes);
          });
  connect(data_, &DataFileController::dataFileSwitched, this,
          [this] { SetCaption(FileText(data_->session().dataFile)); });
  connect(data_, &DataFileController::listReplaced, this, &frmNumberChecker::UpdateCountLine);
  connect(data_, &DataFileController::listReloaded, this, [this] {
    UpdateCountLine();
    lstNumbers_Click();
  });
  connect(data_, &DataFileController::winningChanged, this, [this] {
    for (int i = 0; i < store::kNumbersPerTicket; ++i)
      win1[i]->setText(QString::fromStdString(data_->session().winning[i]));
  });
  connect(data_, &DataFileController::fileChanged, this, &frmNumberChecker::CatchUpWithFile);
}

void frmNumberChecker::CreateControls() {
  auto* client = new QWidget(this);
  client->setObjectName("client");
  setCentralWidget(client);

  for (int i = 0; i < store::kNumbersPerTicket; ++i) {
    auto* shape = new ShapeMarker(client);
    shape->setObjectName(QStringLiteral("Shape1_%1").arg(i + 1));
    shape->setGeometry(TwipsRect(kShapeLeft[i], 0, 1200, kShapeHeight));
    shape->setAccessibleName(tr("Winning number marker %1").arg(i + 1));
    Shape1[i] = shape;
  }
  QFont boxFont = font();
  boxFont.setPointSizeF(12);
  boxFont.setBold(true);
  for (int i = 0; i < store::kNumbersPerTicket; ++i) {
    // The font goes in before the text, so that the text is laid out once, in the font it keeps.
    auto* box = new WinningNumberBox(client);
    box->setObjectName(QStringLiteral("win1_%1").arg(i + 1));
    box->setGeometry(TwipsRect(kBoxLeft[i], 120, kBoxSize, kBoxSize));
    box->setFont(boxFont);
    box->setText(QString::fromLatin1(store::kEmptyField.data(), 2));
    box->setMaxLength(2);
    box->setAlignment(Qt::AlignCenter);
    box->setEnabled(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAccessibleName(tr("Winning number position %1").arg(i + 1));
    win1[i] = box;
  }

  auto* results = new ResultsBox(client);
  results->setObjectName("txtMatchedTickets");
  results->setGeometry(TwipsRect(0, 720, 4335, 1935));
  QFont resultsFont = font();
  resultsFont.setPointSizeF(8.25);
  resultsFont.setBold(true);
  results->setFont(resultsFont);
  results->setStyleSheet(QStringLiteral(
      "QPlainTextEdit { background-color: rgb(192,192,192); color: rgb(0,0,255); }"));
  results->setAccessibleName(tr("Matched tickets"));
  results->setTabChangesFocus(true);
  txtMatchedTickets = results;

  lbltotaltickets = new QLabel(tr("There are 0 total tickets (Data file not opened yet)"), client);
  lbltotaltickets->setTextFormat(Qt::PlainText);
  lbltotaltickets->setObjectName("lbltotaltickets");
  lbltotaltickets->setGeometry(TwipsRect(0, 2640, 4215, 375));

  lstNumbers = new PlayListView(plays_, TwipsRect(0, 720, 4335, 1860), client);
  lstNumbers->setObjectName("lstNumbers");
  lstNumbers->setToolTip(tr("Check a number to mark it for deletion"));
  lstNumbers->setAccessibleName(tr("Play numbers"));
  lstNumbers->hide();
  connect(plays_, &PlayListModel::userToggled, this, [this] { lstNumbers_Click(); });
  connect(lstNumbers, &QListView::clicked, this, [this] { lstNumbers_Click(); });

  QWidget::setTabOrder(txtMatchedTickets, lstNumbers);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kFlashStartMs);
  connect(Timer1, &QTimer::timeout, this, &frmNumberChecker::Timer1_Timer);

  client->setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(3465));
}

void frmNumberChecker::CreateMenus() {
  auto add = [this](QMenu* menu, const char* name, const QString& caption,
                    const QKeySequence& shortcut, void (frmNumberChecker::*handler)()) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
      action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  const auto addMenu = [this](const char* name, const QString& caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
  };
  QMenu* mnuFile = addMenu("mnuFile", QStringLiteral("&File"));
  add(mnuFile, "mnuNew", QStringLiteral("&New"), {}, &frmNumberChecker::mnuNew_Click);
  mnuSave = add(mnuFile, "mnuSave", QStringLiteral("&Save"), {}, &frmNumberChecker::mnuSave_Click);
  add(mnuFile, "mnuOpen", QStringLiteral("&Open"), {}, &frmNumberChecker::mnuOpen_Click);
  add(mnuFile, "mnuExit", QStringLiteral("&Exit"), {}, &frmNumberChecker::mnuExit_Click);

  QMenu* mnuNumbers = addMenu("mnuNumbers", QStringLiteral("&Numbers/Check"));
  add(mnuNumbers, "mnuAddPlay", QStringLiteral("Add &Play Numbers"),
      QKeySequence(Qt::CTRL | Qt::Key_Insert), &frmNumberChecker::mnuAddPlay_Click);
  mnuDeleteChecked =
      add(mnuNumbers, "mnuDeleteChecked", QStringLiteral("&Delete Checked Play Numbers"),
          QKeySequence(Qt::Key_Delete), &frmNumberChecker::mnuDeleteChecked_Click);
  add(mnuNumbers, "mnuAll", QStringLiteral("Check&mark/Uncheck All Plays for Deletion"),
      QKeySequence(Qt::CTRL | Qt::Key_A), &frmNumberChecker::mnuAll_Click);
  add(mnuNumbers, "mnuCpyPlays", QStringLiteral("&Copy Play Numbers to Clipboard"),
      QKeySequence(Qt::CTRL | Qt::Key_P), &frmNumberChecker::mnuCpyPlays_Click);
  mnuNumbers->addSeparator()->setObjectName("mnusep");
  add(mnuNumbers, "mnuWinning", QStringLiteral("Set &Winning Number"),
      QKeySequence(Qt::CTRL | Qt::Key_W), &frmNumberChecker::mnuWinning_Click);
  mnuNumbers->addSeparator()->setObjectName("mnusep2");
  add(mnuNumbers, "mnuCheck", QStringLiteral("Chec&k Winning Number Against Play Numbers"),
      QKeySequence(Qt::Key_F5), &frmNumberChecker::mnuCheck_Click);
  add(mnuNumbers, "mnuCopy", QStringLiteral("C&opy Your Winning  Result(s) To Clipboard"),
      QKeySequence(Qt::CTRL | Qt::Key_C), &frmNumberChecker::mnuCopy_Click);

  QMenu* mnuView = addMenu("mnuView", QStringLiteral("&View"));
  add(mnuView, "mnuViewAll", QStringLiteral("&All Ticket Play Numbers"), {},
      &frmNumberChecker::mnuViewAll_Click);
  add(mnuView, "mnuMatches", QStringLiteral("&Matched Wining Numbers"), {},
      &frmNumberChecker::mnuMatches_Click);

  QMenu* mnuHelp = addMenu("mnuHelp", QStringLiteral("&Help"));
  add(mnuHelp, "mnuHelp2", QStringLiteral("&Help"), {}, &frmNumberChecker::mnuHelp2_Click);
  add(mnuHelp, "mnuAbout", QStringLiteral("&About"), {}, &frmNumberChecker::mnuAbout_Click);

  QMenu* mnuDraws = addMenu("mnuDraws", QStringLiteral("&Draws"));
  add(mnuDraws, "mnuDrawHistory", QStringLiteral("Draw &History..."),
      QKeySequence(Qt::CTRL | Qt::Key_H), &frmNumberChecker::mnuDrawHistory_Click);
  add(mnuDraws, "mnuPrizes", QStringLiteral("&Prize Table..."), QKeySequence(Qt::CTRL | Qt::Key_T),
      &frmNumberChecker::mnuPrizes_Click);
  add(mnuDraws, "mnuWins", QStringLiteral("&Wins..."),
      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), &frmNumberChecker::mnuWins_Click);

  new HelpKey(this, [this](QWidget* from) { platform::Help::Show(from, helpFile_); });
}

void frmNumberChecker::Form_Load(const QString& fileFromOutside, const std::string& programFolder) {
  helpFile_ = HelpFilePath(programFolder);
  for (int i = 0; i < store::kNumbersPerTicket; ++i)
    SetBoxColour(i, QColor());

  data_->Start(fileFromOutside, programFolder);
  SetCaption(FileText(data_->session().dataFile) + QStringLiteral(" ") +
             QString::fromLatin1(kProductName));

  // Without tickets the window is only the row of boxes; with them it reaches the count line.
  if (plays_->Count() == 0) {
    SetClientHeight(TwipsToPixels(kShapeHeight));
  } else {
    SetStandardHeight();
    ShowView(lstNumbers);
  }

  CentreOnScreen(this);
  ShowMatchHint();
  // The reminder of wins soon to claim comes a moment after the window has first shown itself,
  // so that the start-up is not held up by reading the draw history.
  QTimer::singleShot(1500, this, [this] { RemindOfWins(data_->session().dataFile); });
}

void frmNumberChecker::SetCaption(const QString& caption) {
  // A caption longer than 25 characters is cut down to the file's name.
  if (caption.size() <= 25) {
    setWindowTitle(caption);
    return;
  }
  const QString path = FileText(data_->session().dataFile);
  const int lastSeparator = path.lastIndexOf(QLatin1Char('/'));
  const QString tail = lastSeparator >= 0 ? path.mid(lastSeparator) : path;
  setWindowTitle(path.left(3) + QStringLiteral("..") + tail + QStringLiteral(" ") +
                 QString::fromLatin1(kProductName));
}

void frmNumberChecker::mnuViewAll_Click() {
  SetStandardHeight();
  ShowView(lstNumbers);
}

void frmNumberChecker::mnuMatches_Click() {
  ShowView(txtMatchedTickets);
  SetStandardHeight();
}

void frmNumberChecker::mnuHelp2_Click() {
  // The Help command works as the F1 key does.
  platform::Help::Show(this, helpFile_);
}

void frmNumberChecker::mnuExit_Click() {
  for (QDialog* dialog : findChildren<QDialog*>()) {
    dialog->hide();
    dialog->deleteLater();
  }
  QApplication::exit(0);
}

void frmNumberChecker::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program with all its windows.
  event->accept();
  mnuExit_Click();
}

void frmNumberChecker::ShowView(QWidget* shown) {
  // The view that shows takes the keys. Hiding the focused view first would leave the focus on
  // it, with no other place to go, and keys typed then would mark tickets nobody sees.
  shown->show();
  (shown == lstNumbers ? static_cast<QWidget*>(txtMatchedTickets) : lstNumbers)->hide();
  shown->setFocus(Qt::OtherFocusReason);
}

void frmNumberChecker::SetClientHeight(int clientPixels) {
  // The menu bar sits above the client area; the window manager's frame is outside our height.
  const int menuPixels = menuBar()->isNativeMenuBar() ? 0 : menuBar()->sizeHint().height();
  centralWidget()->setFixedHeight(clientPixels);
  setFixedSize(TwipsToPixels(kClientWidth), menuPixels + clientPixels);
}

void frmNumberChecker::SetStandardHeight() {
  SetClientHeight(lbltotaltickets->y() + lbltotaltickets->height());
}

void frmNumberChecker::UpdateCountLine() {
  lbltotaltickets->setText(QStringLiteral("There are %1 total tickets").arg(plays_->Count()));
}

void frmNumberChecker::ShowMatchHint() {
  txtMatchedTickets->SetText(QString::fromLatin1(kHintText));
}

void frmNumberChecker::RaiseFromOtherInstance() {
  QWidget* target = isVisible() ? static_cast<QWidget*>(this) : QApplication::activeWindow();
  if (!target) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible())
        target = w;
  }
  if (!target)
    target = this;
  if (target->isMinimized())
    target->showNormal();
  target->raise();
  target->activateWindow();
}
