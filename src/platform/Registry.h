#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "platform/Seam.h"

namespace platform {

// Registry roots, with the values the desktop that defined them uses.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

enum class RegistryType : std::uint32_t { String = 1, Dword = 4, Other = 0 };

struct RegistryValue {
  RegistryType type = RegistryType::Other;
  QByteArray bytes;  // raw value bytes as the registry returns them (a string with its NUL)
};

// The system settings the program reads by registry key and value name.
class Registry {
 public:
  virtual ~Registry() = default;

  // nullopt when the key or value is missing.
  static std::optional<RegistryValue> Read(std::uint32_t root, const QString& keyPath,
                                           const QString& valueName) {
    return Seam<Registry>::Get().Value(root, keyPath, valueName);
  }

  virtual std::optional<RegistryValue> Value(std::uint32_t root, const QString& keyPath,
                                             const QString& valueName) = 0;
  // This desktop's answers (see LinuxRegistry.h).
  static Registry& Real();
};

}  // namespace platform
