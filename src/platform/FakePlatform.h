#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/Platform.h"

namespace platform {

// Test double: answers message boxes and file dialogs from a script and records every request,
// so no test ever waits on a person.
class FakePlatform : public Platform {
 public:
  struct ShownMessage {
    MessageRequest request;
    MessageAnswer answer;
  };

  // Scripted answers, taken in order. With none left, a message gets its first button (Ok or
  // Yes) and a file dialog is cancelled.
  std::deque<MessageAnswer> messageAnswers;
  std::deque<QString> fileAnswers;

  std::vector<ShownMessage> messages;
  std::vector<FileDialogRequest> fileDialogs;
  QStringList helpShown;
  QStringList started;
  QStringList openedUrls;
  std::vector<std::pair<int, Qt::KeyboardModifiers>> keysSent;
  int clipboardClears = 0;

  QString clipboard;
  bool clipboardFails = false;

  // Registry contents: key path (case-insensitive) + value name -> value.
  QMap<QString, RegistryValue> registry;
  QSet<QString> existingFiles;
  bool startSucceeds = true;
  bool openUrlSucceeds = true;

  bool prevInstance = false;
  bool prevInstanceAnswers = true;
  int activationRequests = 0;
  QString activationFile;  // the file the last request handed over

  static QString RegistryKey(std::uint32_t root, const QString& keyPath, const QString& value);
  void SetRegistryString(const QString& keyPath, const QString& valueName, const QString& text);
  void SetRegistryDword(const QString& keyPath, const QString& valueName, std::uint32_t number);

  MessageAnswer ShowMessage(QWidget* parent, const MessageRequest& request) override;
  QString ChooseFile(QWidget* parent, const FileDialogRequest& request) override;
  void ClearClipboard() override;
  QString ClipboardText() override;
  void SetClipboardText(const QString& text) override;
  void ShowHelp(QWidget* parent, const QString& helpFile) override;
  std::optional<RegistryValue> ReadRegistry(std::uint32_t root, const QString& keyPath,
                                            const QString& valueName) override;
  bool FileExists(const QString& path) override;
  bool StartProgram(const QString& path) override;
  bool OpenUrl(const QString& url) override;
  void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) override;
  bool IsPrevInstance() override;
  bool ActivatePrevInstance(const QString& fileToOpen) override;
};

}  // namespace platform
