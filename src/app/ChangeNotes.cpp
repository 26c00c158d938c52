#include "app/ChangeNotes.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "app/modPelmora.h"

void ChangeNotes::TellAfterCommand(QWidget* parent, const std::vector<store::Problem>& notes) {
  QStringList repairs;
  QString warning;
  for (const store::Problem& note : notes) {
    if (note.kind == store::ProblemKind::Repaired) {
      repairs << modPelmora::FileText(note.path + ": " + note.reason);
    } else if (note.kind == store::ProblemKind::VersionNotKept && !versionWarningTold_) {
      versionWarningTold_ = true;
      warning =
          QStringLiteral(
              "The change was made, but the earlier version of the data file could not be kept.\n\n"
              "Folder: %1\nReason: %2\n\nThis is shown once.")
              .arg(modPelmora::FileText(note.path), modPelmora::FileText(note.reason));
    }
  }
  if (repairs.isEmpty() && warning.isEmpty())
    return;
  QTimer::singleShot(0, qApp, [owner = QPointer<QWidget>(parent), repairs, warning] {
    if (!repairs.isEmpty())
      modPelmora::Tell(owner.data(), repairs.join(QLatin1Char('\n')),
                       platform::MessageIcon::Warning);
    if (!warning.isEmpty())
      modPelmora::Tell(owner.data(), warning, platform::MessageIcon::Warning);
  });
}
