// The series the charts draw, on hand-worked values: Renko bricks of a steep fall,
// the comparison percentages, the depot line, the limit lines, the price chart's lines
// and right axis, and the date axis labelling.
#include "analysis/security_analysis.h"
#include "base/formats.h"
#include "overview/chart_limit.h"
#include "overview/comparison.h"
#include "overview/fuellen.h"
#include "overview/price_chart_data.h"
#include "overview_fixture.h"

using namespace q;

TEST(RenkoBricks, AFallIsMeasuredOnTheHigherPriceAndAZeroReferenceGivesNone) {
    const std::vector<int> days{45000, 45001};
    // 40 → 1 at 1 %: bricks of 0,4 (1 % of 40), round(39 / 0,4) = round(97,5) = 98,
    // not the 3,900 bricks of 0,01 that 1 % of the new price would give.
    const auto fall = renkoBricks(days, std::vector<double>{40, 1}, 1, 1);
    ASSERT_EQ(fall.size(), 98u);
    EXPECT_DOUBLE_EQ(fall[0].open, 40);
    EXPECT_NEAR(fall[0].close, 39.6, 1e-12);
    EXPECT_NEAR(fall[97].close, 40 - 98 * 0.4, 1e-9);
    // The rise keeps its bricks of 1 % of the new price: 100 → 103,5 gives 3 of 1,035.
    EXPECT_EQ(renkoBricks(days, std::vector<double>{100, 103.5}, 1, 1).size(), 3u);
    // A reference price of 0 would divide by zero: no bricks.
    EXPECT_TRUE(renkoBricks(days, std::vector<double>{0, 10}, 1, 1).empty());
}

TEST(Comparison, PercentSinceTheFirstPriceOnOrAfterTheStart) {
    const std::vector<int> days{100, 101, 102, 103};
    const auto line = percentSince(days, std::vector<double>{40, 50, 55, 45}, 101);
    ASSERT_TRUE(line.has_value());
    ASSERT_EQ(line->size(), 3u);
    EXPECT_DOUBLE_EQ((*line)[0].y, 0);
    EXPECT_DOUBLE_EQ((*line)[1].y, 10);  // 55 × 100 ÷ 50 − 100
    EXPECT_DOUBLE_EQ((*line)[2].y, -10);
    EXPECT_DOUBLE_EQ((*line)[1].x, 102);
    // A first price of 0 gives no line at all; no price since the start an empty one.
    EXPECT_FALSE(percentSince(days, std::vector<double>{40, 0, 55, 45}, 101).has_value());
    EXPECT_TRUE(percentSince(days, std::vector<double>{40, 50, 55, 45}, 200)->empty());
}

TEST(Comparison, DepotLineStartsAtZero) {
    // 110/100 → 10 %, 120/100 → 20 %, a record without purchase value left out,
    // 99/90 → 10 %; less the first: 0, 10, 0. A record before the start is not drawn.
    const std::vector<HistoryRecord> records{{QDate(2026, 1, 1), 1, 100, 200},
                                             {QDate(2026, 1, 2), 1, 100, 110},
                                             {QDate(2026, 1, 3), 1, 100, 120},
                                             {QDate(2026, 1, 4), 1, 0, 50},
                                             {QDate(2026, 1, 5), 1, 90, 99}};
    const auto line = depotPercent(records, QDate(2026, 1, 2));
    ASSERT_EQ(line.size(), 3u);
    EXPECT_NEAR(line[0].y, 0, 1e-12);
    EXPECT_NEAR(line[1].y, 10, 1e-12);
    EXPECT_NEAR(line[2].y, 0, 1e-12);
    EXPECT_DOUBLE_EQ(line[2].x, dayNumber(QDate(2026, 1, 5)));
}

TEST(DateAxis, LabelsFollowTheVisibleRange) {
    EXPECT_EQ(dateAxisLabels(90, false).format, "dd.MMM.yy");
    EXPECT_EQ(dateAxisLabels(91, false).format, "MMM yyyy");
    EXPECT_EQ(dateAxisLabels(400, false).format, "MMM yyyy");
    EXPECT_EQ(dateAxisLabels(400, true).format, "yyyy");
    EXPECT_EQ(dateAxisLabels(200, true).format, "MMMM yyyy");
    const DateAxisLabels years = dateAxisLabels(500, false);
    EXPECT_EQ(years.stepDays, 365);
    EXPECT_TRUE(years.grid);
    EXPECT_FALSE(dateAxisLabels(60, false).grid);
}

namespace {

class ChartData : public OverviewTest {
protected:
    int firma = 0;
};

}  // namespace

TEST_F(ChartData, ComparisonOfStoredSecurities) {
    const int a = security("Alpha");
    const int b = security("Beta");
    price(a, day("01.12.2026"), 40);
    price(a, day("02.12.2026"), 50);
    price(a, day("03.12.2026"), 55);
    price(b, day("02.12.2026"), 0);
    price(b, day("03.12.2026"), 10);
    auto chart = readComparison(*store, {"alpha", "", "Beta", "Gibt es nicht"}, day("02.12.2026"), true);
    ASSERT_TRUE(chart.isOk()) << chart.status().message().toStdString();
    ASSERT_EQ(chart->lines.size(), 4u);
    EXPECT_TRUE(chart->lines[0].active);
    ASSERT_EQ(chart->lines[0].points.size(), 2u);
    EXPECT_DOUBLE_EQ(chart->lines[0].points[1].y, 10);
    EXPECT_FALSE(chart->lines[1].active);
    EXPECT_FALSE(chart->lines[2].active);  // first price 0
    EXPECT_FALSE(chart->lines[3].active);  // not in the master: no notice
    EXPECT_EQ(chart->notices, QStringList{"Beta: erster Kurs 0, nicht verglichen"});
    // Alpha and the depot (no history yet: an empty line): one line drawn, no legend.
    EXPECT_TRUE(chart->depot.active);
    EXPECT_TRUE(chart->depot.points.empty());
    EXPECT_FALSE(chart->legend());
}

TEST_F(ChartData, DraggedLimitIsStoredRoundedAndZeroLeavesIt) {
    firma = security("Limitwerk");
    auto upper = storeChartLimit(*store, firma, LimitLine::Upper, 12.3456);
    ASSERT_TRUE(upper.isOk()) << upper.status().message().toStdString();
    EXPECT_EQ(*upper, std::optional<double>(12.35));
    ASSERT_TRUE(storeChartLimit(*store, firma, LimitLine::Lower, 8.004).isOk());
    // 0, and what rounds to 0, leave the stored limit as it is.
    EXPECT_FALSE(storeChartLimit(*store, firma, LimitLine::Upper, 0).value().has_value());
    EXPECT_FALSE(storeChartLimit(*store, firma, LimitLine::Upper, 0.004).value().has_value());
    auto s = readSecurity(*store, firma);
    ASSERT_TRUE(s.isOk());
    EXPECT_DOUBLE_EQ(s->Oberes_Limit, 12.35);
    EXPECT_DOUBLE_EQ(s->Unteres_Limit, 8.0);
    EXPECT_EQ(storeChartLimit(*store, 999, LimitLine::Upper, 5).status().category(), Category::NotFound);
}

TEST_F(ChartData, PriceChartLinesLimitsAndRightAxis) {
    firma = security("Kurswerk");
    setField(firma, "Oberes_Limit", 12.5);
    const double prices[] = {10, 12, 8, 11};
    for (int i = 0; i < 4; ++i) price(firma, day("01.12.2026").addDays(i), prices[i]);
    FillSettings fs;
    fs.Candle_Tage = 2;
    auto s = readSecurity(*store, firma);
    auto in = readFillInput(*store, *s, QDate());
    ASSERT_TRUE(in.isOk());
    SecurityAnalysis a;
    a.fill = fuellen(*in, fs, day("04.12.2026"));
    a.lines = indicatorLines(a.fill, IndicatorPeriods{});
    PriceChartOptions o;
    o.rightAxisPercent = true;
    const PriceChartData d = priceChartData(a, o);
    EXPECT_EQ(d.title, "Kurswerk");
    ASSERT_EQ(d.line(series::Kurs).size(), 4u);
    EXPECT_DOUBLE_EQ(d.line(series::Kurs)[2].y, 8);
    // "Mittelwert": (10 + 12 + 8 + 11) ÷ 4 = 10,25 from the first day to the last.
    ASSERT_EQ(d.line(series::Mittelwert).size(), 2u);
    EXPECT_DOUBLE_EQ(d.line(series::Mittelwert)[1].y, 10.25);
    EXPECT_DOUBLE_EQ(d.line(series::Mittelwert)[1].x, dayNumber(day("04.12.2026")));
    // Two candles of two days: 10 12 and 8 11.
    ASSERT_EQ(d.candles.size(), 2u);
    EXPECT_DOUBLE_EQ(d.candles[1].low, 8);
    EXPECT_DOUBLE_EQ(d.upperLimit, 12.5);
    EXPECT_DOUBLE_EQ(d.lowerLimit, 0);
    // Not held: percent of the first price, 12 → +20 %, 8 → −20 %.
    EXPECT_TRUE(d.rightAxis.percent);
    EXPECT_EQ(d.rightAxis.title, "Prozent zum 1.Kurs");
    EXPECT_NEAR(d.rightAxis.maximum, 20, 1e-12);
    EXPECT_NEAR(d.rightAxis.minimum, -20, 1e-12);
    EXPECT_FALSE(d.currencyActive);
    EXPECT_TRUE(d.line(series::Waehrung).empty());
    // With a factor per day the second currency line is price × factor.
    o.currencyFactors = {2, 2, 2, 0.5};
    const PriceChartData converted = priceChartData(a, o);
    EXPECT_TRUE(converted.currencyActive);
    EXPECT_DOUBLE_EQ(converted.line(series::Waehrung)[3].y, 5.5);
}
