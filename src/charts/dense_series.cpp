#include "charts/dense_series.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace q::charts {

namespace {

// The width in pixels of `width` plot coordinates on `axis`.
double pixelWidth(const QCPAxis& axis, double width) { return std::abs(axis.coordToPixel(width) - axis.coordToPixel(0)); }

// Collects one line per pixel column from the items' spans (pixel rows `a`..`b`).
class Columns {
public:
    void add(double x, double a, double b) {
        const int column = int(std::lround(x));
        if (a > b) std::swap(a, b);
        if (column != m_column) {
            flush();
            m_column = column;
            m_top = a;
            m_bottom = b;
            return;
        }
        m_top = std::min(m_top, a);
        m_bottom = std::max(m_bottom, b);
    }
    QVector<QLineF>& lines() {
        flush();
        return m_lines;
    }

private:
    void flush() {
        if (m_column != INT_MIN) m_lines << QLineF(m_column, m_top, m_column, m_bottom);
        m_column = INT_MIN;
    }
    QVector<QLineF> m_lines;
    int m_column = INT_MIN;
    double m_top = 0;
    double m_bottom = 0;
};

void drawLines(QCPPainter* painter, const QColor& color, QVector<QLineF>& lines) {
    painter->setAntialiasing(false);
    painter->setPen(QPen(color, 1));
    painter->drawLines(lines);
}

}  // namespace

void DenseBars::draw(QCPPainter* painter) {
    QCPAxis* key = keyAxis();
    QCPAxis* value = valueAxis();
    if (!key || !value || key->orientation() != Qt::Horizontal || barBelow() || barAbove() || widthType() != wtPlotCoords ||
        !selection().isEmpty() || pixelWidth(*key, width()) >= kDenseBelowPixels) {
        QCPBars::draw(painter);
        return;
    }
    QCPBarsDataContainer::const_iterator begin, end;
    getVisibleDataBounds(begin, end);
    const double base = value->coordToPixel(baseValue());
    Columns columns;
    for (auto it = begin; it != end; ++it)
        if (!std::isnan(it->value)) columns.add(key->coordToPixel(it->key), base, value->coordToPixel(it->value));
    drawLines(painter, pen().style() == Qt::NoPen ? brush().color() : pen().color(), columns.lines());
}

void DenseCandles::draw(QCPPainter* painter) {
    QCPAxis* key = keyAxis();
    QCPAxis* value = valueAxis();
    if (!key || !value || key->orientation() != Qt::Horizontal || widthType() != wtPlotCoords || !selection().isEmpty() ||
        pixelWidth(*key, width()) >= kDenseBelowPixels) {
        QCPFinancial::draw(painter);
        return;
    }
    QCPFinancialDataContainer::const_iterator begin, end;
    getVisibleDataBounds(begin, end);
    Columns columns;
    for (auto it = begin; it != end; ++it)
        if (!std::isnan(it->high) && !std::isnan(it->low))
            columns.add(key->coordToPixel(it->key), value->coordToPixel(it->high), value->coordToPixel(it->low));
    drawLines(painter, (twoColored() ? penPositive() : pen()).color(), columns.lines());
}

void DenseGraph::draw(QCPPainter* painter) {
    m_dense = false;
    if (QCPAxis* key = keyAxis(); key && !mDataContainer->isEmpty()) {
        const QCPRange range = key->range();
        const auto visible = mDataContainer->findEnd(range.upper) - mDataContainer->findBegin(range.lower);
        m_dense = visible > std::abs(key->coordToPixel(range.upper) - key->coordToPixel(range.lower));
    }
    QCPGraph::draw(painter);
}

void DenseGraph::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    if (m_dense) painter->setAntialiasing(false);
    else QCPGraph::applyDefaultAntialiasingHint(painter);
}

void DenseGraph::drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const {
    QPen pen = painter->pen();
    if (!m_dense || painter->modes().testFlag(QCPPainter::pmVectorized) || pen.style() != Qt::SolidLine) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    if (pen.color().alpha() == 0) return;
    applyDefaultAntialiasingHint(painter);
    // A pen of w pixels as w one-pixel cosmetic pens side by side (across and down
    // in turn): a band of spikes looks the same, and the cosmetic pen is drawn
    // without the outline a wide pen is filled through, many times cheaper. Whole
    // pixel shifts keep the painter on its fast path.
    const int width = std::max(1, int(std::lround(pen.widthF())));
    pen.setWidth(0);
    painter->setPen(pen);
    for (int pass = 0; pass < width; ++pass) {
        const QPointF offset = pass % 2 ? QPointF((pass + 1) / 2, 0) : QPointF(0, pass / 2);
        painter->translate(offset);
        qsizetype start = 0;
        for (qsizetype i = 0; i <= lines.size(); ++i) {
            if (i < lines.size() && !std::isnan(lines[i].x()) && !std::isnan(lines[i].y())) continue;
            if (i - start >= 2) painter->drawPolyline(lines.constData() + start, int(i - start));
            start = i + 1;
        }
        painter->translate(-offset);
    }
}

}  // namespace q::charts
