// Bars and candles of decades of days drawn narrower than a few pixels: drawn one
// by one they cost most of a replot, and none of them can be told apart anyway.
// Below that width each pixel column gets one upright line spanning what its
// items span (the highest bar; the lowest low to the highest high), all lines in
// one call. Wider items, other orientations and stacked bars are drawn as usual.
// Lines with more points in view than pixels across are drawn without
// antialiasing: they are a band of spikes then, and smoothing each costs most.
#pragma once

#include "charts/custom_plot.h"

namespace q::charts {

class DenseBars : public QCPBars {
public:
    using QCPBars::QCPBars;

protected:
    void draw(QCPPainter* painter) override;
};

class DenseCandles : public QCPFinancial {
public:
    using QCPFinancial::QCPFinancial;

protected:
    void draw(QCPPainter* painter) override;
};

class DenseGraph : public QCPGraph {
public:
    using QCPGraph::QCPGraph;

protected:
    void draw(QCPPainter* painter) override;
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    // Dense: each run between gaps as one polyline instead of a call per segment.
    void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override;

private:
    bool m_dense = false;  // of the draw under way
};

// Items narrower than this many pixels are drawn as lines.
inline constexpr double kDenseBelowPixels = 3.0;

}  // namespace q::charts
