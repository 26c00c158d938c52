#pragma once

#include <QString>
#include <functional>

#include "platform/Seam.h"

class QPrinter;
class QWidget;

namespace platform {

// Paints every page of a document on the printer it is given.
using PaintPages = std::function<void(QPrinter* printer)>;

// The print preview: shows the pages `paint` makes, and prints them from there on the printer the
// person picks, in the paper size the person picks.
class Printing {
 public:
  virtual ~Printing() = default;

  static void Preview(QWidget* parent, const QString& title, const PaintPages& paint) {
    Seam<Printing>::Get().ShowPreview(parent, title, paint);
  }

  virtual void ShowPreview(QWidget* parent, const QString& title, const PaintPages& paint) = 0;
  // The toolkit's print preview dialog.
  static Printing& Real();
};

}  // namespace platform
