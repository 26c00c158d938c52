#include "ui/wins/WinsMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include "ui/wins/WinsReminder.h"
#include "ui/wins/frmWins.h"

namespace {

constexpr int kReminderDelayMs = 1500;

}  // namespace

QAction* AddWinsCommand(QMenu* menu, QMainWindow* window, std::function<std::string()> dataFile) {
  QAction* action = menu->addAction(QObject::tr("&Wins..."));
  action->setObjectName(QStringLiteral("mnuWins"));
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
  QObject::connect(action, &QAction::triggered, window, [window, dataFile] {
    auto* wins = window->findChild<frmWins*>(QString(), Qt::FindDirectChildrenOnly);
    if (wins == nullptr) {
      wins = new frmWins(window);
      wins->setWindowModality(Qt::WindowModal);
    }
    wins->Form_Load(dataFile());
    wins->show();
    wins->raise();
    wins->activateWindow();
  });
  return action;
}

void RemindOfWinsSoon(QMainWindow* window, std::function<std::string()> dataFile) {
  QTimer::singleShot(kReminderDelayMs, window, [dataFile] { RemindOfWins(dataFile()); });
}
