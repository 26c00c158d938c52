// Texts of the main window and of the entry dialog's bottom row fit inside their controls at 96
// and at 144 dots per inch, where the desktop draws every control and font half as large again.
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "UiFixture.h"
#include "ui/main/WinningNumberBox.h"

namespace {

struct FitCase {
  const char* name;
  int dpi;
  int total;  // the data file's count; the entry dialog numbers the next ticket one higher
};

class TextFitTest : public UiTest, public ::testing::WithParamInterface<FitCase> {};

void ExpectFits(const QFont& font, const QRect& room, const QString& text, int dpi) {
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(qRound(dpi / 0.0254));
  device.setDotsPerMeterY(qRound(dpi / 0.0254));
  const QFontMetricsF metrics(font, &device);
  const double width =
      std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
  EXPECT_LE(width, room.width() * dpi / 96.0) << text.toStdString();
  EXPECT_LE(metrics.height(), room.height() * dpi / 96.0) << text.toStdString();
}

TEST_P(TextFitTest, EveryTextFitsInsideItsControl) {
  const int dpi = GetParam().dpi;
  WriteDataFile(Lines({"[Numbers]", ("TOTAL=" + std::to_string(GetParam().total)).c_str()}));
  frmNumberChecker& form = StartProgram();
  for (int k = 1; k <= 6; ++k) {
    const auto* box = qobject_cast<WinningNumberBox*>(WinningBox(form, k));
    ASSERT_NE(box, nullptr);
    for (int n = 0; n <= 59; ++n)
      ExpectFits(box->font(), box->TextRect(), QString::asprintf("%02d", n), dpi);
  }
  const QLabel* count = Named<QLabel>(form, "lbltotaltickets");
  ExpectFits(count->font(), count->contentsRect(), count->text(), dpi);

  Trigger(form, "mnuAddPlay");
  frmNumberEntry* entry = OpenWindow<frmNumberEntry>();
  ASSERT_NE(entry, nullptr);
  for (const QLabel* label : entry->findChildren<QLabel*>())
    ExpectFits(label->font(), label->contentsRect(), label->text(), dpi);
  // "4 of 3", and buttons that keep off the window's right edge.
  EXPECT_LT(Named<QLabel>(*entry, "lblticketnumber")->geometry().right() + 1,
            Named<QLabel>(*entry, "Label2")->x());
  EXPECT_LT(Named<QPushButton>(*entry, "cmdNext")->geometry().right() + 1, entry->width());
  EXPECT_LT(Named<QPushButton>(*entry, "cmdClear")->geometry().right() + 1, entry->width());
}

INSTANTIATE_TEST_SUITE_P(Resolutions, TextFitTest,
                         ::testing::Values(FitCase{"oneDigitAt96", 96, 3},
                                           FitCase{"oneDigitAt144", 144, 3},
                                           FitCase{"fiveDigitsAt96", 96, 32766},
                                           FitCase{"fiveDigitsAt144", 144, 32766}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
