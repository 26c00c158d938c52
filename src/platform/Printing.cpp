#include "platform/Printing.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace platform {
namespace {

class PreviewDialog final : public Printing {
 public:
  void ShowPreview(QWidget* parent, const QString& title, const PaintPages& paint) override {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(target); });
    dialog.exec();
  }
};

}  // namespace

Printing& Printing::Real() {
  static PreviewDialog printing;
  return printing;
}

}  // namespace platform
