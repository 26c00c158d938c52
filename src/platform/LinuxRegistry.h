#pragma once

#include <QString>
#include <optional>

#include "platform/Registry.h"

namespace platform {

// This desktop has no registry. The one value the program asks about, the path of the system
// information tool, is answered with the first such tool found on PATH.
inline constexpr char kSysInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

std::optional<RegistryValue> ReadLinuxRegistry(std::uint32_t root, const QString& keyPath,
                                               const QString& valueName);

// The first system-information program found on PATH, or the empty text.
QString FindSystemInfoProgram();

}  // namespace platform
