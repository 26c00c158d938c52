#include "ui/other/SysInfo.h"

#include "app/modPelmora.h"
#include "platform/Launcher.h"
#include "platform/LinuxRegistry.h"
#include "platform/Messages.h"
#include "platform/Registry.h"
#include "ui/Forms.h"
#include "ui/other/frmAbout.h"

namespace {

// The registry hands back at most this many bytes; a longer value is a failed read.
constexpr int kValueBufferSize = 1024;

constexpr char kToolLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kToolFileName[] = "MSINFO32.EXE";

QString HexBytesLastToFirst(const QByteArray& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  QString text;
  for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    text += QLatin1Char(kDigits[byte >> 4]);
    text += QLatin1Char(kDigits[byte & 0x0F]);
  }
  return text;
}

}  // namespace

bool GetKeyValue(std::uint32_t root, const QString& keyPath, const QString& valueName,
                 QString& valueText) {
  const auto value = platform::Registry::Read(root, keyPath, valueName);
  if (!value || value->bytes.size() > kValueBufferSize) {
    valueText.clear();
    return false;
  }
  // The value as read keeps its closing NUL; a string's text ends before it. The same byte is
  // dropped from any value, numbers included, so a number whose high byte is zero shows one
  // byte less.
  QByteArray kept = value->bytes;
  if (!kept.isEmpty() && kept.back() == '\0')
    kept.chop(1);

  switch (value->type) {
    case platform::RegistryType::String:
      valueText = QString::fromLocal8Bit(kept);
      break;
    case platform::RegistryType::Dword:
      valueText = QStringLiteral("&h") + HexBytesLastToFirst(kept);
      break;
    default:
      break;
  }
  return true;
}

void StartSysInfo() {
  QString toolPath;
  bool found = GetKeyValue(platform::kHkeyLocalMachine, QString::fromLatin1(platform::kSysInfoKey),
                           QStringLiteral("PATH"), toolPath);
  if (!found) {
    QString folder;
    if (GetKeyValue(platform::kHkeyLocalMachine, QString::fromLatin1(kToolLocationKey),
                    QStringLiteral("MSINFO"), folder)) {
      const QString candidate = folder + QLatin1Char('/') + QString::fromLatin1(kToolFileName);
      if (platform::Launcher::ProgramExists(candidate)) {
        toolPath = candidate;
        found = true;
      }
    }
  }
  if (found && platform::Launcher::StartProgram(toolPath))
    return;

  platform::Messages::Show(
      forms::About(),
      {QStringLiteral("System Information Is Unavailable At This Time"), modPelmora::AppTitle(),
       platform::MessageIcon::None, platform::MessageButtons::Ok});
}
