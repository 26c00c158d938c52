// The texts of the winning-number boxes, the count line and the entry dialog's bottom row fit
// inside their controls, at 96 dots per inch and at 144, where the desktop draws every control and
// every font half as large again.
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
  // The data file's count: the entry dialog shows this plus one as the ticket number.
  int total;
};

class TextFitTest : public UiTest, public ::testing::WithParamInterface<FitCase> {
 protected:
  // `text` in `font` measured at the case's resolution, against `room` grown to that resolution.
  static void ExpectFits(const QFont& font, const QRect& room, const QString& text,
                         const QString& control) {
    const int dpi = GetParam().dpi;
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(dpi / 0.0254));
    device.setDotsPerMeterY(qRound(dpi / 0.0254));
    const QFontMetricsF metrics(font, &device);
    const double scale = dpi / 96.0;
    const double width =
        std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
    EXPECT_LE(width, room.width() * scale) << control.toStdString() << ": " << text.toStdString();
    EXPECT_LE(metrics.height(), room.height() * scale)
        << control.toStdString() << ": " << text.toStdString();
  }
  static void ExpectFits(const QLabel& label, const QString& text) {
    ExpectFits(label.font(), label.contentsRect(), text, label.objectName());
  }
};

TEST_P(TextFitTest, EveryTextFitsInsideItsControl) {
  WriteDataFile(Lines({"[Numbers]", "TOTAL=0", "W=00-00-00-00-00-00"}));
  frmNumberChecker& form = StartProgram();
  for (int k = 1; k <= 6; ++k) {
    const auto* box = qobject_cast<WinningNumberBox*>(WinningBox(form, k));
    ASSERT_NE(box, nullptr);
    for (int n = 0; n <= 59; ++n)
      ExpectFits(box->font(), box->TextRect(), QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')),
                 box->objectName());
  }
  ExpectFits(*Named<QLabel>(form, "lbltotaltickets"),
             QStringLiteral("There are 32767 total tickets"));

  WriteDataFile(Lines(
      {"[Numbers]", ("TOTAL=" + std::to_string(GetParam().total)).c_str(), "W=00-00-00-00-00-00"}));
  form.OpenEntryDialog(EntryMode::Plays);
  frmNumberEntry* entry = OpenWindow<frmNumberEntry>();
  ASSERT_NE(entry, nullptr);
  for (const char* name : {"lbltktnum", "lblticketnumber", "Label2", "lbltotaltickets"}) {
    const QLabel* label = Named<QLabel>(*entry, QString::fromLatin1(name));
    ExpectFits(*label, label->text());
  }
  // "4 of 3": room between the number, right-aligned in its label, and "of".
  EXPECT_LT(Named<QLabel>(*entry, "lblticketnumber")->geometry().right() + 1,
            Named<QLabel>(*entry, "Label2")->geometry().left());
  for (const char* name : {"cmdNext", "cmdClear"})
    EXPECT_LT(Named<QPushButton>(*entry, QString::fromLatin1(name))->geometry().right() + 1,
              entry->width())
        << name << " keeps off the window's edge";
  Named<QPushButton>(*entry, "cmdDone")->click();
}

INSTANTIATE_TEST_SUITE_P(
    Resolutions, TextFitTest,
    ::testing::Values(FitCase{"oneDigitAt96", 96, 3}, FitCase{"oneDigitAt144", 144, 3},
                      FitCase{"fourDigitsAt96", 96, 9998}, FitCase{"fourDigitsAt144", 144, 9998},
                      FitCase{"fiveDigitsAt96", 96, 32766}, FitCase{"fiveDigitsAt144", 144, 32766}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
