#include "app/VersionWarning.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/modPelmora.h"
#include "platform/Messages.h"
#include "store/Versions.h"

namespace modPelmora {

void TellVersionWarningAfterCommand(QWidget* parent) {
  QTimer::singleShot(0, qApp, [owner = QPointer<QWidget>(parent)] {
    const std::optional<store::VersionWarning> warning = store::TakeVersionWarning();
    if (!warning)
      return;
    const QString text =
        QStringLiteral(
            "The change was made, but the earlier version of the data file could not be kept.\n\n"
            "Folder: %1\nReason: %2\n\nThis is shown once.")
            .arg(QString::fromStdString(warning->folder), QString::fromStdString(warning->reason));
    platform::Messages::Show(owner.data(), {text, AppTitle(), platform::MessageIcon::Warning,
                                            platform::MessageButtons::Ok});
  });
}

}  // namespace modPelmora
