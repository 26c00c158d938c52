#include "ui/wins/ClaimSheet.h"

#include <QFileInfo>
#include <QLocale>
#include <QPrinter>
#include <QTextDocument>

#include "ui/wins/WinsModel.h"

namespace {

QString Escaped(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

}  // namespace

QString ClaimSheetHtml(const check::WinsOfFile& wins, const QString& fileName) {
  const check::WinRows rows = wins.wins.Rows(check::WinState::ToClaim);
  QString html;
  html += QStringLiteral("<h2>Wins to claim</h2><p>%1<br>%2</p>")
              .arg(QFileInfo(fileName).fileName().toHtmlEscaped(),
                   QObject::tr("As of %1: %2 to claim, %3.")
                       .arg(DayText(wins.wins.Today()), WinsText(rows.size()),
                            QString::fromStdString(wins.wins.Sum(check::WinState::ToClaim).Text())
                                .toHtmlEscaped()));
  if (rows.size() == 0) {
    return html;
  }
  html += QStringLiteral(
      "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
      "<thead><tr><th>Draw</th><th>Date</th><th>Ticket</th><th>Numbers</th><th>Tier</th>"
      "<th>Prize</th><th>Deadline</th></tr></thead>");
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const check::Win win = wins.wins.At(rows.Position(r));
    const store::Draw& draw = wins.draws[win.draw];
    html += QStringLiteral(
                "<tr><td>%1</td><td>%2</td><td align=\"right\">%3</td><td>%4</td>"
                "<td>%5</td><td align=\"right\">%6</td><td>%7</td></tr>")
                .arg(draw.number > 0 ? QString::number(draw.number) : QString(), DayText(draw.date),
                     QString::number(win.ticket),
                     Escaped(wins.tickets[static_cast<std::size_t>(win.ticket - 1)]),
                     Escaped(check::TierName(win.tier)),
                     Escaped(check::PrizeText(wins.prizes, win.tier)), DayText(win.deadline));
  }
  html += QStringLiteral("</table>");
  return html;
}

void PrintClaimSheet(const QString& html, QPrinter* printer) {
  QTextDocument document;
  QFont font = document.defaultFont();
  font.setPointSize(10);
  document.setDefaultFont(font);
  document.setHtml(html);
  document.print(printer);
}

store::Result<void> SaveClaimSheetPdf(const QString& html, const QString& path,
                                      QPageSize::PageSizeId paper) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageSize(QPageSize(paper));
  printer.setDocName(QStringLiteral("Wins to claim"));
  PrintClaimSheet(html, &printer);
  if (printer.printerState() == QPrinter::Error || !QFileInfo(path).isFile()) {
    return store::Fail(path.toStdString(), "the claim sheet could not be written");
  }
  return {};
}

QPageSize::PageSizeId LocalPaper() {
  static const QList<QLocale::Territory> kLetter = {
      QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,     QLocale::Chile,
      QLocale::Colombia,     QLocale::Venezuela, QLocale::Philippines};
  return kLetter.contains(QLocale().territory()) ? QPageSize::Letter : QPageSize::A4;
}
