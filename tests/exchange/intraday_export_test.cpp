#include "base/formats.h"
#include "exchange/intraday_export.h"
#include "store/catalogue.h"
#include "store/firma_hooks.h"
#include "store/store.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

int at(int h, int m, int s = 0) { return h * 3600 + m * 60 + s; }

}  // namespace

TEST(IntradayBars, HalfHourBarsEndOnTheHalfHourAfterTheFirstTickAndCarryTheirOwnVolume) {
    // Running volumes 100, 150, 220 | 250 | 270.
    const std::vector<IntradayTickV> ticks{{at(10, 1), 10.0, 100}, {at(10, 14), 10.5, 150}, {at(10, 20), 9.8, 220},
                                           {at(10, 40), 10.2, 250}, {at(11, 10), 10.4, 270}};
    const auto bars = intradayBars(ticks, 30);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].end, at(10, 30));
    EXPECT_EQ(bars[0].open, 10.0);
    EXPECT_EQ(bars[0].high, 10.5);
    EXPECT_EQ(bars[0].low, 9.8);
    EXPECT_EQ(bars[0].close, 9.8);
    EXPECT_EQ(bars[0].volumen, 220);
    EXPECT_EQ(bars[1].end, at(11, 0));
    EXPECT_EQ(bars[1].volumen, 30);
    // The day's last bar carries the last tick's time.
    EXPECT_EQ(bars[2].end, at(11, 10));
    EXPECT_EQ(bars[2].volumen, 20);
}

TEST(IntradayBars, ATickAtTenSixteenOpensTheBarEndingTenThirtyAndATickOnTheEndStaysInIt) {
    const auto bars = intradayBars({{at(10, 16), 5, 0}, {at(10, 30), 6, 0}, {at(10, 30, 1), 7, 0}}, 30);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].end, at(10, 30));
    EXPECT_EQ(bars[0].close, 6);
    EXPECT_EQ(bars[1].open, 7);
    // Twelve-hour bars: at most three lines a day.
    const auto half = intradayBars({{at(0, 5), 1, 0}, {at(11, 0), 1, 0}, {at(12, 30), 1, 0}, {at(23, 59), 1, 0}}, 720);
    EXPECT_EQ(half.size(), 2u);
}

TEST(IntradayBars, PatternsOfTheOptionsWindowReadMinutesAfterTheHour) {
    const QDateTime t(QDate(2026, 1, 5), QTime(9, 7, 3));
    EXPECT_EQ(formatDatePattern(t, "ddmmyy"), "050126");
    EXPECT_EQ(formatDatePattern(t, "mmddyy"), "010526");
    EXPECT_EQ(formatDatePattern(t, "yymmdd"), "260105");
    EXPECT_EQ(formatDatePattern(t, "mm/dd/yyyy"), "01.05.2026");
    EXPECT_EQ(formatDatePattern(t, "dd.mm.yyyy"), "05.01.2026");
    EXPECT_EQ(formatDatePattern(t, "h:m"), "9:7");
    EXPECT_EQ(formatDatePattern(t, "hh:mm:ss"), "09:07:03");
    EXPECT_EQ(formatDatePattern(t, "hhmmss"), "090703");
    EXPECT_EQ(formatDatePattern(t, "hhmm"), "0907");
}

TEST(IntradayExport, WritesTheHeaderAndOneLinePerBarOfTheDaysWithADailyPrice) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    Store store(StoreDirs{dir, dir, dir, dir});
    for (const QString& f : startupTableOrder()) ASSERT_TRUE(store.ensure(f).isOk());
    ASSERT_TRUE(store.ensure("Intraday.db").isOk());
    Table& firmen = **store.table("Firma.db");
    Record s = newSecurityRecord(firmen, "EUR");
    s.set("FirmenName", "Zander AG");
    const int firma = *appendSecurity(firmen, s);
    const QDate day(2026, 1, 5);
    Record p = (*store.table("Aktien.db"))->newRecord();
    p.set("Firma", firma);
    p.set("Datum", dayNumber(day));
    p.set("Kurs", 10.4);
    ASSERT_TRUE((*store.table("Aktien.db"))->append(p).isOk());
    Table& intraday = **store.table("Intraday.db");
    const std::vector<std::tuple<int, int, double, qint64>> ticks{{10, 1, 10.0, 100}, {10, 14, 10.5, 150}, {10, 20, 9.8, 220}, {10, 40, 10.2, 250}, {11, 10, 10.4, 270}};
    for (auto [h, m, kurs, vol] : ticks) {
        Record r = intraday.newRecord();
        r.set("Firma", firma);
        r.set("ZEIT", timestampNumber(QDateTime(day, QTime(h, m))));
        r.set("Kurs", kurs);
        r.set("Volumen", vol);
        ASSERT_TRUE(intraday.append(r).isOk());
    }
    // The day before has ticks but no daily price: it is left out.
    Record early = intraday.newRecord();
    early.set("Firma", firma);
    early.set("ZEIT", timestampNumber(QDateTime(day.addDays(-1), QTime(12, 0))));
    early.set("Kurs", 1.0);
    ASSERT_TRUE(intraday.append(early).isOk());
    IntradayExportOptions o;
    o.from = day.addDays(-1);
    o.to = day;
    o.minutes = 30;
    o.intradayDir = dir + "Intraday/";
    o.today = day;  // the live table holds today's prices
    auto r = exportIntraday(store, firma, dir + "k.txt", o);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->bars, 3);
    EXPECT_EQ(qtest::readFile(dir + "k.txt"),
              "Datum Zeit Open High Low Close Volumen Last\r\n"
              "050126 10:30:00 10.000 10.500 9.800 9.800 220 9.80\r\n"
              "050126 11:00:00 10.200 10.200 10.200 10.200 30 10.20\r\n"
              "050126 11:10:00 10.400 10.400 10.400 10.400 20 10.40\r\n");
    o.minutes = 45;
    auto bad = exportIntraday(store, firma, dir + "k2.txt", o);
    ASSERT_FALSE(bad.isOk());
    EXPECT_EQ(bad.status().category(), Category::Invalid);
}
