#include "platform/LinuxRegistry.h"

#include <QStandardPaths>

namespace platform {

QString FindSystemInfoProgram() {
  // Tools that describe the machine come first; process monitors are the fallback.
  static const char* const kCandidates[] = {"hardinfo2",
                                            "hardinfo",
                                            "kinfocenter",
                                            "cpu-x",
                                            "lshw-gtk",
                                            "gnome-system-monitor",
                                            "mate-system-monitor",
                                            "xfce4-taskmanager",
                                            "lxtask"};
  for (const char* name : kCandidates) {
    QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!found.isEmpty())
      return found;
  }
  return {};
}

std::optional<RegistryValue> ReadLinuxRegistry(std::uint32_t root, const QString& keyPath,
                                               const QString& valueName) {
  if (root != kHkeyLocalMachine)
    return std::nullopt;
  if (keyPath.compare(QString::fromLatin1(kSysInfoKey), Qt::CaseInsensitive) != 0)
    return std::nullopt;
  if (valueName.compare(QStringLiteral("PATH"), Qt::CaseInsensitive) != 0)
    return std::nullopt;
  QString program = FindSystemInfoProgram();
  if (program.isEmpty())
    return std::nullopt;
  RegistryValue value;
  value.type = RegistryType::String;
  value.bytes = program.toLocal8Bit();
  value.bytes.append('\0');
  return value;
}

namespace {

class LinuxRegistry final : public Registry {
 public:
  std::optional<RegistryValue> Value(std::uint32_t root, const QString& keyPath,
                                     const QString& valueName) override {
    return ReadLinuxRegistry(root, keyPath, valueName);
  }
};

}  // namespace

Registry& Registry::Real() {
  static LinuxRegistry real;
  return real;
}

}  // namespace platform
