#pragma once

#include <QString>
#include <cstdint>

class QWidget;

// Reads one registry value as text. A string value gives its text; a 32-bit value gives "&h"
// and its bytes from last to first in upper-case hexadecimal; a value of any other type leaves
// valueText as it was. Returns false, with valueText empty, when the key or value cannot be read.
bool GetKeyValue(std::uint32_t root, const QString& keyPath, const QString& valueName,
                 QString& valueText);

// Finds the desktop's system information tool through the registry and starts it; tells the
// user, over `parent`, when there is none or it does not start.
void StartSysInfo(QWidget* parent = nullptr);
