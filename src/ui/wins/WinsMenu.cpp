#include "ui/wins/WinsMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "ui/wins/WinsReminder.h"
#include "ui/wins/frmWins.h"

namespace {

constexpr int kReminderDelayMs = 1500;

}  // namespace

QMenu* AddWinsMenu(QMainWindow* window, std::function<std::string()> dataFile) {
  QMenu* menu = window->menuBar()->addMenu(QObject::tr("W&ins"));
  menu->setObjectName(QStringLiteral("mnuWinsMenu"));
  QAction* action = menu->addAction(QObject::tr("&Wins..."));
  action->setObjectName(QStringLiteral("mnuWins"));
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
  QObject::connect(action, &QAction::triggered, window, [window, dataFile] {
    auto* wins = window->findChild<frmWins*>(QString(), Qt::FindDirectChildrenOnly);
    if (wins == nullptr) {
      wins = new frmWins(window);
    }
    wins->Form_Load(dataFile());
    wins->show();
    wins->raise();
    wins->activateWindow();
  });
  return menu;
}

void RemindOfWinsSoon(QMainWindow* window, std::function<std::string()> dataFile) {
  QTimer::singleShot(kReminderDelayMs, window, [dataFile] { RemindOfWins(dataFile()); });
}
