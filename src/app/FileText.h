#pragma once

#include <QString>
#include <string_view>

namespace modPelmora {

// Text from a data file (a ticket, the winning number, the count, the results built from them)
// or a file path, as it is shown or copied. Valid UTF-8 is read as UTF-8; anything else was
// written in the Windows code page and is read as Windows-1252, every byte a character (the five
// bytes the code page leaves undefined show as the control characters of the same value). The
// file's own bytes are never changed by showing them.
QString FileText(std::string_view bytes);

}  // namespace modPelmora
