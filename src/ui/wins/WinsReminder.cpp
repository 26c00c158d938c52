#include "ui/wins/WinsReminder.h"

#include <QObject>

#include "platform/Notifications.h"
#include "ui/wins/WinsModel.h"

check::WinsList::Due RemindOfWins(const std::string& dataFile, store::Day today,
                                  const check::WinsSources& sources) {
  if (dataFile.empty()) {
    return {};
  }
  const store::Result<check::WinsOfFile> wins =
      check::LoadWinsOfFile(dataFile, today, sources, /*openOnly=*/true);
  if (!wins) {
    return {};
  }
  const check::WinsList::Due due = wins->wins.DueWithin();
  if (due.wins == 0) {
    return due;
  }
  platform::Notification notification;
  notification.summary = QObject::tr("Pelmora: wins to claim");
  notification.body = QObject::tr("%1 to claim within %2 days, the first by %3.")
                          .arg(WinsText(due.wins))
                          .arg(check::kReminderDays)
                          .arg(DayText(due.firstDeadline));
  platform::Notifications::Show(notification);
  return due;
}
