#include "app/VersionWarning.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/ProblemReport.h"
#include "app/modPelmora.h"
#include "store/Versions.h"
#include "store/WriteJournal.h"

namespace modPelmora {

void TellVersionWarningAfterCommand(QWidget* parent) {
  QTimer::singleShot(0, qApp, [owner = QPointer<QWidget>(parent)] {
    // A rewrite cut short, found and mended when the file was read, is told once.
    if (const std::optional<std::string> notice = store::TakeRepairNotice())
      Tell(owner.data(), PathText(*notice).trimmed(), platform::MessageIcon::Warning);
    const std::optional<store::VersionWarning> warning = store::TakeVersionWarning();
    if (!warning)
      return;
    const QString text =
        QStringLiteral(
            "The change was made, but the earlier version of the data file could not be kept.\n\n"
            "Folder: %1\nReason: %2\n\nThis is shown once.")
            .arg(QString::fromStdString(warning->folder), QString::fromStdString(warning->reason));
    Tell(owner.data(), text, platform::MessageIcon::Warning);
  });
}

}  // namespace modPelmora
