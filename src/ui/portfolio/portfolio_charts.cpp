#include "ui/portfolio/portfolio_charts.h"

#include "base/formats.h"

#include "charts/chart_style.h"
#include "charts/custom_plot.h"

namespace q::ui {

namespace {

void setTitle(QCustomPlot& plot, const QString& text) { charts::setChartTitle(plot, text); }

void reset(QCustomPlot& plot) {
    plot.clearPlottables();
    plot.clearGraphs();
    plot.legend->setVisible(false);
    plot.yAxis2->setVisible(false);
    plot.xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    plot.setLocale(QLocale(QLocale::German, QLocale::Germany));
}

constexpr double kDay = 86400;  // the keys are seconds

double keyOf(const QDate& date) { return charts::keyOfDay(dayNumber(date)); }

QVector<double> keys(const std::vector<HistoryPoint>& points) {
    QVector<double> k;
    for (const HistoryPoint& p : points) k << keyOf(p.datum);
    return k;
}

// The axes hold every point, also a single one, and the dates are labelled for the range.
void fitAxes(QCustomPlot& plot) {
    plot.rescaleAxes();
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis, plot.yAxis2}) {
        const QCPRange r = axis->range();
        const double least = axis == plot.xAxis ? kDay : std::max(1.0, std::abs(r.center()) * 0.05);
        if (r.size() < least) axis->setRange(r.center() - least, r.center() + least);
    }
    charts::labelDateAxis(*plot.xAxis, false);
}

// A hidden chart has no paint buffer yet; it draws itself when it is shown.
void replotIfShown(QCustomPlot& plot) {
    if (plot.isVisible()) plot.replot();
}

QString lastDate(const std::vector<HistoryPoint>& points) {
    return points.empty() ? QString() : points.back().datum.toString(QStringLiteral("dd.MM.yyyy"));
}

}  // namespace

QString chartTitle(const QCustomPlot& plot) { return charts::chartTitleOf(plot); }

void showBars(QCustomPlot& plot, const std::vector<ListBar>& bars, const QString& title) {
    reset(plot);
    setTitle(plot, title);
    auto* b = new QCPBars(plot.xAxis, plot.yAxis);
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    QVector<double> positions, values;
    const QList<QColor> colours = {QColor(70, 110, 200), QColor(220, 120, 40), QColor(60, 160, 80), QColor(200, 60, 60),
                                   QColor(140, 90, 180), QColor(40, 160, 170)};
    for (size_t i = 0; i < bars.size(); ++i) {
        positions << double(i + 1);
        values << bars[i].value;
        ticker->addTick(double(i + 1), bars[i].text.section(QLatin1Char('\n'), 0, 0));
    }
    b->setData(positions, values);
    b->setBrush(colours[0]);
    b->setPen(QPen(colours[0].darker()));
    b->setWidth(0.6);
    plot.xAxis->setTicker(ticker);
    // Names side by side would run into each other and off the chart's edge.
    plot.xAxis->setTickLabelRotation(bars.size() > 2 ? 90 : 0);
    plot.xAxis->setRange(0.4, bars.size() + 0.6);
    double top = 0;
    for (double v : values) top = std::max(top, v);
    plot.yAxis->setRange(0, top > 0 ? top * 1.1 : 1);
    replotIfShown(plot);
}

void showProfitBars(QCustomPlot& plot, const std::vector<ProfitBar>& bars, const QString& title) {
    reset(plot);
    setTitle(plot, title);
    auto* gains = new QCPBars(plot.xAxis, plot.yAxis);
    auto* losses = new QCPBars(plot.xAxis, plot.yAxis);
    QVector<double> gainDays, gainValues, lossDays, lossValues;
    double low = 0, high = 0;
    for (const ProfitBar& b : bars) {
        const double key = charts::keyOfDay(b.datum);
        (b.gain() ? gainDays : lossDays) << key;
        (b.gain() ? gainValues : lossValues) << b.profit;
        low = std::min(low, b.profit);
        high = std::max(high, b.profit);
    }
    for (auto [series, days, values, colour] : {std::tuple{gains, &gainDays, &gainValues, QColor(0, 160, 0)},
                                                std::tuple{losses, &lossDays, &lossValues, QColor(200, 0, 0)}}) {
        series->setData(*days, *values, true);
        series->setBrush(colour);
        series->setPen(Qt::NoPen);
        series->setWidth(kDay * 0.8);
    }
    if (!bars.empty()) {
        plot.xAxis->setRange(charts::keyOfDay(bars.front().datum) - kDay, charts::keyOfDay(bars.back().datum) + kDay);
        const double margin = (high - low) * 0.05 + 1e-9;
        plot.yAxis->setRange(low - margin, high + margin);
    }
    charts::labelDateAxis(*plot.xAxis, false);
    replotIfShown(plot);
}

void showValueHistory(QCustomPlot& plot, const std::vector<HistoryPoint>& points) {
    reset(plot);
    setTitle(plot, QStringLiteral("Depotentwicklung bis ") + lastDate(points));
    QVector<double> value, invested;
    for (const HistoryPoint& p : points) {
        value << p.value;
        invested << p.invested;
    }
    QCPGraph* v = plot.addGraph();
    v->setName(QStringLiteral("Depotwert"));
    v->setPen(QPen(QColor(30, 90, 200), 2));
    v->setData(keys(points), value, true);
    QCPGraph* i = plot.addGraph();
    i->setName(QStringLiteral("Anlagesumme"));
    i->setPen(QPen(QColor(200, 80, 40), 2));
    i->setData(keys(points), invested, true);
    plot.legend->setVisible(true);
    fitAxes(plot);
    replotIfShown(plot);
}

void showProfitHistory(QCustomPlot& plot, const std::vector<HistoryPoint>& points) {
    reset(plot);
    setTitle(plot, QStringLiteral("Gewinnentwicklung bis ") + lastDate(points));
    QVector<double> gain, pctKeys, pct;
    const QVector<double> k = keys(points);
    for (size_t n = 0; n < points.size(); ++n) {
        gain << points[n].gain;
        if (points[n].percent) {
            pctKeys << k[static_cast<int>(n)];
            pct << *points[n].percent;
        }
    }
    QCPGraph* g = plot.addGraph();
    g->setName(QStringLiteral("Gewinn"));
    g->setPen(QPen(QColor(40, 150, 60), 2));
    g->setData(k, gain, true);
    QCPGraph* p = plot.addGraph(plot.xAxis, plot.yAxis2);
    p->setName(QStringLiteral("Prozent"));
    p->setPen(QPen(QColor(150, 0, 0)));
    p->setData(pctKeys, pct, true);
    plot.yAxis2->setVisible(true);
    plot.legend->setVisible(true);
    fitAxes(plot);
    replotIfShown(plot);
}

}  // namespace q::ui
