#include "charts/chart_style.h"

#include "charts/custom_plot.h"
#include "charts/date_ticker.h"
#include "overview/price_chart_data.h"

namespace q::charts {

namespace {
// 30.12.1899 (day 0) is 25569 days before 1.1.1970.
constexpr double kEpochDay = 25569;
constexpr double kSecondsPerDay = 86400;
}  // namespace

double keyOfDay(double dayNumber) { return (dayNumber - kEpochDay) * kSecondsPerDay; }
double dayOfKey(double key) { return key / kSecondsPerDay + kEpochDay; }

QColor colorOf(quint32 rgb) { return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)); }
quint32 rgbOf(const QColor& c) { return (quint32(c.red()) << 16) | (quint32(c.green()) << 8) | quint32(c.blue()); }

QPen penOf(const SeriesStyle& s) {
    QPen pen(colorOf(s.color), std::max(1, s.penWidth));
    switch (s.style) {
    case LineStyle::Solid: pen.setStyle(Qt::SolidLine); break;
    case LineStyle::Dot: pen.setStyle(Qt::DotLine); break;
    case LineStyle::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case LineStyle::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    }
    return pen;
}

void applyStyle(QCPAbstractPlottable& p, const SeriesStyle& s) {
    p.setName(s.title);
    p.setVisible(s.active);
    if (auto* f = qobject_cast<QCPFinancial*>(&p)) {
        const QColor c = colorOf(s.color);
        // Rising candles filled in the series colour, falling ones white.
        f->setTwoColored(true);
        f->setBrushPositive(c);
        f->setBrushNegative(Qt::white);
        f->setPenPositive(QPen(c.darker(150)));
        f->setPenNegative(QPen(c.darker(150)));
        return;
    }
    if (auto* b = qobject_cast<QCPBars*>(&p)) {
        b->setPen(QPen(colorOf(s.color).darker(130)));
        b->setBrush(colorOf(s.color));
        return;
    }
    p.setPen(penOf(s));
    if (auto* g = qobject_cast<QCPGraph*>(&p); g && s.kind == SeriesKind::Points) {
        g->setLineStyle(QCPGraph::lsNone);
        const auto shape = s.name == series::Verkauf ? QCPScatterStyle::ssTriangleInverted : QCPScatterStyle::ssTriangle;
        g->setScatterStyle(QCPScatterStyle(shape, colorOf(s.color), colorOf(s.color), 3 * std::max(2, s.markSize)));
    }
}

void setPoints(QCPGraph& graph, const std::vector<ChartPoint>& points) {
    QVector<double> keys, values;
    keys.reserve(qsizetype(points.size()));
    values.reserve(qsizetype(points.size()));
    for (const ChartPoint& p : points) {
        keys << keyOfDay(p.x);
        values << p.y;
    }
    graph.setData(keys, values, true);
}

void setCandles(QCPFinancial& financial, const std::vector<Candle>& candles) {
    QVector<double> keys, open, high, low, close;
    for (const Candle& c : candles) {
        keys << keyOfDay(c.x);
        open << c.open;
        high << c.high;
        low << c.low;
        close << c.close;
    }
    financial.setData(keys, open, high, low, close, true);
}

void labelDateAxis(QCPAxis& axis, bool afterZoom) {
    const DateAxisLabels labels = dateAxisLabels(axis.range().size() / kSecondsPerDay, afterZoom);
    const DateUnit unit = labels.stepDays >= 365 ? DateUnit::Year : labels.stepDays >= 28 ? DateUnit::Month : DateUnit::Day;
    setDateTicks(axis, unit, labels.format, labels.minorTicks);
    axis.grid()->setVisible(labels.grid);
}

void setChartTitle(QCustomPlot& plot, const QString& text) {
    auto* layout = plot.plotLayout();
    if (auto* t = layout->rowCount() > 1 ? qobject_cast<QCPTextElement*>(layout->element(0, 0)) : nullptr) {
        t->setText(text);
        return;
    }
    layout->insertRow(0);
    QFont font = plot.font();
    font.setBold(true);
    auto* title = new QCPTextElement(&plot, text, font);
    title->setObjectName(QStringLiteral("title"));
    layout->addElement(0, 0, title);
}

QString chartTitleOf(const QCustomPlot& plot) {
    auto* layout = plot.plotLayout();
    auto* t = layout->rowCount() > 1 ? qobject_cast<QCPTextElement*>(layout->element(0, 0)) : nullptr;
    return t ? t->text() : QString();
}

}  // namespace q::charts
