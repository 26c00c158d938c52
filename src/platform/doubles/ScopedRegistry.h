#pragma once

#include <QMap>

#include "platform/Registry.h"

namespace platform {

// A registry holding only what the test put in it.
class ScopedRegistry final : public Scoped<Registry> {
 public:
  void Set(std::uint32_t root, const QString& keyPath, const QString& valueName,
           RegistryValue value);
  // Under HKEY_LOCAL_MACHINE, stored as the registry stores them: text with its closing NUL, a
  // number as four bytes, lowest first.
  void SetString(const QString& keyPath, const QString& valueName, const QString& text);
  void SetDword(const QString& keyPath, const QString& valueName, std::uint32_t number);

  std::optional<RegistryValue> Value(std::uint32_t root, const QString& keyPath,
                                     const QString& valueName) override;

 private:
  // Key paths and value names are compared without regard to case.
  static QString Key(std::uint32_t root, const QString& keyPath, const QString& valueName);

  QMap<QString, RegistryValue> values_;
};

}  // namespace platform
