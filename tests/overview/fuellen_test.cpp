// The fill pass on a hand-worked series of 12 business days, 02.01.2024 to
// 17.01.2024 (today), read from real tables:
//   P = 10 11 12 11 13 14 13 15 16 15 17 18
//   V = 1000 1200 800 1000 1500 1500 900 1100 1300 1000 1400 1600
// Short average 3 days, long 5, stochastic 5 days, analysis window 7 days.
#include "base/formats.h"
#include "overview/fill_maintenance.h"
#include "overview/fuellen.h"
#include "overview/overview_figures.h"
#include "overview/price_columns.h"
#include "overview_fixture.h"
#include "support/twelve_days.h"

#include <cmath>

using namespace q;

namespace {

using qtest::kTwelveDays;
using qtest::kTwelvePrices;
using qtest::kTwelveVolumes;

class Fill : public OverviewTest {
protected:
    void SetUp() override {
        OverviewTest::SetUp();
        // Dividend 1,20, earnings 2,50, cash flow 4 per share, 50 million shares.
        firma = security("Testwerk AG", 1.2, 2.5, 4, 50e6);
        for (int i = 0; i < 12; ++i) {
            price(firma, day(kTwelveDays[i]), kTwelvePrices[i]);
            volume(firma, day(kTwelveDays[i]), kTwelveVolumes[i]);
        }
        settings.ErsterGL = 3;
        settings.ZweiterGL = 5;
        settings.StochastikTage = 5;
        settings.AnaTage = 7;
    }
    FillResult fill(bool batch = false) {
        auto s = readSecurity(*store, firma);
        EXPECT_TRUE(s.isOk());
        auto in = readFillInput(*store, *s, settings.Kursfilter ? settings.KursDatum : QDate());
        EXPECT_TRUE(in.isOk()) << in.status().message().toStdString();
        return fuellen(*in, settings, today, batch);
    }
    int firma = 0;
    FillSettings settings;
    QDate today = day("17.01.2024");
};

}  // namespace

TEST_F(Fill, AveragesStochasticAndStrengthOfTheTwelveDays) {
    const FillResult f = fill();
    ASSERT_TRUE(f.enoughPrices);
    ASSERT_EQ(f.count(), 12);
    // GL1 = (15 + 17 + 18) / 3 = 16,666…; GL2 = (15 + 16 + 15 + 17 + 18) / 5 = 16,2.
    EXPECT_NEAR(f.gl1, 50.0 / 3, 1e-12);
    EXPECT_NEAR(f.gl2, 16.2, 1e-12);
    // Until a period is full the average divides by the rows seen: day 2 (10 + 11) / 2,
    // day 4 long (10 + 11 + 12 + 11) / 4 = 11, short (11 + 12 + 11) / 3.
    EXPECT_DOUBLE_EQ(f.longAverage[1], 10.5);
    EXPECT_DOUBLE_EQ(f.longAverage[3], 11);
    EXPECT_NEAR(f.shortAverage[3], 34.0 / 3, 1e-12);
    // %K of the last three days over 5 prices: 10th (15 − 13) × 100 / (16 − 13) = 66,67;
    // 11th (17 − 13) / (17 − 13) = 100; 12th (18 − 15) / (18 − 15) = 100. Stoch 88,89.
    EXPECT_DOUBLE_EQ(f.k0, 100);
    EXPECT_DOUBLE_EQ(f.k1, 100);
    EXPECT_NEAR(f.k2, 200.0 / 3, 1e-12);
    EXPECT_EQ(f.info.stochastik.text, "88,89");
    // Strength of the last window 15 16 15 17 18: up 15 (above 13 before) + 16 + 16 +
    // 17 + 17 + 18 + 18 = 117, down 15: 100 − 100 / (1 + 7,8) = 88,636…
    EXPECT_EQ(f.info.staerke.text, "88,64");
    // Window from 10.01.: 13 … 18; display range all: 10 … 18.
    EXPECT_DOUBLE_EQ(f.windowLow, 13);
    EXPECT_DOUBLE_EQ(f.windowHigh, 18);
    EXPECT_DOUBLE_EQ(f.displayLow, 10);
    EXPECT_DOUBLE_EQ(f.firstPrice, 10);
}

TEST_F(Fill, TheBatchFillGivesTheFiguresTheRatingReads) {
    // The twelve days, then six rising days: the last windows have no falls, so the
    // strength is carried from the last window with one through
    // 100 − 100 ÷ (1 + v) per row.
    const double rising[] = {19, 20, 21, 22, 23, 24};
    for (int i = 0; i < 6; ++i) price(firma, day(kTwelveDays[11]).addDays(i + 1), rising[i]);
    today = day(kTwelveDays[11]).addDays(6);
    const FillResult window = fill(false);
    const FillResult batch = fill(true);
    ASSERT_EQ(batch.count(), 18);
    EXPECT_EQ(batch.k0, window.k0);
    EXPECT_EQ(batch.k1, window.k1);
    EXPECT_EQ(batch.k2, window.k2);
    EXPECT_EQ(batch.stoch, window.stoch);
    EXPECT_EQ(batch.strength, window.strength);
    // 19 … 24 at 1 % give bricks in every row; the batch keeps the count and the last two.
    EXPECT_EQ(batch.renkoCount, qint64(window.series.renko.size()));
    ASSERT_EQ(batch.series.renko.size(), 2u);
    EXPECT_EQ(batch.series.renko.back().close, window.series.renko.back().close);
    EXPECT_EQ(batch.series.renko.front().open, window.series.renko[window.series.renko.size() - 2].open);
    EXPECT_TRUE(batch.series.stochastic.empty());
}

TEST_F(Fill, StatisticsTextsOfTheTwelveDays) {
    const FillStatistics s = fill().statistics;
    // Mean 165 / 12 = 13,75; Σ (P − 13,75)² = 70,25, / 11 → √6,3864 = 2,527 → 2,53.
    EXPECT_EQ(s.mittelwert.text, "13,75");
    EXPECT_EQ(s.standardabweichung.text, "2,53");
    // Changes +1 +1 −1 +2 +1 −1 +2 +1 −1 +2 +1: 8 / 11 = 0,727 → 0,73.
    EXPECT_EQ(s.mittelwertKursdifferenzen.text, "0,73");
    // 5 × 0,27² + 3 × 1,73² + 3 × 1,27² = 14,1819, / 10 → √1,41819 = 1,1909 → 1,19.
    EXPECT_EQ(s.standardabweichungKursdifferenzen.text, "1,19");
    // Volumes: 14300 / 12 = 1191,67 → 1192; changes sum 600 / 11 = 54,5 → 55.
    EXPECT_EQ(s.mittelwertVolumen.text, "1192");
    EXPECT_EQ(s.mittelwertVolumendifferenzen.text, "55");
    // Σ (V − 1192)² = 769168, / 12 → √64097,3 = 253,17 → 253.
    EXPECT_EQ(s.standardabweichungVolumen.text, "253");
    // Σ (change − 55)² = 5 × 145² + 455² + 445² + 55² + 655² + 355² + 345² = 1187275,
    // / 11 → √107934 = 328,53 → 329.
    EXPECT_EQ(s.standardabweichungVolumendifferenzen.text, "329");
    // Tarnfaktor round(100000 × |2,53 − 1,19| / |253 − 329|) / 1000 = round(1763,16) / 1000;
    // Tarnrate round(1000 × |2,53 × (1 − 1,763)|) / 1000 = round(1930,39) / 1000.
    EXPECT_EQ(s.tarnfaktor.text, "1,763");
    EXPECT_EQ(s.tarnrate.text, "1,93");
    EXPECT_NEAR(*s.tarnrate.value, 2.53 * 0.763, 1e-12);
}

TEST_F(Fill, InfoTextsLimitsAndThePosition) {
    setField(firma, "Oberes_Limit", 17.5);
    // 100 shares bought 09.01. at 13,50 and held; 50 bought 03.01. at 11, sold 05.01. at 11,50.
    lot(firma, day("09.01.2024"), 100, 13.5);
    lot(firma, day("03.01.2024"), 50, 11, day("05.01.2024"), 11.5);
    const FillResult f = fill();
    const FillInfo& i = f.info;
    EXPECT_EQ(i.differenzMinMax.text, "80,00 %");       // 100 × 18 / 10 − 100
    EXPECT_EQ(i.steigerungZumMaximum.text, "0,00 %");   // the last price is the high
    EXPECT_EQ(i.zugelegtVomMinimum.text, "80,00 %");
    EXPECT_EQ(i.steigerungZeitraum.text, "80,00%");
    EXPECT_EQ(i.dividendenrendite.text, "6,67 %");      // 1,2 × 100 / 18
    EXPECT_EQ(i.kgv.text, "7,20");                      // 18 / 2,5
    EXPECT_EQ(i.kcv.text, "4,50");
    EXPECT_EQ(i.marktkapitalisierung.text, "0,900 Mrd");  // 50e6 × 18 / 1e9
    EXPECT_EQ(f.limit, LimitNotice::AboveUpper);

    // The first open lot: bought 09.01.; the highest price since is 18.
    EXPECT_EQ(f.buyDate, day("09.01.2024"));
    EXPECT_DOUBLE_EQ(f.highSinceBuy, 18);
    const Position& p = f.position;
    EXPECT_TRUE(p.showProfitPage);
    EXPECT_EQ(p.line, "        Anteile: 100,00  Ankauf: 1350,00  Wert: 1800,00  Differenz: 450,00  Prozent: 33,33%");
    // (18 × 100 / 13,5 − 100) × 10 = 333,3.
    EXPECT_EQ(p.slider, 333);
    // Bars from the first purchase (03.01.): 03.01. 50 × (11 − 11) = 0 gives none; 04.01.
    // 50 × 1 = 50; 05.01. sold that day: 50 × 0,5 = 25; 08.01. nothing held; from 09.01.
    // 100 × (P − 13,5): 50, −50, 150, 250, 150, 350, 450.
    std::vector<double> bars;
    for (const ProfitBar& b : p.bars) bars.push_back(b.profit);
    EXPECT_EQ(bars, (std::vector<double>{50, 25, 50, -50, 150, 250, 150, 350, 450}));
    EXPECT_EQ(p.bars[0].datum, dayNumber(day("04.01.2024")));
}

TEST_F(Fill, ThePriceFilterLimitsTheRangeAndTheChangesStartInsideIt) {
    settings.Kursfilter = true;
    settings.KursDatum = day("08.01.2024");
    const FillResult f = fill();
    // Displayed: 13 14 13 15 16 15 17 18 (the 11 of 05.01. stays outside the low).
    EXPECT_EQ(f.firstDisplayed, 4);
    EXPECT_DOUBLE_EQ(f.displayLow, 13);
    EXPECT_EQ(f.info.steigerungZeitraum.text, "38,46%");  // 100 × 18 / 13 − 100
    // Mean 121 / 8 = 15,125 → 15,12 (half to even).
    EXPECT_EQ(f.statistics.mittelwert.text, "15,12");
    // Changes inside the range only: +1 −1 +2 +1 −1 +2 +1, 5 / 7 → 0,71; deviation
    // 3 × 0,29² + 2 × 1,71² + 2 × 1,29² = 9,4287, / 6 → √1,5715 = 1,2536 → 1,25.
    // (With the change into the range, +2 from 11 to 13, it would be 1,36.)
    EXPECT_EQ(f.statistics.mittelwertKursdifferenzen.text, "0,71");
    EXPECT_EQ(f.statistics.standardabweichungKursdifferenzen.text, "1,25");
    EXPECT_DOUBLE_EQ(*f.stdDevDiff, 1.25);
    // Volumes of the range: 10300 / 8 = 1287,5 → 1288 (half to even).
    EXPECT_EQ(f.statistics.mittelwertVolumen.text, "1288");
    EXPECT_EQ(f.series.volumes.size(), 8u);
}

TEST_F(Fill, OnePriceOrNoneGivesEmptyValues) {
    const int lonely = security("Einzelkurs AG", 1, 1, 1, 1);
    price(lonely, day("17.01.2024"), 12);
    auto s = readSecurity(*store, lonely);
    auto in = readFillInput(*store, *s, QDate());
    const FillResult one = fuellen(*in, settings, today);
    EXPECT_FALSE(one.enoughPrices);
    EXPECT_TRUE(one.statistics.mittelwert.text.isEmpty());
    EXPECT_TRUE(one.info.stochastik.text.isEmpty());
    EXPECT_TRUE(one.info.kgv.text.isEmpty());
    const int none = security("Ohnekurs AG");
    auto empty = readFillInput(*store, *readSecurity(*store, none), QDate());
    const FillResult zero = fuellen(*empty, settings, today);
    EXPECT_FALSE(zero.enoughPrices);
    EXPECT_EQ(zero.count(), 0);
    EXPECT_TRUE(zero.info.staerke.text.isEmpty());
}

TEST_F(Fill, BadRowsAreSkippedAndOnlyZeroRowsDeleted) {
    price(firma, day("06.01.2024"), 0);   // a Saturday with price 0
    price(firma, day("13.01.2024"), -5);  // a negative price
    FillResult f = fill();
    EXPECT_EQ(f.count(), 12);
    EXPECT_EQ(f.statistics.mittelwert.text, "13,75");
    ASSERT_EQ(f.maintenance.remove, (std::vector<int>{dayNumber(day("06.01.2024"))}));
    ASSERT_TRUE(applyFillMaintenance(*store, firma, f.maintenance).isOk());
    auto rows = table("Aktien.db").count(Query::detailOf(firma));
    EXPECT_EQ(*rows, 13);  // the 12 days and the negative one, kept for the user to mend
    EXPECT_TRUE(fill().maintenance.empty());
}

TEST_F(Fill, TheStoredLongAverageIsKeptUpToDate) {
    // A price table of another program that carries `GlD`.
    store->closeAll();
    {
        auto db = Database::open(dir + "Aktien.db", Database::Mode::OpenExisting);
        ASSERT_TRUE(db.isOk());
        ASSERT_TRUE((*db)->exec("ALTER TABLE \"Aktien\" ADD COLUMN \"GlD\" MONEY REAL").isOk());
    }
    FillResult f = fill();
    ASSERT_EQ(f.maintenance.glD.size(), 12u);
    ASSERT_TRUE(applyFillMaintenance(*store, firma, f.maintenance).isOk());
    EXPECT_TRUE(fill().maintenance.empty());
    // The last day's GlD is GL2 = 16,2; its difference column 18 × 100 / 16,2 − 100 = 11,1111.
    auto s = readSecurity(*store, firma);
    auto in = readFillInput(*store, *s, QDate());
    ASSERT_TRUE(in->hasGlD);
    EXPECT_NEAR(in->prices.back().gld, 16.2, 1e-12);
    const auto columns = priceDifferences(in->prices);
    EXPECT_EQ(formatDiffGlD(columns.back().DiffGlD), "11,1111");
    // 18 × 100 / 17 − 100 = 5,88 %; the first row has no day before.
    EXPECT_EQ(formatDifferenz(columns.back().Differenz), "5,88 %");
    EXPECT_EQ(formatDifferenz(columns.front().Differenz), "0 %");
}

TEST_F(Fill, NothingIsCarriedOverFromTheSecurityBefore) {
    const FillResult first = fill();
    const int other = security("Zweitwerk AG");
    price(other, day("16.01.2024"), 50);
    price(other, day("17.01.2024"), 50);
    auto in = readFillInput(*store, *readSecurity(*store, other), QDate());
    const FillResult f = fuellen(*in, settings, today);
    // Flat prices: no high-low range, no change; no volume, no fundamentals.
    EXPECT_EQ(f.info.stochastik.text, "0,00");
    EXPECT_EQ(f.statistics.standardabweichungKursdifferenzen.text, "0");
    EXPECT_TRUE(f.statistics.mittelwertVolumen.text.isEmpty());
    EXPECT_TRUE(f.statistics.tarnrate.text.isEmpty());
    EXPECT_TRUE(f.info.kgv.text.isEmpty());
    EXPECT_TRUE(f.info.dividendenrendite.text.isEmpty());
    EXPECT_FALSE(f.position.hasLots);
    EXPECT_NE(first.info.stochastik.text, f.info.stochastik.text);
}

TEST(PanelText, VolumesGetTheirPointsAndEveryPercentItsBlank) {
    const Figure mean{"1860989", 1860989.4}, change{"-2045", -2045.2}, small{"0", 0.0};
    EXPECT_EQ(panelText({"Mittelwert der Volumen", "meanVolume", &mean, true}), "1.860.989");
    EXPECT_EQ(panelText({"Mittelwert der Volumendifferenzen", "meanVolumeChange", &change, true}), "-2.045");
    EXPECT_EQ(panelText({"Standardabweichung der Volumen", "volumeDeviation", &small, true}), "0");
    const Figure rise{"151,12%", 151.12}, spread{"1335,10 %", 1335.1}, price{"1860989", 1860989.0};
    EXPECT_EQ(panelText({"Steigerung im Darstellungszeitraum", "riseInRange", &rise}), "151,12 %");
    EXPECT_EQ(panelText({"Welche Differenz besteht zwischen Minimum und Maximum", "minMaxDifference", &spread}), "1335,10 %");
    // A figure that is no volume keeps its plain text.
    EXPECT_EQ(panelText({"Mittelwert", "mean", &price}), "1860989");
}

TEST(RenkoBricks, AMoveOfThreeAndAHalfBricksGivesThree) {
    // 100 → 103,5 with 1 %: bricks of 1,035, round(3,5 / 1,035) = round(3,38) = 3.
    const std::vector<int> days{45000, 45001};
    const auto bricks = renkoBricks(days, std::vector<double>{100, 103.5}, 1, 1);
    ASSERT_EQ(bricks.size(), 3u);
    EXPECT_DOUBLE_EQ(bricks[0].open, 100);
    EXPECT_NEAR(bricks[2].close, 103.105, 1e-9);
    EXPECT_TRUE(bricks[2].rising());
    EXPECT_NEAR(bricks[1].x, 45001 + 1.0 / 3, 1e-12);
    // A move of exactly 1 % adds none.
    EXPECT_TRUE(renkoBricks(days, std::vector<double>{100, 101}, 1, 1).empty());
    // Falling 100 → 97: bricks of 0,97, round(3 / 0,97) = 3, each open above close.
    const auto down = renkoBricks(days, std::vector<double>{100, 97}, 1, 1);
    ASSERT_EQ(down.size(), 3u);
    EXPECT_TRUE(down.back().falling());
}

TEST(Candles, TwentyFiveRowsInGroupsOfTenGiveTwo) {
    std::vector<int> days;
    std::vector<double> prices;
    for (int i = 0; i < 25; ++i) {
        days.push_back(45000 + i);
        prices.push_back(10 + (i % 7));
    }
    const auto candles = groupCandles(days, prices, 0, 10);
    ASSERT_EQ(candles.size(), 2u);
    // Rows 0–9: 10 11 12 13 14 15 16 10 11 12.
    EXPECT_DOUBLE_EQ(candles[0].open, 10);
    EXPECT_DOUBLE_EQ(candles[0].high, 16);
    EXPECT_DOUBLE_EQ(candles[0].close, 12);
    EXPECT_DOUBLE_EQ(candles[0].x, 45009);
    // Only candles dated inside the display range.
    EXPECT_EQ(groupCandles(days, prices, 12, 10).size(), 1u);
}
