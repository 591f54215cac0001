// What the three charts share: day numbers as plot keys, the settings' colours and
// pens on QCustomPlot's plottables, the date axis labelling and the chart title.
#pragma once

#include "app/chart_settings.h"
#include "overview/chart_series.h"

#include <QColor>
#include <QPen>
#include <QVector>

class QCPAbstractPlottable;
class QCPAxis;
class QCPFinancial;
class QCPGraph;
class QCustomPlot;

namespace q::charts {

// A day number (fraction: time of day) as the plot's key, seconds since 1970 in UTC.
double keyOfDay(double dayNumber);
double dayOfKey(double key);

QColor colorOf(quint32 rgb);
quint32 rgbOf(const QColor& color);
QPen penOf(const SeriesStyle& style);

// Applies colour, pen, title, legend entry and on/off of `style`.
void applyStyle(QCPAbstractPlottable& plottable, const SeriesStyle& style);

void setPoints(QCPGraph& graph, const std::vector<ChartPoint>& points);
void setCandles(QCPFinancial& financial, const std::vector<Candle>& candles);

// A date axis (UTC keys) labelled as `dateAxisLabels` says for its current range.
void labelDateAxis(QCPAxis& axis, bool afterZoom);

// The title row above the plot: created on first use.
void setChartTitle(QCustomPlot& plot, const QString& text);
QString chartTitleOf(const QCustomPlot& plot);

}  // namespace q::charts
