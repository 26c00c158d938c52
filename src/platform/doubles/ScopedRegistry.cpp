#include "platform/doubles/ScopedRegistry.h"

namespace platform {

QString ScopedRegistry::Key(std::uint32_t root, const QString& keyPath, const QString& valueName) {
  return QString::number(root) + "|" + keyPath.toUpper() + "|" + valueName.toUpper();
}

void ScopedRegistry::Set(std::uint32_t root, const QString& keyPath, const QString& valueName,
                         RegistryValue value) {
  values_[Key(root, keyPath, valueName)] = std::move(value);
}

void ScopedRegistry::SetString(const QString& keyPath, const QString& valueName,
                               const QString& text) {
  RegistryValue value{RegistryType::String, text.toLocal8Bit()};
  value.bytes.append('\0');
  Set(kHkeyLocalMachine, keyPath, valueName, std::move(value));
}

void ScopedRegistry::SetDword(const QString& keyPath, const QString& valueName,
                              std::uint32_t number) {
  QByteArray bytes;
  for (int i = 0; i < 4; ++i)
    bytes.append(char((number >> (8 * i)) & 0xFF));
  Set(kHkeyLocalMachine, keyPath, valueName, {RegistryType::Dword, bytes});
}

std::optional<RegistryValue> ScopedRegistry::Value(std::uint32_t root, const QString& keyPath,
                                                   const QString& valueName) {
  auto it = values_.find(Key(root, keyPath, valueName));
  if (it == values_.end())
    return std::nullopt;
  return it.value();
}

}  // namespace platform
