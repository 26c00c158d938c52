#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <Qt>
#include <cstdint>
#include <optional>

class QWidget;

namespace platform {

enum class MessageIcon { None, Information, Warning, Critical };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
};

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

// Registry roots, with the values the desktop that defined them uses.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

enum class RegistryType : std::uint32_t { String = 1, Dword = 4, Other = 0 };

struct RegistryValue {
  RegistryType type = RegistryType::Other;
  QByteArray bytes;  // raw value bytes as the registry returns them (a string with its NUL)
};

// Everything the windows need from the desktop. Windows never call the toolkit's dialogs,
// the clipboard or the process launcher directly, so tests can answer and record them.
class Platform {
 public:
  virtual ~Platform() = default;

  virtual MessageAnswer ShowMessage(QWidget* parent, const MessageRequest& request) = 0;
  // The chosen full path, or the empty text when the user cancelled.
  virtual QString ChooseFile(QWidget* parent, const FileDialogRequest& request) = 0;

  virtual void ClearClipboard() = 0;
  virtual QString ClipboardText() = 0;
  virtual void SetClipboardText(const QString& text) = 0;

  // Opens the help document in the program's help viewer.
  virtual void ShowHelp(QWidget* parent, const QString& helpFile) = 0;

  // Registry read: nullopt when the key or value is missing.
  virtual std::optional<RegistryValue> ReadRegistry(std::uint32_t root, const QString& keyPath,
                                                    const QString& valueName) = 0;
  virtual bool FileExists(const QString& path) = 0;
  // Starts a program with a normal, focused window; false when it could not be started.
  virtual bool StartProgram(const QString& path) = 0;
  virtual bool OpenUrl(const QString& url) = 0;

  // Sends a key press and release to the widget and returns once both are processed.
  virtual void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) = 0;

  // Single instance: whether another copy of the program runs for this user, and asking that
  // copy to restore and raise its main window and, when `fileToOpen` is not empty, to open that
  // file (false when no copy answered).
  virtual bool IsPrevInstance() = 0;
  virtual bool ActivatePrevInstance(const QString& fileToOpen) = 0;
};

// The platform the windows use. The program installs the real one at start; tests install a
// double.
Platform& Current();
void Install(Platform* platform);

}  // namespace platform
