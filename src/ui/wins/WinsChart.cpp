#include "ui/wins/WinsChart.h"

#include <QPainter>
#include <algorithm>

#include "store/DrawHistory.h"
#include "ui/wins/WinsModel.h"

std::vector<WinsBar> BarsOf(const std::vector<store::Draw>& draws,
                            const std::vector<check::TierCounts>& perDraw) {
  std::vector<WinsBar> bars;
  for (std::size_t d = 0; d < draws.size() && d < perDraw.size(); ++d) {
    bars.push_back({draws[d].date, draws[d].number, perDraw[d]});
  }
  return bars;
}

WinsChart::WinsChart(QWidget* parent) : QWidget(parent) {
  setAccessibleName(tr("Wins per draw"));
  setFocusPolicy(Qt::TabFocus);
  SetBars({});
}

void WinsChart::SetBars(std::vector<WinsBar> bars) {
  std::stable_sort(bars.begin(), bars.end(), [](const WinsBar& a, const WinsBar& b) {
    return a.day != b.day ? a.day < b.day : a.number < b.number;
  });
  bars_ = std::move(bars);
  setAccessibleDescription(FiguresText());
  update();
}

QString WinsChart::FiguresText() const {
  if (bars_.empty()) {
    return tr("No wins in the draws played.");
  }
  WinsBar all;
  const WinsBar* most = &bars_.front();
  for (const WinsBar& bar : bars_) {
    check::AddCounts(all.tiers, bar.tiers);
    if (bar.Total() > most->Total()) {
      most = &bar;
    }
  }
  QStringList tiers;
  for (check::Tier tier : check::kWinningTiers) {
    const std::string_view name = check::TierName(tier);
    tiers << QStringLiteral("%1: %2")
                 .arg(QString::fromUtf8(name.data(), qsizetype(name.size())))
                 .arg(all.tiers[static_cast<std::size_t>(tier)]);
  }
  return tr("%1 with wins from %2 to %3: %4 (%5). Most in one draw: %6, on %7.")
      .arg(DrawsText(bars_.size()), DayText(bars_.front().day), DayText(bars_.back().day),
           WinsText(all.Total()))
      .arg(tiers.join(QStringLiteral(", ")))
      .arg(most->Total())
      .arg(DayText(most->day));
}

QColor WinsChart::TierColour(check::Tier tier) const {
  // Six hues around the palette's highlight, lighter on a dark background and darker on a light
  // one, so each stands out from the chart's ground in any colour scheme.
  const QColor base = palette().color(QPalette::Base);
  const bool dark = base.lightness() < 128;
  const int hue = std::max(0, palette().color(QPalette::Highlight).hsvHue());
  const int step = static_cast<int>(tier) - 1;  // Two is 0
  return QColor::fromHsv((hue + step * 60) % 360, dark ? 120 : 200, dark ? 240 : 170);
}

void WinsChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.color(QPalette::Base));
  painter.setPen(colours.color(QPalette::Text));
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();
  if (hasFocus()) {
    painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
    painter.setPen(colours.color(QPalette::Text));
  }
  if (bars_.empty()) {
    painter.drawText(rect(), Qt::AlignCenter, FiguresText());
    return;
  }

  // Legend along the top, highest tier first.
  int x = 6;
  for (check::Tier tier : check::kWinningTiers) {
    const std::string_view name = check::TierName(tier);
    const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()));
    painter.fillRect(x, 4 + line / 4, line / 2, line / 2, TierColour(tier));
    x += line / 2 + 4;
    painter.drawText(x, 4 + metrics.ascent(), text);
    x += metrics.horizontalAdvance(text) + 12;
  }

  const QRect plot = rect().adjusted(metrics.horizontalAdvance(QStringLiteral("00000")) + 8,
                                     line + 10, -8, -line - 6);
  if (plot.width() < 4 || plot.height() < 4) {
    return;
  }
  // Neighbouring draws share a bar where there are more than two pixels of width per draw.
  const std::size_t columns = std::max<std::size_t>(1, static_cast<std::size_t>(plot.width() / 2));
  const std::size_t perBar = (bars_.size() + columns - 1) / columns;
  std::vector<WinsBar> shown;
  for (std::size_t i = 0; i < bars_.size(); i += perBar) {
    WinsBar bar = bars_[i];
    for (std::size_t j = i + 1; j < std::min(bars_.size(), i + perBar); ++j) {
      check::AddCounts(bar.tiers, bars_[j].tiers);
    }
    shown.push_back(bar);
  }
  std::uint64_t highest = 1;
  for (const WinsBar& bar : shown) {
    highest = std::max(highest, bar.Total());
  }

  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
  painter.drawText(QRect(0, plot.top() - line / 2, plot.left() - 4, line),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(highest));
  painter.drawText(QRect(0, plot.bottom() - line / 2, plot.left() - 4, line),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
  painter.drawText(QRect(plot.left(), plot.bottom() + 2, plot.width(), line),
                   Qt::AlignLeft | Qt::AlignTop, DayText(bars_.front().day));
  painter.drawText(QRect(plot.left(), plot.bottom() + 2, plot.width(), line),
                   Qt::AlignRight | Qt::AlignTop, DayText(bars_.back().day));

  const double width = static_cast<double>(plot.width()) / static_cast<double>(shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const double left = plot.left() + 1 + width * static_cast<double>(i);
    const double barWidth = std::max(1.0, width * 0.8);
    double bottom = plot.bottom();
    // Lowest tier at the bottom of the stack.
    for (auto tier = check::kWinningTiers.rbegin(); tier != check::kWinningTiers.rend(); ++tier) {
      const std::uint64_t n = shown[i].tiers[static_cast<std::size_t>(*tier)];
      if (n == 0) {
        continue;
      }
      const double height = static_cast<double>(plot.height() - 1) * static_cast<double>(n) /
                            static_cast<double>(highest);
      painter.fillRect(QRectF(left, bottom - height, barWidth, height), TierColour(*tier));
      bottom -= height;
    }
  }
}
