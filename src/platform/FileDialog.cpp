#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>

#include "platform/Messages.h"

namespace platform {
namespace {

class QtFileDialog final : public FileDialog {
 public:
  QString Answer(QWidget* parent, const FileDialogRequest& request) override;
};

QString QtFileDialog::Answer(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, request.title);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::ReadOnly, false);
  // A label already names its pattern ("Pelmora Files (*.PMD)"): Qt reads the patterns from the
  // label's parentheses and, in its own dialog, matches them without regard to case.
  QStringList labels;
  for (qsizetype i = 0; i + 1 < request.filter.size(); i += 2)
    labels << request.filter[i];
  // "*.*" means every file where the filter comes from, but here it would hide names without a
  // dot: while such a filter is chosen the dialog lists everything. The label stays as given.
  auto listEveryFileFor = [&dialog, &request](const QString& label) {
    const qsizetype at = request.filter.indexOf(label);
    if (at % 2 == 0 && request.filter.value(at + 1) == QStringLiteral("*.*"))
      if (auto* files = dialog.findChild<QFileSystemModel*>())
        files->setNameFilters({QStringLiteral("*")});
  };
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, listEveryFileFor);
  dialog.setNameFilters(labels);
  if (request.filterIndex >= 1 && request.filterIndex <= labels.size()) {
    dialog.selectNameFilter(labels[request.filterIndex - 1]);
    listEveryFileFor(labels[request.filterIndex - 1]);
  }
  dialog.setDefaultSuffix(QString());
  if (!request.folder.isEmpty())
    dialog.setDirectory(request.folder);
  if (!request.initialName.isEmpty())
    dialog.selectFile(request.initialName);
  if (request.kind == FileDialogKind::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  }
  while (dialog.exec() == QDialog::Accepted) {
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
      return {};
    const QString chosen = files.first();
    if (request.kind == FileDialogKind::Save && request.confirmCreate &&
        !QFileInfo::exists(chosen)) {
      MessageRequest ask{QObject::tr("%1 does not exist.\nDo you want to create it?").arg(chosen),
                         request.title, MessageIcon::Warning, MessageButtons::YesNo};
      if (Messages::Show(&dialog, ask) != MessageAnswer::Yes)
        continue;
    }
    return chosen;
  }
  return {};
}

}  // namespace

FileDialog& FileDialog::Real() {
  static QtFileDialog real;
  return real;
}

}  // namespace platform
