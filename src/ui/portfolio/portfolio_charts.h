// The portfolio's charts, drawn with QCustomPlot from series the core computes: the
// bars of the depot sum by group or branch, and the value and profit history.
#pragma once

#include "portfolio/valuation.h"
#include "overview/fill_position.h"
#include "portfolio/value_history.h"

class QCustomPlot;

namespace q::ui {

// One bar per entry (value of the depot sum), its list name under it; the chart's
// title is `title`.
void showBars(QCustomPlot& plot, const std::vector<ListBar>& bars, const QString& title);

// "Depotentwicklung bis <last date>": the depot value and the invested sum.
void showValueHistory(QCustomPlot& plot, const std::vector<HistoryPoint>& points);

// "Gewinnentwicklung bis <last date>": the gain on the left axis, the percentage on
// the right one.
void showProfitHistory(QCustomPlot& plot, const std::vector<HistoryPoint>& points);

// The day profits of an open position (the overview's "Gewinn" page): a green bar for
// a gain, a red one for a loss; the chart's title is `title`.
void showProfitBars(QCustomPlot& plot, const std::vector<ProfitBar>& bars, const QString& title);

// The chart's title text (empty when it has none).
QString chartTitle(const QCustomPlot& plot);

}  // namespace q::ui
