#pragma once

#include <functional>

#include "platform/Platform.h"
#include "platform/SingleInstance.h"

namespace platform {

// The real desktop: Qt dialogs, the system clipboard, QProcess and QDesktopServices.
class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

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

  // Called by the running copy when a later copy asks it to come to the front; `file` is the
  // file that copy was started with, or empty.
  void SetActivationHandler(std::function<void(const QString& file)> handler);

 private:
  SingleInstance instance_;
  bool prevInstance_ = false;
  bool checkedInstance_ = false;
};

}  // namespace platform
