// The intraday day of the charts (which table, candles of M minutes, the day candles,
// the daily close from live prices) on real tables, and the `Chart` settings subkey
// written and read back through the settings file.
#include "app/chart_settings.h"
#include "app/chart_sources.h"
#include "app/intraday_rollover.h"
#include "app/startup_fixture.h"
#include "base/formats.h"
#include "portfolio/currency.h"
#include "store/firma_hooks.h"

#include <QFile>

using namespace q;

namespace {

// 7.12.2026 is a Monday.
const QDate kMonday(2026, 12, 7);
const QDate kFriday(2026, 12, 4);
const QDate kSaturday(2026, 12, 5);

double at(const QDate& d, int h, int m) { return timestampNumber(QDateTime(d, QTime(h, m))); }

}  // namespace

TEST(IntradayDay, TheLiveTableHoldsTodayAndTheTradingDayBeforeTheWeekend) {
    EXPECT_EQ(intradaySourceFor(kFriday, kMonday, true, true), IntradaySource::Archive);
    EXPECT_EQ(intradaySourceFor(kMonday, kMonday, false, true), IntradaySource::Live);
    // On a Monday Friday's row shows the live table (not Saturday's, which has none).
    EXPECT_EQ(intradaySourceFor(kFriday, kMonday, false, true), IntradaySource::Live);
    EXPECT_EQ(intradaySourceFor(kSaturday, kMonday, false, true), IntradaySource::None);
    EXPECT_EQ(intradaySourceFor(kFriday, kSaturday, false, true), IntradaySource::Live);
    EXPECT_EQ(intradaySourceFor(kFriday.addDays(-1), kMonday, false, true), IntradaySource::None);
    EXPECT_EQ(intradaySourceFor(kMonday, kMonday, false, false), IntradaySource::None);
    EXPECT_EQ(intradayArchiveName(kFriday), "04.12.2026.DB");
}

TEST(IntradayDay, CandlesOfFifteenMinutesAlignedToTheQuarterHour) {
    // 09:07 10, 09:10 12, 09:14 9, 09:15 14 (still the first quarter), 09:16 11, 09:40 13.
    const std::vector<IntradayTick> ticks{{at(kMonday, 9, 7), 10}, {at(kMonday, 9, 10), 12}, {at(kMonday, 9, 14), 9},
                                          {at(kMonday, 9, 15), 14}, {at(kMonday, 9, 16), 11}, {at(kMonday, 9, 40), 13}};
    const auto candles = intradayCandles(ticks, 15);
    ASSERT_EQ(candles.size(), 3u);
    // 09:00–09:15, drawn at its middle 09:07:30.
    EXPECT_NEAR(candles[0].x, timestampNumber(QDateTime(kMonday, QTime(9, 7, 30))), 1e-9);
    EXPECT_DOUBLE_EQ(candles[0].open, 10);
    EXPECT_DOUBLE_EQ(candles[0].high, 14);
    EXPECT_DOUBLE_EQ(candles[0].low, 9);
    EXPECT_DOUBLE_EQ(candles[0].close, 14);
    EXPECT_NEAR(candles[1].x, timestampNumber(QDateTime(kMonday, QTime(9, 22, 30))), 1e-9);
    EXPECT_DOUBLE_EQ(candles[1].close, 11);
    EXPECT_NEAR(candles[2].x, timestampNumber(QDateTime(kMonday, QTime(9, 37, 30))), 1e-9);
    EXPECT_TRUE(intradayCandles(ticks, 0).empty());
    const auto day = dayCandle(ticks, dayNumber(kMonday));
    ASSERT_TRUE(day.has_value());
    EXPECT_DOUBLE_EQ(day->open, 10);
    EXPECT_DOUBLE_EQ(day->high, 14);
    EXPECT_DOUBLE_EQ(day->close, 13);
}

TEST(IntradayDay, OnlyTheSameDaysLivePricesRewriteItsClose) {
    IntradayDay live{IntradaySource::Live, {{at(kFriday, 17, 0), 10.5}}};
    EXPECT_EQ(dailyCloseFromIntraday(kFriday, 10.0, live), std::optional<double>(10.5));
    EXPECT_FALSE(dailyCloseFromIntraday(kFriday, 10.5, live).has_value());  // equal
    // Monday's ticks in the live table never rewrite Friday's close.
    IntradayDay monday{IntradaySource::Live, {{at(kMonday, 9, 0), 11.0}}};
    EXPECT_FALSE(dailyCloseFromIntraday(kFriday, 10.0, monday).has_value());
    IntradayDay archive{IntradaySource::Archive, {{at(kFriday, 17, 0), 10.5}}};
    EXPECT_FALSE(dailyCloseFromIntraday(kFriday, 10.0, archive).has_value());
    IntradayDay zero{IntradaySource::Live, {{at(kFriday, 17, 0), 0}}};
    EXPECT_FALSE(dailyCloseFromIntraday(kFriday, 10.0, zero).has_value());
}

namespace {

class ChartSources : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        ASSERT_TRUE(start(session, ui, false).isOk());
    }
    void tick(int firma, double zeit, double kurs) {
        Table& intraday = **session.store.table("Intraday.db");
        Record r = intraday.newRecord();
        r.set("Firma", firma), r.set("ZEIT", zeit), r.set("Kurs", kurs);
        ASSERT_TRUE(intraday.append(r).isOk());
    }
    Session session;
    ScriptedInteraction ui;
};

}  // namespace

TEST_F(ChartSources, FridaysPricesFromTheLiveTableAndThenFromTheArchive) {
    tick(7, at(kFriday, 9, 0), 20);
    tick(7, at(kFriday, 17, 30), 22);
    tick(7, at(kMonday, 9, 0), 25);
    tick(8, at(kFriday, 10, 0), 99);
    auto friday = loadIntradayDay(session, 7, kFriday, kMonday);
    ASSERT_TRUE(friday.isOk()) << friday.status().message().toStdString();
    EXPECT_EQ(friday->source, IntradaySource::Live);
    ASSERT_EQ(friday->ticks.size(), 2u);  // Friday's only, of security 7 only
    EXPECT_DOUBLE_EQ(friday->ticks.back().kurs, 22);
    EXPECT_EQ(loadIntradayDay(session, 7, kSaturday, kMonday)->source, IntradaySource::None);

    ASSERT_TRUE(intradayRollover(session.dirs, session.store).isOk());
    auto archived = loadIntradayDay(session, 7, kFriday, kMonday);
    ASSERT_TRUE(archived.isOk());
    EXPECT_EQ(archived->source, IntradaySource::Archive);
    EXPECT_EQ(archived->ticks.size(), 2u);
    // Day candles: Friday and Monday from their archives, none for the days between.
    const std::vector<int> days{dayNumber(kFriday), dayNumber(kSaturday), dayNumber(kMonday)};
    auto candles = intradayDayCandles(session.store, session.dirs.intraday, 7, days, kMonday);
    ASSERT_TRUE(candles.isOk());
    ASSERT_EQ(candles->size(), 2u);
    EXPECT_DOUBLE_EQ((*candles)[0].open, 20);
    EXPECT_DOUBLE_EQ((*candles)[0].close, 22);
    EXPECT_DOUBLE_EQ((*candles)[1].x, dayNumber(kMonday));

    // Deleting Friday's and Saturday's archives: there is only Friday's; Monday's stays.
    auto deleted = deleteIntradayArchives(session.dirs.intraday, {kFriday, kSaturday});
    ASSERT_TRUE(deleted.isOk());
    EXPECT_EQ(*deleted, 1);
    // Friday falls back to the (emptied) live table.
    EXPECT_EQ(loadIntradayDay(session, 7, kFriday, kMonday)->source, IntradaySource::Live);
    EXPECT_TRUE(loadIntradayDay(session, 7, kFriday, kMonday)->ticks.empty());
    EXPECT_EQ(loadIntradayDay(session, 7, kMonday, kMonday)->ticks.size(), 1u);
}

TEST(ChartSettings, TheSubkeyIsWrittenAnewAndReadBack) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Quintara.conf");
    SettingsStore store;
    ASSERT_TRUE(store.load(file).isOk());
    store.writeInteger(SettingsStore::kChartKey, "Veraltet", 1);
    ChartAppearance price = priceChartDesign();
    price.find("Series1")->color = 0x123456;
    price.find("Series9")->active = true;
    price.find("Series18")->markSize = 5;
    price.tools[3].penWidth = 4;
    price.axes[0].title = "Preis";
    const ChartAppearance comparison = comparisonChartDesign();
    writeChartAppearance(store, {&price, &comparison});
    ASSERT_TRUE(store.save().isOk());

    SettingsStore again;
    ASSERT_TRUE(again.load(file).isOk());
    EXPECT_FALSE(again.exists(SettingsStore::kChartKey, "Veraltet"));
    // Colours as 4 bytes red, green, blue, 0; the axis choice as one byte.
    EXPECT_EQ(again.readBytes(SettingsStore::kChartKey, "Kurs1_Series1_color").value(), QByteArray("\x12\x34\x56\x00", 4));
    EXPECT_EQ(again.readBytes(SettingsStore::kChartKey, "Kurs1_Series9_VertAxis").value(), QByteArray(1, '\1'));
    EXPECT_EQ(again.readText(SettingsStore::kChartKey, "Kurs5_DepotVergleich_Title").value(), "Depot");
    EXPECT_FALSE(again.exists(SettingsStore::kChartKey, "Kurs5_Vergleich1_VertAxis"));
    ChartAppearance read = priceChartDesign();
    readChartAppearance(again, read);
    EXPECT_EQ(read.find("Series1")->color, 0x123456u);
    EXPECT_TRUE(read.find("Series9")->active);
    EXPECT_FALSE(read.find("Series7")->active);
    EXPECT_EQ(read.find("Series18")->markSize, 5);
    EXPECT_EQ(read.tools[3].penWidth, 4);
    EXPECT_EQ(read.axes[0].title, "Preis");
    EXPECT_EQ(read.find("Series13")->title, "Bollinger Bänder");
}

TEST_F(ChartSources, NamesWithLivePricesAndTheirCourse) {
    Table& firma = **session.store.table("Firma.db");
    for (const char* name : {"Zeta AG", "Alpha AG"}) {
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", name);
        ASSERT_TRUE(appendSecurity(firma, r).isOk());
    }
    auto zeta = securityNamed(firma, "Zeta AG");
    ASSERT_TRUE(zeta.isOk() && zeta->has_value());
    tick(**zeta, at(kMonday, 10, 5), 3.5);
    tick(**zeta, at(kMonday, 9, 0), 3.0);
    auto names = intradayNames(session);
    ASSERT_TRUE(names.isOk());
    EXPECT_EQ(*names, QStringList{"Zeta AG"});
    auto course = intradayOfName(session, "zeta ag");
    ASSERT_TRUE(course.isOk());
    ASSERT_EQ(course->size(), 2u);
    EXPECT_DOUBLE_EQ(course->front().kurs, 3.0);  // in time order
    EXPECT_TRUE(intradayOfName(session, "Alpha AG")->empty());
    EXPECT_TRUE(intradayOfName(session, "Gibt es nicht")->empty());
    session.store.close("Intraday.db");
    ASSERT_TRUE(QFile::remove(session.store.path("Intraday.db")));
    EXPECT_EQ(intradayNames(session).status().message(), "Legen Sie erst die Intraday Datei mit Quintara an");
}
