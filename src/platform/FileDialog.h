#pragma once

#include <QString>
#include <QStringList>

#include "platform/Seam.h"

class QWidget;

namespace platform {

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  QString title;
  // Pairs of label and pattern, e.g. {"Pelmora Files (*.PMD)", "*.PMD", "All Files (*.*)", "*.*"}.
  QStringList filter;
  int filterIndex = 1;  // 1-based, the filter shown first
  QString initialName;
  QString folder;                 // where the dialog starts; empty: the working folder
  bool mustExist = false;         // open: the file must exist
  bool confirmOverwrite = false;  // save: ask before replacing an existing file
  bool confirmCreate = false;     // save: ask before creating a file that does not exist
};

// The open and save dialogs.
class FileDialog {
 public:
  virtual ~FileDialog() = default;

  // The chosen full path, or the empty text when the user cancelled.
  static QString Choose(QWidget* parent, const FileDialogRequest& request) {
    return Seam<FileDialog>::Get().Answer(parent, request);
  }

  virtual QString Answer(QWidget* parent, const FileDialogRequest& request) = 0;
  // The toolkit's own (not the desktop's) file dialog.
  static FileDialog& Real();
};

}  // namespace platform
