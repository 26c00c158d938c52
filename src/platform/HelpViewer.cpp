#include "platform/HelpViewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace platform {

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName("HelpViewer");
  setWindowTitle(tr("VORDANIK Pelmora 2.0 Help"));
  browser_->setObjectName("helpText");
  browser_->setAccessibleName(tr("Help text"));
  browser_->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(560, 480);
}

void HelpViewer::ShowFile(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setHtml(QString::fromUtf8(file.readAll()));
  } else {
    browser_->setPlainText(
        tr("The help file %1 could not be opened: %2").arg(path, file.errorString()));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace platform
