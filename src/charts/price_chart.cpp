#include "charts/price_chart.h"

#include "base/formats.h"
#include "charts/chart_style.h"
#include "charts/dense_series.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace q::charts {

namespace {

constexpr double kDay = 86400;
// The top layer, buffered on its own: moving the cursor repaints that buffer only,
// and no third buffer has to be cleared on every replot.
const QString kCursorLayer = QStringLiteral("overlay");
const QString kAdxNeedsCandles = QStringLiteral("Für die Berechnung des ADX ist die Berechnung der Kerzen notwendig!");

QCPFinancial* candleSeries(QCPAxis* key, QCPAxis* value) {
    auto* f = new DenseCandles(key, value);
    f->setChartStyle(QCPFinancial::csCandlestick);
    f->setWidthType(QCPFinancial::wtPlotCoords);
    f->setWidth(0.7 * kDay);
    return f;
}

// Widens a found range by `r`.
void unite(QCPRange& range, bool& found, const QCPRange& r, bool rFound) {
    if (!rFound) return;
    range = found ? QCPRange(std::min(range.lower, r.lower), std::max(range.upper, r.upper)) : r;
    found = true;
}

// Sets `axis` to the range of its visible plottables inside `keys`, with a margin.
void fitAxis(QCPAxis* axis, const QCPRange& keys) {
    QCPRange range;
    bool found = false;
    for (QCPAbstractPlottable* p : axis->plottables()) {
        if (!p->visible()) continue;
        bool f = false;
        const QCPRange r = p->getValueRange(f, axis->scaleType() == QCPAxis::stLogarithmic ? QCP::sdPositive : QCP::sdBoth, keys);
        unite(range, found, r, f);
    }
    if (!found) return;
    const double margin = range.size() > 0 ? range.size() * 0.04 : std::max(1.0, std::abs(range.lower) * 0.05);
    if (axis->scaleType() == QCPAxis::stLogarithmic)
        axis->setRange(range.lower / 1.03, range.upper * 1.03);
    else
        axis->setRange(range.lower - margin, range.upper + margin);
}

}  // namespace

PriceChart::PriceChart(QWidget* parent) : QCustomPlot(parent), m_appearance(priceChartDesign()) {
    setObjectName(QStringLiteral("priceChart"));
    // Takes the keyboard on a click, for "+", "-" and "Home".
    setFocusPolicy(Qt::ClickFocus);
    build();
    applyAppearance();
}

void PriceChart::build() {
    setLocale(QLocale(QLocale::German, QLocale::Germany));
    setAutoAddPlottableToLegend(false);
    setNoAntialiasingOnDrag(true);
    // Decades of prices: thick lines drawn as polylines, the thousands of candles,
    // bricks and bars without antialiasing (they are upright rectangles anyway).
    setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
    setChartTitle(*this, QString());
    m_panel = new QCPAxisRect(this);
    plotLayout()->addElement(2, 0, m_panel);
    plotLayout()->setRowStretchFactor(1, 4);
    plotLayout()->setRowStretchFactor(2, 1);
    plotLayout()->setRowSpacing(0);
    auto* margins = new QCPMarginGroup(this);
    axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    m_panel->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    m_panel->axis(QCPAxis::atBottom)->setTickLabels(false);
    m_panel->axis(QCPAxis::atRight)->setVisible(true);
    m_panel->axis(QCPAxis::atRight)->setRange(0, 100);
    m_panel->axis(QCPAxis::atRight)->grid()->setVisible(false);
    m_currencyAxis = axisRect()->addAxis(QCPAxis::atRight);
    m_currencyAxis->setBasePen(Qt::NoPen);
    m_currencyAxis->setVisible(false);
    yAxis2->setVisible(true);
    labelDateAxis(*xAxis, false);

    for (const SeriesStyle& s : m_appearance.series) {
        QCPAbstractPlottable* p = nullptr;
        if (s.kind == SeriesKind::Candles) p = candleSeries(xAxis, yAxis);
        else if (s.kind == SeriesKind::Bars) {
            auto* bars = new DenseBars(xAxis, yAxis2);
            bars->setWidthType(QCPBars::wtPlotCoords);
            bars->setWidth(0.8 * kDay);
            p = bars;
        } else {
            auto* g = new DenseGraph(xAxis, yAxis);
            g->setAdaptiveSampling(true);
            p = g;
        }
        if (s.kind != SeriesKind::Line && s.kind != SeriesKind::Points) p->setAntialiased(false);
        p->setObjectName(s.name);
        m_plottables.insert(s.name, p);
    }
    m_bollingerLower = new QCPGraph(xAxis, yAxis);
    m_bollingerLower->setObjectName(series::BollingerUnten);

    // Limit lines: drawn in the price area, over the series.
    for (auto*& line : m_limits) {
        line = new QCPItemStraightLine(this);
        line->setClipAxisRect(axisRect());
        line->point1->setAxes(xAxis, yAxis);
        line->point2->setAxes(xAxis, yAxis);
        line->setVisible(false);
        line->setSelectable(false);
    }
    layer(kCursorLayer)->setMode(QCPLayer::lmBuffered);
    m_cursorX = new QCPItemStraightLine(this);
    m_cursorY = new QCPItemStraightLine(this);
    m_cursorText = new QCPItemText(this);
    for (QCPAbstractItem* item : {static_cast<QCPAbstractItem*>(m_cursorX), static_cast<QCPAbstractItem*>(m_cursorY),
                                  static_cast<QCPAbstractItem*>(m_cursorText)}) {
        item->setLayer(kCursorLayer);
        item->setClipAxisRect(axisRect());
        item->setSelectable(false);
        item->setVisible(false);
    }
    m_cursorX->setPen(QPen(Qt::gray, 1, Qt::DotLine));
    m_cursorY->setPen(QPen(Qt::gray, 1, Qt::DotLine));
    m_cursorText->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_cursorText->setBrush(QColor(255, 255, 225));
    m_cursorText->setPadding(QMargins(3, 1, 3, 1));
    m_cursorText->position->setType(QCPItemPosition::ptAbsolute);

    axisRect()->insetLayout()->addElement(legend, Qt::AlignBottom | Qt::AlignLeft);
    legend->setVisible(false);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setWrap(5);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectItems);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    m_panel->setRangeDrag(Qt::Horizontal);
    m_panel->setRangeZoom(Qt::Horizontal);
    m_panel->setRangeDragAxes(xAxis, nullptr);
    m_panel->setRangeZoomAxes(xAxis, nullptr);
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &PriceChart::onRangeChanged);
    connect(this, &QCustomPlot::legendClick, this, [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
        if (auto* entry = qobject_cast<QCPPlottableLegendItem*>(item)) {
            setSeriesActive(entry->plottable()->objectName(), !entry->plottable()->visible());
        }
    });
}

QCPAxis* PriceChart::valueAxis(const SeriesStyle& s) const {
    switch (s.axis) {
    case VertAxis::Left:
    case VertAxis::LeftAndRight: return yAxis;
    case VertAxis::Right: return yAxis2;
    case VertAxis::Custom: break;
    }
    if (s.customAxis == 0) return m_panel->axis(QCPAxis::atLeft);
    if (s.customAxis == 1) return m_panel->axis(QCPAxis::atRight);
    if (s.customAxis == 2) return m_currencyAxis;
    return yAxis;
}

void PriceChart::applyAppearance() {
    legend->clearItems();
    for (const SeriesStyle& s : m_appearance.series) {
        QCPAbstractPlottable* p = m_plottables.value(s.name);
        if (!p) continue;
        QCPAxis* value = valueAxis(s);
        p->setKeyAxis(value->axisRect() == m_panel ? m_panel->axis(QCPAxis::atBottom) : xAxis);
        p->setValueAxis(value);
        applyStyle(*p, s);
        if (s.name == series::Waehrung) p->setVisible(s.active && m_data.currencyActive);
        if (p->visible() && s.legend) p->addToLegend();
        if (s.name == series::Bollinger) {
            // The lower band follows the upper one.
            m_bollingerLower->setKeyAxis(p->keyAxis());
            m_bollingerLower->setValueAxis(value);
            m_bollingerLower->setPen(p->pen());
            m_bollingerLower->setVisible(p->visible());
        }
    }
    const QString names[] = {QStringLiteral("Links"), QStringLiteral("Rechts"), QStringLiteral("Unten"),
                             QStringLiteral("Momentum"), QStringLiteral("Stochastik"), QStringLiteral("Währung")};
    QCPAxis* axes[] = {yAxis, yAxis2, xAxis, m_panel->axis(QCPAxis::atLeft), m_panel->axis(QCPAxis::atRight), m_currencyAxis};
    for (int i = 0; i < 6 && i < m_appearance.axes.size(); ++i) {
        const AxisStyle& a = m_appearance.axes[i];
        if (a.name != names[i]) continue;
        axes[i]->setLabel(a.title);
        axes[i]->grid()->setVisible(a.grid && i != 2);
        if (i != 5) axes[i]->setVisible(a.visible);
    }
    const SeriesStyle* currency = m_appearance.find(series::Waehrung);
    m_currencyAxis->setVisible(currency && currency->active && m_data.currencyActive && currency->axis == VertAxis::Custom &&
                               currency->customAxis == 2);
    if (!m_appearance.tools.isEmpty()) m_drawing = m_drawing && m_appearance.tools.value(2).active;
    placeLimits();
}

void PriceChart::setAppearance(const ChartAppearance& appearance) {
    m_appearance = appearance;
    // Series the stored settings do not name keep their design.
    for (const SeriesStyle& design : priceChartDesign().series)
        if (!m_appearance.find(design.name)) m_appearance.series << design;
    applyAppearance();
    fitValueAxes();
    replot();
}

void PriceChart::setSeriesActive(const QString& name, bool active) {
    if (SeriesStyle* s = m_appearance.find(name)) s->active = active;
    applyAppearance();
    fitValueAxes();
    replot();
}

void PriceChart::clearChart(const QString& text) {
    PriceChartData empty;
    empty.title = text;
    show(empty);
}

void PriceChart::show(const PriceChartData& data) {
    m_data = data;
    // The cursor stood on the last security's prices.
    hideCursor();
    // Drawn lines belong to the security they were drawn on.
    deleteAllLines();
    for (const QString& n : data.notices) Q_EMIT notice(n);
    const SeriesStyle* adx = m_appearance.find(series::ADX);
    SeriesStyle* kerzen = m_appearance.find(series::Kerzen);
    if (adx && adx->active && kerzen && !kerzen->active) {
        Q_EMIT notice(kAdxNeedsCandles);
        kerzen->active = true;
    }
    for (auto it = m_plottables.cbegin(); it != m_plottables.cend(); ++it) {
        if (auto* g = qobject_cast<QCPGraph*>(it.value())) setPoints(*g, data.line(it.key()));
        else if (auto* f = qobject_cast<QCPFinancial*>(it.value())) setCandles(*f, it.key() == series::Renko ? data.renko : data.candles);
        else if (auto* b = qobject_cast<QCPBars*>(it.value())) {
            QVector<double> keys, values;
            for (const ChartPoint& p : data.line(it.key())) {
                keys << keyOfDay(p.x);
                values << p.y;
            }
            b->setData(keys, values, true);
        }
    }
    setPoints(*m_bollingerLower, data.line(series::BollingerUnten));
    // Several bricks of one day stand side by side: as narrow as they are close.
    double gap = 1;
    for (size_t i = 1; i < data.renko.size(); ++i)
        if (const double d = data.renko[i].x - data.renko[i - 1].x; d > 0) gap = std::min(gap, d);
    if (auto* renko = qobject_cast<QCPFinancial*>(m_plottables.value(series::Renko))) renko->setWidth(0.7 * gap * kDay);
    setChartTitle(*this, data.title);
    applyAppearance();
    zoomAll();
    replot();
}

void PriceChart::zoomAll() {
    const auto& price = m_data.line(series::Kurs);
    double first = price.empty() ? dayNumber(QDate::currentDate()) - 30 : price.front().x;
    double last = price.empty() ? first + 30 : price.back().x;
    if (!m_data.renko.empty()) last = std::max(last, m_data.renko.back().x + 1);
    if (last - first < 1) last = first + 1;
    xAxis->setRange(keyOfDay(first - 1), keyOfDay(last + 1));
    labelDateAxis(*xAxis, false);
}

void PriceChart::zoomToDays(double from, double to) { xAxis->setRange(keyOfDay(from), keyOfDay(to)); }

void PriceChart::zoomStep(bool in) {
    const QCPRange r = xAxis->range();
    // Never narrower than two days.
    if (in && r.size() * 0.8 < 2 * kDay) return;
    xAxis->scaleRange(in ? 0.8 : 1.25, r.center());
}

void PriceChart::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_drawing && axisRect()->rect().contains(event->position().toPoint())) {
        zoomAll();
        replot();
        event->accept();
        return;
    }
    QCustomPlot::mouseDoubleClickEvent(event);
}

void PriceChart::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Home: zoomAll(); break;
    case Qt::Key_Plus: zoomStep(true); break;
    case Qt::Key_Minus: zoomStep(false); break;
    default: QCustomPlot::keyPressEvent(event); return;
    }
    replot();
    event->accept();
}

void PriceChart::onRangeChanged(const QCPRange& range) {
    m_panel->axis(QCPAxis::atBottom)->setRange(range);
    labelDateAxis(*xAxis, true);
    fitValueAxes();
}

void PriceChart::fitValueAxes() {
    if (m_fitting) return;
    m_fitting = true;
    const QCPRange keys = xAxis->range();
    fitAxis(yAxis, keys);
    fitAxis(m_panel->axis(QCPAxis::atLeft), keys);
    fitAxis(m_currencyAxis, keys);
    // An axis the settings fix keeps its range.
    const std::pair<int, QCPAxis*> fixable[] = {{0, yAxis}, {3, m_panel->axis(QCPAxis::atLeft)}, {4, m_panel->axis(QCPAxis::atRight)}};
    for (const auto& [index, axis] : fixable) {
        const AxisStyle a = m_appearance.axes.value(index);
        if (!a.automatic && a.maximum > a.minimum) axis->setRange(a.minimum, a.maximum);
    }
    const SeriesStyle* volume = m_appearance.find(series::Volumen);
    const bool volumeRight = volume && volume->active && volume->axis == VertAxis::Right;
    yAxis2->setVisible(!m_log);
    if (volumeRight) {
        fitAxis(yAxis2, keys);
        yAxis2->setRangeLower(0);
        yAxis2->setLabel(QStringLiteral("Volumen"));
        yAxis2->setNumberFormat(QStringLiteral("f"));
        yAxis2->setNumberPrecision(0);
    } else if (m_data.rightAxis.percent) {
        yAxis2->setRange(m_data.rightAxis.minimum, m_data.rightAxis.maximum);
        yAxis2->setLabel(m_data.rightAxis.title + QStringLiteral(" %"));
        yAxis2->setNumberFormat(QStringLiteral("f"));
        yAxis2->setNumberPrecision(2);
    } else {
        yAxis2->setRange(yAxis->range());
        yAxis2->setLabel(m_data.rightAxis.title);
        yAxis2->setNumberFormat(QStringLiteral("gb"));
        yAxis2->setNumberPrecision(6);
    }
    m_fitting = false;
}

void PriceChart::placeLimits() {
    const double values[2] = {m_data.upperLimit, m_data.lowerLimit};
    for (int i = 0; i < 2; ++i) {
        const ToolStyle tool = m_appearance.tools.value(3 + i, ToolStyle{QString(), true, 2, 0x008000});
        m_limits[i]->point1->setCoords(0, values[i]);
        m_limits[i]->point2->setCoords(1, values[i]);
        m_limits[i]->setPen(QPen(colorOf(tool.color), std::max(1, tool.penWidth)));
        m_limits[i]->setVisible(tool.active && values[i] != 0);
    }
}

double PriceChart::limitValue(LimitLine line) const {
    const auto* item = m_limits[line == LimitLine::Upper ? 0 : 1];
    return item->visible() ? item->point1->coords().y() : 0.0;
}

QPointF PriceChart::limitPixel(LimitLine line) const {
    const QRect r = axisRect()->rect();
    return {r.center().x(), yAxis->coordToPixel(limitValue(line))};
}

void PriceChart::setLegendShown(bool on) {
    legend->setVisible(on);
    replot();
}

bool PriceChart::legendShown() const { return legend->visible(); }

void PriceChart::setLogAxis(bool on) {
    m_log = on;
    yAxis->setScaleType(on ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    if (on) yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTickerLog));
    else yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
    fitValueAxes();
    replot();
}

void PriceChart::setDrawingLines(bool on) {
    m_drawing = on;
    if (m_appearance.tools.size() > 2) m_appearance.tools[2].active = on;
}

void PriceChart::deleteSelectedLine() {
    for (auto it = m_drawn.begin(); it != m_drawn.end(); ++it) {
        if (!(*it)->selected()) continue;
        removeItem(*it);
        m_drawn.erase(it);
        replot();
        return;
    }
}

void PriceChart::deleteAllLines() {
    for (QCPItemLine* line : m_drawn) removeItem(line);
    m_drawn.clear();
}

void PriceChart::mousePressEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (event->button() == Qt::LeftButton && axisRect()->rect().contains(pos.toPoint())) {
        for (int i = 0; i < 2; ++i) {
            if (!m_limits[i]->visible()) continue;
            if (std::abs(yAxis->coordToPixel(m_limits[i]->point1->coords().y()) - pos.y()) <= 4) {
                m_dragLimit = i;
                setInteraction(QCP::iRangeDrag, false);
                event->accept();
                return;
            }
        }
        if (m_drawing) {
            auto* line = new QCPItemLine(this);
            line->setClipAxisRect(axisRect());
            const ToolStyle tool = m_appearance.tools.value(2);
            line->setPen(QPen(colorOf(tool.color), std::max(1, tool.penWidth)));
            line->start->setCoords(xAxis->pixelToCoord(pos.x()), yAxis->pixelToCoord(pos.y()));
            line->end->setCoords(line->start->coords());
            m_drawing_line = line;
            setInteraction(QCP::iRangeDrag, false);
            event->accept();
            return;
        }
    }
    QCustomPlot::mousePressEvent(event);
}

void PriceChart::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (m_dragLimit >= 0) {
        const double v = yAxis->pixelToCoord(pos.y());
        m_limits[m_dragLimit]->point1->setCoords(0, v);
        m_limits[m_dragLimit]->point2->setCoords(1, v);
        replot(rpQueuedReplot);
        return;
    }
    if (m_drawing_line) {
        m_drawing_line->end->setCoords(xAxis->pixelToCoord(pos.x()), yAxis->pixelToCoord(pos.y()));
        replot(rpQueuedReplot);
        return;
    }
    moveCursor(pos);
    QCustomPlot::mouseMoveEvent(event);
}

void PriceChart::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragLimit >= 0) {
        const int i = std::exchange(m_dragLimit, -1);
        setInteraction(QCP::iRangeDrag, true);
        const double v = m_limits[i]->point1->coords().y();
        if (i == 0) m_data.upperLimit = v;
        else m_data.lowerLimit = v;
        Q_EMIT limitDragged(i == 0 ? LimitLine::Upper : LimitLine::Lower, v);
        return;
    }
    if (m_drawing_line) {
        QCPItemLine* line = std::exchange(m_drawing_line, nullptr);
        setInteraction(QCP::iRangeDrag, true);
        if (line->start->pixelPosition() == line->end->pixelPosition()) removeItem(line);
        else m_drawn.push_back(line);
        replot();
        return;
    }
    QCustomPlot::mouseReleaseEvent(event);
}

void PriceChart::resizeEvent(QResizeEvent* event) {
    // As many date labels as the new width holds.
    labelDateAxis(*xAxis, true);
    QCustomPlot::resizeEvent(event);
}

void PriceChart::hideCursor() {
    for (QCPAbstractItem* item : {static_cast<QCPAbstractItem*>(m_cursorX), static_cast<QCPAbstractItem*>(m_cursorY),
                                  static_cast<QCPAbstractItem*>(m_cursorText)})
        item->setVisible(false);
}

void PriceChart::leaveEvent(QEvent* event) {
    hideCursor();
    layer(kCursorLayer)->replot();
    QCustomPlot::leaveEvent(event);
}

QString PriceChart::cursorText() const { return m_cursorText->visible() ? m_cursorText->text() : QString(); }

void PriceChart::moveCursor(const QPointF& pixel) {
    const ToolStyle tool = m_appearance.tools.value(0);
    const std::vector<ChartPoint>& price = m_data.line(series::Kurs);
    const QRect area = axisRect()->rect();
    if (!tool.active || !area.contains(pixel.toPoint()) || price.empty()) {
        hideCursor();
        layer(kCursorLayer)->replot();
        return;
    }
    // The day of the price line nearest to the mouse, and its price.
    const double day = dayOfKey(xAxis->pixelToCoord(pixel.x()));
    auto next = std::lower_bound(price.begin(), price.end(), day, [](const ChartPoint& p, double d) { return p.x < d; });
    if (next == price.end() || (next != price.begin() && day - std::prev(next)->x < next->x - day)) next = std::prev(next);
    const double key = keyOfDay(next->x);
    const double value = next->y;
    m_cursorX->point1->setCoords(key, 0);
    m_cursorX->point2->setCoords(key, 1);
    m_cursorY->point1->setCoords(0, value);
    m_cursorY->point2->setCoords(1, value);
    m_cursorText->setText(QStringLiteral("%1  %2").arg(formatDate(dateFromDayNumber(next->x)), formatAmount(value, m_decimals)));
    // Beside the point, on the side where the label fits inside the price area.
    const QPointF at(xAxis->coordToPixel(key), yAxis->coordToPixel(value));
    const QFontMetrics metrics(m_cursorText->font());
    const int width = metrics.horizontalAdvance(m_cursorText->text()) + 10;
    const bool left = at.x() + 8 + width > area.right();
    const bool below = at.y() - 4 - metrics.height() < area.top();
    m_cursorText->setPositionAlignment((left ? Qt::AlignRight : Qt::AlignLeft) | (below ? Qt::AlignTop : Qt::AlignBottom));
    m_cursorText->position->setCoords(at.x() + (left ? -8 : 8), at.y() + (below ? 4 : -4));
    for (QCPAbstractItem* item : {static_cast<QCPAbstractItem*>(m_cursorX), static_cast<QCPAbstractItem*>(m_cursorY),
                                  static_cast<QCPAbstractItem*>(m_cursorText)})
        item->setVisible(true);
    layer(kCursorLayer)->replot();
}

}  // namespace q::charts
