#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <numeric>
#include <vector>

#include "check/DrawWins.h"
#include "check/Tiers.h"
#include "store/WinsSection.h"

// The wins of one draw by tier, a bar of the chart.
struct WinsBar {
  store::Day day = 0;
  int number = 0;
  check::TierCounts tiers{};

  std::uint64_t Total() const { return std::accumulate(tiers.begin(), tiers.end(), 0ull); }
};

// The bars of draws and their wins per tier, one per draw, as the Draw History window counts them.
std::vector<WinsBar> BarsOf(const std::vector<store::Draw>& draws,
                            const std::vector<check::TierCounts>& perDraw);

// A bar chart of the wins per draw, oldest draw on the left, each bar stacked by tier with the
// highest tier on top, in colours taken from the system palette; a legend names the tiers. Where
// there are more draws than the chart is wide, neighbouring draws share a bar. A screen reader
// gets the figures as the chart's description, the same text FiguresText gives.
class WinsChart : public QWidget {
  Q_OBJECT
 public:
  explicit WinsChart(QWidget* parent = nullptr);

  void SetBars(std::vector<WinsBar> bars);
  const std::vector<WinsBar>& Bars() const { return bars_; }
  // "12 draws with wins from 2025-09-06 to 2026-02-18: 40 wins (6: 0, 5 + bonus: 0, ...). Most
  // in one draw: 7, on 2026-01-10."
  QString FiguresText() const;
  // The colour of a tier's part of a bar.
  QColor TierColour(check::Tier tier) const;

  QSize sizeHint() const override { return {480, 180}; }
  QSize minimumSizeHint() const override { return {200, 120}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<WinsBar> bars_;  // oldest first
};
