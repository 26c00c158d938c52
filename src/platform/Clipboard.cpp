#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {
namespace {

class SystemClipboard final : public Clipboard {
 public:
  void Empty() override { QGuiApplication::clipboard()->clear(); }
  QString Read() override { return QGuiApplication::clipboard()->text(); }
  void Write(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

}  // namespace

Clipboard& Clipboard::Real() {
  static SystemClipboard real;
  return real;
}

}  // namespace platform
