// The colour flash of the winning-number boxes after a check: random colours at a quickening
// pace until the interval runs out.
#include <QLineEdit>
#include <QTimer>
#include <QVariant>
#include <algorithm>
#include <random>

#include "ui/main/ShapeMarker.h"
#include "ui/main/frmNumberChecker.h"

namespace {

// The flash palette: yellow, green, cyan, magenta, red, orange.
const QColor kFlashColours[6] = {QColor(255, 255, 0), QColor(0, 255, 0), QColor(0, 255, 255),
                                 QColor(255, 0, 255), QColor(255, 0, 0), QColor(255, 128, 0)};

}  // namespace

void frmNumberChecker::Timer1_Timer() {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  for (int i = 0; i < store::kNumbersPerTicket; ++i) {
    const int pick = std::min(5, static_cast<int>(6 * uniform(random_)));
    SetBoxColour(i, kFlashColours[pick]);
  }
  const int interval = Timer1->interval() - 2;
  if (interval <= 1) {
    // A zero interval would make the timer fire continuously: the flash ends here instead.
    Timer1->stop();
    Timer1->setInterval(0);
    for (int i = 0; i < store::kNumbersPerTicket; ++i)
      SetBoxColour(i, QColor());
  } else {
    Timer1->setInterval(interval);
  }
}

void frmNumberChecker::SetBoxColour(int index, const QColor& colour) {
  const bool flashing = colour.isValid();
  Shape1[index]->SetFillVisible(flashing);
  Shape1[index]->SetFillColour(colour);
  win1[index]->setStyleSheet(
      QStringLiteral(
          "QLineEdit { color: palette(window-text); background-color: %1; padding: 0px; }")
          .arg(flashing ? colour.name() : QStringLiteral("palette(window)")));
  win1[index]->setProperty("flashColour", flashing ? QVariant(colour) : QVariant());
}
