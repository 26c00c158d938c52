#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {
namespace {

class SystemClipboard final : public Clipboard {
 public:
  void Empty() override { QGuiApplication::clipboard()->clear(); }
  // Plain text kept as UTF-8 is what other programs are handed anyway, with no conversion, and
  // what the clipboard reads back as text.
  void WriteUtf8(const QByteArray& utf8) override {
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/plain"), utf8);
    QGuiApplication::clipboard()->setMimeData(data);
  }
};

}  // namespace

Clipboard& Clipboard::Real() {
  static SystemClipboard real;
  return real;
}

}  // namespace platform
