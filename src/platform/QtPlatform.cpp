#include "platform/QtPlatform.h"

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QUrl>

#include "platform/HelpViewer.h"
#include "platform/LinuxRegistry.h"

namespace platform {
namespace {

// The labels of the filter pairs. A label already names its pattern ("Pelmora Files (*.PMD)");
// Qt reads the patterns from the label's parentheses and, in its own dialog, matches them without
// regard to case.
QStringList FilterLabels(const QStringList& pairs) {
  QStringList labels;
  for (int i = 0; i + 1 < pairs.size(); i += 2)
    labels << pairs[i];
  return labels;
}

}  // namespace

QtPlatform::QtPlatform() : instance_(PrivateInstanceFolder(::getuid())) {}
QtPlatform::~QtPlatform() = default;

MessageAnswer QtPlatform::ShowMessage(QWidget* parent, const MessageRequest& request) {
  QMessageBox box(parent);
  box.setWindowTitle(request.title);
  box.setText(request.text);
  box.setTextFormat(Qt::PlainText);
  switch (request.icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  switch (request.buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  const int answer = box.exec();
  switch (answer) {
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    default:
      // Closing a Yes/No box without an answer counts as No; a Yes/No/Cancel box as Cancel.
      if (request.buttons == MessageButtons::YesNoCancel)
        return MessageAnswer::Cancel;
      if (request.buttons == MessageButtons::YesNo)
        return MessageAnswer::No;
      return MessageAnswer::Ok;
  }
}

QString QtPlatform::ChooseFile(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, request.title);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::ReadOnly, false);
  const QStringList labels = FilterLabels(request.filter);
  // "*.*" means every file where the filter comes from, but here it would hide names without a
  // dot: while such a filter is chosen the dialog lists everything. The label stays as given.
  auto listEveryFileFor = [&dialog, &request](const QString& label) {
    for (qsizetype i = 0; i + 1 < request.filter.size(); i += 2) {
      if (request.filter[i] == label && request.filter[i + 1] == QStringLiteral("*.*")) {
        if (auto* files = dialog.findChild<QFileSystemModel*>())
          files->setNameFilters({QStringLiteral("*")});
      }
    }
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
      if (ShowMessage(&dialog, ask) != MessageAnswer::Yes)
        continue;
    }
    return chosen;
  }
  return {};
}

void QtPlatform::ClearClipboard() {
  QGuiApplication::clipboard()->clear();
}

QString QtPlatform::ClipboardText() {
  return QGuiApplication::clipboard()->text();
}

void QtPlatform::SetClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

void QtPlatform::ShowHelp(QWidget* parent, const QString& helpFile) {
  static QPointer<HelpViewer> viewer;
  if (!viewer) {
    viewer = new HelpViewer(nullptr);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    if (parent)
      viewer->setWindowIcon(parent->window()->windowIcon());
  }
  viewer->ShowFile(helpFile);
}

std::optional<RegistryValue> QtPlatform::ReadRegistry(std::uint32_t root, const QString& keyPath,
                                                      const QString& valueName) {
  return ReadLinuxRegistry(root, keyPath, valueName);
}

bool QtPlatform::FileExists(const QString& path) {
  QFileInfo info(path);
  return info.exists() && info.isFile();
}

bool QtPlatform::StartProgram(const QString& path) {
  return QProcess::startDetached(path, QStringList());
}

bool QtPlatform::OpenUrl(const QString& url) {
  return QDesktopServices::openUrl(QUrl(url));
}

void QtPlatform::SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
  if (!target)
    return;
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

bool QtPlatform::IsPrevInstance() {
  if (!checkedInstance_) {
    checkedInstance_ = true;
    prevInstance_ = !instance_.TryLock();
  }
  return prevInstance_;
}

bool QtPlatform::ActivatePrevInstance(const QString& fileToOpen) {
  return instance_.AskRunningCopy(fileToOpen);
}

void QtPlatform::SetActivationHandler(std::function<void(const QString& file)> handler) {
  instance_.SetRequestHandler(std::move(handler));
}

}  // namespace platform
