#include "app/FileText.h"

#include "store/TextEncoding.h"

namespace modPelmora {

QString FileText(std::string_view bytes) {
  if (store::IsValidUtf8(bytes))
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes)
    *out++ = QChar(static_cast<char16_t>(store::Windows1252Char(static_cast<unsigned char>(byte))));
  return text;
}

}  // namespace modPelmora
