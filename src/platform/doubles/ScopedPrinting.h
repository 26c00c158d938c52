#pragma once

#include <QPageSize>
#include <QPrinter>
#include <QStringList>

#include "platform/Printing.h"

namespace platform {

// Records each preview and, instead of showing it, prints its pages into the PDF file
// `pdfPath` (when set) on the paper `paper`.
class ScopedPrinting final : public Scoped<Printing> {
 public:
  QStringList titles;
  QString pdfPath;
  QPageSize::PageSizeId paper = QPageSize::A4;

  void ShowPreview(QWidget*, const QString& title, const PaintPages& paint) override {
    titles.push_back(title);
    if (pdfPath.isEmpty())
      return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageSize(QPageSize(paper));
    paint(&printer);
  }
};

}  // namespace platform
