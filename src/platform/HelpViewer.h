#pragma once

#include <QDialog>

class QTextBrowser;

namespace platform {

// The program's help window: shows the help document (HTML) read from disk.
class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);
  void ShowFile(const QString& path);

 private:
  QTextBrowser* browser_;
};

}  // namespace platform
