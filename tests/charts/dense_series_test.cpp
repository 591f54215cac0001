#include "charts/dense_series.h"

#include <QImage>
#include <gtest/gtest.h>
#include <array>
#include <functional>
#include <map>

using namespace q::charts;

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// The plot rendered with one plottable that `add` puts on it, over 2,000 keys;
// `area` gets the inside of its axes.
QImage render(const std::function<void(QCustomPlot&)>& add, QRect* area = nullptr) {
    QCustomPlot plot;
    plot.resize(kWidth, kHeight);
    add(plot);
    plot.xAxis->setRange(0, 2000);
    plot.yAxis->setRange(0, 100);
    plot.xAxis->grid()->setVisible(false);
    plot.yAxis->grid()->setVisible(false);
    const QImage image = plot.toPixmap(kWidth, kHeight).toImage();
    // Clear of the axis lines themselves.
    if (area) *area = plot.axisRect()->rect().adjusted(2, 2, -2, -2);
    return image;
}

// Per pixel column of the axis rect: the highest and the lowest row in `color`
// (-1 when the column has none).
std::vector<std::pair<int, int>> extents(const QImage& image, QColor color, const QRect& area) {
    std::vector<std::pair<int, int>> out;
    for (int x = area.left(); x <= area.right(); ++x) {
        int top = -1, bottom = -1;
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (image.pixelColor(x, y) == color) {
                if (top < 0) top = y;
                bottom = y;
            }
        out.push_back({top, bottom});
    }
    return out;
}

// How many columns of `dense` no column of `plain` within one pixel either side
// matches to a pixel at both ends: an item may land on the neighbouring column.
int differingColumns(const std::vector<std::pair<int, int>>& plain, const std::vector<std::pair<int, int>>& dense) {
    int n = 0;
    for (size_t i = 0; i < dense.size(); ++i) {
        bool matched = false;
        for (size_t j = i == 0 ? 0 : i - 1; j <= i + 1 && j < plain.size() && !matched; ++j)
            matched = (plain[j].first < 0) == (dense[i].first < 0) && std::abs(plain[j].first - dense[i].first) <= 1 &&
                      std::abs(plain[j].second - dense[i].second) <= 1;
        n += !matched;
    }
    return n;
}

const QColor kColor(200, 30, 30);

// Bars and candles of 2,000 keys on 400 pixels: each pixel column shows the span of
// the items whose day falls on it (the highest bar; lowest low to highest high).
TEST(DenseSeries, EachColumnShowsTheSpanOfItsItems) {
    for (const bool candles : {false, true}) {
        QCustomPlot plot;
        plot.resize(kWidth, kHeight);
        std::vector<std::array<double, 3>> items;  // key, top value, bottom value
        for (int i = 0; i < 2000; ++i) {
            const double mid = 30 + (i * 13) % 40;
            items.push_back(candles ? std::array<double, 3>{double(i), mid + 5 + i % 3, mid - 6} : std::array<double, 3>{double(i), mid, 0});
        }
        if (candles) {
            auto* f = new DenseCandles(plot.xAxis, plot.yAxis);
            f->setWidthType(QCPFinancial::wtPlotCoords);
            f->setWidth(0.7);
            f->setTwoColored(true);
            f->setPenPositive(QPen(kColor));
            f->setPenNegative(QPen(kColor));
            for (const auto& [k, high, low] : items) f->addData(k, high - 1, high, low, low + 1);
        } else {
            auto* b = new DenseBars(plot.xAxis, plot.yAxis);
            b->setWidthType(QCPBars::wtPlotCoords);
            b->setWidth(0.8);
            b->setPen(QPen(kColor));
            for (const auto& [k, top, bottom] : items) b->addData(k, top);
        }
        plot.xAxis->setRange(0, 2000);
        plot.yAxis->setRange(0, 100);
        plot.xAxis->grid()->setVisible(false);
        plot.yAxis->grid()->setVisible(false);
        const QImage image = plot.toPixmap(kWidth, kHeight).toImage();
        std::map<int, std::pair<int, int>> expected;  // column -> rows
        for (const auto& [k, top, bottom] : items) {
            const int x = int(std::lround(plot.xAxis->coordToPixel(k)));
            const int t = int(std::lround(plot.yAxis->coordToPixel(top)));
            const int b = int(std::lround(plot.yAxis->coordToPixel(bottom)));
            auto [it, fresh] = expected.try_emplace(x, t, b);
            if (!fresh) it->second = {std::min(it->second.first, t), std::max(it->second.second, b)};
        }
        const QRect area = plot.axisRect()->rect().adjusted(2, 2, -2, -2);
        const auto drawn = extents(image, kColor, area);
        int wrong = 0;
        for (const auto& [x, rows] : expected) {
            if (!area.contains(x, area.center().y())) continue;
            const auto& [top, bottom] = drawn[size_t(x - area.left())];
            // The bars' foot lies on the axis, outside the area looked at.
            wrong += std::abs(top - rows.first) > 1 || (candles && std::abs(bottom - rows.second) > 1);
        }
        EXPECT_EQ(wrong, 0) << (candles ? "Kerzen" : "Balken");
    }
}

// A dense line covers what the point-by-point line covers, column by column.
TEST(DenseSeries, DenseLineCoversThePlainLine) {
    auto line = [](bool dense) {
        return [dense](QCustomPlot& plot) {
            QCPGraph* g = dense ? new DenseGraph(plot.xAxis, plot.yAxis) : new QCPGraph(plot.xAxis, plot.yAxis);
            g->setAdaptiveSampling(true);
            g->setAntialiased(false);
            g->setPen(QPen(kColor));
            for (int i = 0; i < 2000; ++i) g->addData(i, 50 + 30 * std::sin(i / 40.0) + (i % 7));
        };
    };
    QRect area;
    const auto plain = extents(render(line(false), &area), kColor, area);
    const auto dense = extents(render(line(true)), kColor, area);
    EXPECT_LE(differingColumns(plain, dense), area.width() / 50);
}

// Wide items are drawn one by one as before: the same picture.
TEST(DenseSeries, WideItemsAreDrawnAsBefore) {
    auto bars = [](bool dense) {
        return [dense](QCustomPlot& plot) {
            QCPBars* b = dense ? new DenseBars(plot.xAxis, plot.yAxis) : new QCPBars(plot.xAxis, plot.yAxis);
            b->setWidthType(QCPBars::wtPlotCoords);
            b->setWidth(40);
            b->setPen(QPen(kColor));
            b->setBrush(QColor(30, 30, 200));
            for (int i = 0; i < 2000; i += 50) b->addData(i, 20 + i % 60);
        };
    };
    EXPECT_EQ(render(bars(false)), render(bars(true)));
}

}  // namespace
