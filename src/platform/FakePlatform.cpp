#include "platform/FakePlatform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

QString FakePlatform::RegistryKey(std::uint32_t root, const QString& keyPath,
                                  const QString& value) {
  return QString::number(root) + "|" + keyPath.toUpper() + "|" + value.toUpper();
}

void FakePlatform::SetRegistryString(const QString& keyPath, const QString& valueName,
                                     const QString& text) {
  RegistryValue value{RegistryType::String, text.toLocal8Bit()};
  value.bytes.append('\0');
  registry[RegistryKey(kHkeyLocalMachine, keyPath, valueName)] = value;
}

void FakePlatform::SetRegistryDword(const QString& keyPath, const QString& valueName,
                                    std::uint32_t number) {
  QByteArray bytes;
  for (int i = 0; i < 4; ++i)
    bytes.append(char((number >> (8 * i)) & 0xFF));
  registry[RegistryKey(kHkeyLocalMachine, keyPath, valueName)] = {RegistryType::Dword, bytes};
}

MessageAnswer FakePlatform::ShowMessage(QWidget*, const MessageRequest& request) {
  MessageAnswer answer =
      request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
  if (!messageAnswers.empty()) {
    answer = messageAnswers.front();
    messageAnswers.pop_front();
  }
  messages.push_back({request, answer});
  return answer;
}

QString FakePlatform::ChooseFile(QWidget*, const FileDialogRequest& request) {
  fileDialogs.push_back(request);
  if (fileAnswers.empty())
    return {};
  QString answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

void FakePlatform::ClearClipboard() {
  ++clipboardClears;
  clipboard.clear();
}

QString FakePlatform::ClipboardText() {
  return clipboard;
}

void FakePlatform::SetClipboardText(const QString& text) {
  if (!clipboardFails)
    clipboard = text;
}

void FakePlatform::ShowHelp(QWidget*, const QString& helpFile) {
  helpShown << helpFile;
}

std::optional<RegistryValue> FakePlatform::ReadRegistry(std::uint32_t root, const QString& keyPath,
                                                        const QString& valueName) {
  auto it = registry.find(RegistryKey(root, keyPath, valueName));
  if (it == registry.end())
    return std::nullopt;
  return it.value();
}

bool FakePlatform::FileExists(const QString& path) {
  return existingFiles.contains(path);
}

bool FakePlatform::StartProgram(const QString& path) {
  started << path;
  return startSucceeds;
}

bool FakePlatform::OpenUrl(const QString& url) {
  openedUrls << url;
  return openUrlSucceeds;
}

void FakePlatform::SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
  keysSent.emplace_back(key, modifiers);
  if (!target)
    return;
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
}

bool FakePlatform::IsPrevInstance() {
  return prevInstance;
}

bool FakePlatform::ActivatePrevInstance(const QString& fileToOpen) {
  ++activationRequests;
  activationFile = fileToOpen;
  return prevInstanceAnswers;
}

}  // namespace platform
