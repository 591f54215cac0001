#include "charts/intraday_chart.h"

#include "base/formats.h"
#include "charts/chart_style.h"

namespace q::charts {

IntradayPlot::IntradayPlot(QWidget* parent) : QCustomPlot(parent), m_appearance(intradayChartDesign()) {
    setObjectName(QStringLiteral("intradayChart"));
    setLocale(QLocale(QLocale::German, QLocale::Germany));
    setAutoAddPlottableToLegend(false);
    m_line = new QCPGraph(xAxis, yAxis);
    m_candles = new QCPFinancial(xAxis, yAxis);
    m_candles->setChartStyle(QCPFinancial::csCandlestick);
    m_candles->setWidthType(QCPFinancial::wtPlotCoords);
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeSpec(Qt::UTC);
    ticker->setDateTimeFormat(QStringLiteral("hh:mm"));
    xAxis->setTicker(ticker);
    setChartTitle(*this, QString());
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    apply();
}

void IntradayPlot::setAppearance(const ChartAppearance& appearance) {
    m_appearance = appearance;
    apply();
    replot();
}

void IntradayPlot::apply() {
    if (const SeriesStyle* s = m_appearance.find(QStringLiteral("Series1"))) applyStyle(*m_line, *s);
    if (const SeriesStyle* s = m_appearance.find(QStringLiteral("Series2"))) applyStyle(*m_candles, *s);
    if (!m_appearance.axes.isEmpty()) yAxis->setLabel(m_appearance.axes[0].title);
}

void IntradayPlot::show(const QString& name, const QDate& day, const std::vector<IntradayTick>& ticks, int minutes) {
    std::vector<ChartPoint> points;
    for (const IntradayTick& t : ticks) points.push_back({t.zeit, t.kurs});
    setPoints(*m_line, points);
    setCandles(*m_candles, intradayCandles(ticks, minutes));
    m_candles->setWidth(minutes * 60 * 0.7);
    setChartTitle(*this, name + QStringLiteral(" - ") + formatDate(day));
    apply();
    rescaleAxes();
    if (!ticks.empty()) yAxis->scaleRange(1.1, yAxis->range().center());
    replot();
}

}  // namespace q::charts
