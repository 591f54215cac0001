#include "store/daily_prices.h"
#include "store/day_values.h"
#include "store/wal_checkpoint.h"
#include "store_fixture.h"

#include <QFile>

using namespace q;

namespace {

class DailyPricesTest : public StoreTest {
protected:
    Backend backend() const override { return GetParam(); }
    std::unique_ptr<DailyPrices> open() {
        createAll();
        auto p = DailyPrices::open(table("Aktien.db"), table("Volumen.db"));
        EXPECT_TRUE(p.isOk());
        return p ? std::move(*p) : nullptr;
    }
};

TEST_P(DailyPricesTest, ReplacesOrAppendsPricesAndVolumesInOneBatch) {
    auto prices = open();
    ASSERT_TRUE(prices);
    // A volume left without its price by a stopped run, and a price of the day before.
    ASSERT_TRUE(table("Volumen.db").db().exec("INSERT INTO \"Volumen\" VALUES (1, 40001, 7)").isOk());
    ASSERT_TRUE(table("Aktien.db").db().exec("INSERT INTO \"Aktien\" VALUES (1, 40000, 10.5)").isOk());
    ASSERT_TRUE(prices->begin().isOk());
    EXPECT_TRUE(prices->putPrice(1, 40000, 11.25).isOk());          // replaces
    EXPECT_TRUE(prices->putPrice(1, 40001, 12.0, true).isOk());      // appends
    EXPECT_TRUE(prices->putVolume(1, 40001, 1200).isOk());           // replaces the stray volume
    EXPECT_TRUE(prices->putVolume(1, 40002, 300).isOk());            // appends
    EXPECT_EQ(prices->putPrice(1, 40003, 0.0).category(), Category::Internal);
    ASSERT_TRUE(prices->commit().isOk());
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT \"Datum\", \"Kurs\" FROM \"Aktien\" ORDER BY \"Datum\""), "40000|11.25\n40001|12");
    EXPECT_EQ(rowsOf("Volumen.db", "SELECT \"Datum\", \"Volumen\" FROM \"Volumen\" ORDER BY \"Datum\""), "40001|1200\n40002|300");
    auto newest = prices->newest({1, 2});
    ASSERT_TRUE(newest.isOk());
    EXPECT_EQ(newest->size(), 1);
    EXPECT_EQ(newest->value(1).day, 40001);
    // On or before a day: that day's price, and none before the first.
    auto onDay = newestOnOrBefore(table("Aktien.db"), {1, 2}, 40000);
    ASSERT_TRUE(onDay.isOk());
    ASSERT_EQ(onDay->size(), 1);
    EXPECT_EQ(onDay->value(1).kurs, 11.25);
    EXPECT_TRUE(newestOnOrBefore(table("Aktien.db"), {1}, 39999)->isEmpty());
}

// The write-ahead log is the table files' own.
class DailyPricesFiles : public DailyPricesTest {
protected:
    Backend backend() const override { return Backend::Files; }
};

TEST_F(DailyPricesFiles, TheLogReachesTheTableFileAfterTheCommit) {
    auto prices = open();
    ASSERT_TRUE(prices);
    ASSERT_TRUE(prices->begin().isOk());
    for (int firma = 1; firma <= 2000; ++firma) ASSERT_TRUE(prices->putPrice(firma, 40000, 10.0 + firma, true).isOk());
    ASSERT_TRUE(prices->commit().isOk());
    waitForCheckpoints();
    // The table file alone, as a copy without its log, holds the batch.
    const QString copy = dir + "Kopie.db";
    ASSERT_TRUE(QFile::copy(dir + "Aktien.db", copy));
    EXPECT_EQ(sql(copy, "SELECT count(*) FROM Aktien"), "2000");
    // Once the batch object is gone, the connection checkpoints on its own again.
    prices.reset();
    EXPECT_EQ(sql(dir + "Aktien.db", "SELECT 1"), "1");
    auto level = table("Aktien.db").db().texts("PRAGMA wal_autocheckpoint");
    ASSERT_TRUE(level.isOk());
    EXPECT_EQ(level->value(0), "1000");
}

TEST_P(DailyPricesTest, ABatchIntoEmptyTablesLeavesTheirDateIndexesWhole) {
    auto prices = open();
    ASSERT_TRUE(prices);
    const QStringList indexes{"Aktien", "IDatum"};
    // Rolled back: nothing written, the indexes still there.
    ASSERT_TRUE(prices->begin().isOk());
    ASSERT_TRUE(prices->putPrice(1, 40000, 10.0, true).isOk());
    ASSERT_TRUE(prices->putVolume(1, 40000, 5).isOk());
    ASSERT_TRUE(prices->begin().isOk());
    EXPECT_EQ(indexesOf("Aktien.db"), indexes);
    // Committed: the rows of the first batch reach the index made at the commit, and
    // the next batch, into a table with rows, keeps it up to date row by row.
    for (int day : {40001, 40002}) {
        for (int firma = 1; firma <= 3; ++firma) {
            ASSERT_TRUE(prices->putPrice(firma, day, 10.0 + firma, true).isOk());
            ASSERT_TRUE(prices->putVolume(firma, day, 100 * firma).isOk());
        }
        ASSERT_TRUE(prices->commit().isOk());
        ASSERT_TRUE(prices->begin().isOk());
    }
    ASSERT_TRUE(prices->commit().isOk());
    EXPECT_EQ(indexesOf("Aktien.db"), indexes);
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT count(*) FROM \"Aktien\" WHERE \"Datum\" >= 40001"), "6");
    auto newest = prices->newest({1, 2, 3, 4});
    ASSERT_TRUE(newest.isOk()) << newest.status().message().toStdString();
    EXPECT_EQ(newest->size(), 3);
    EXPECT_EQ(newest->value(3).day, 40002);
    EXPECT_EQ(newest->value(3).kurs, 13.0);
    if (onServer()) return;
    EXPECT_EQ(sql(dir + "Aktien.db", "SELECT count(*) FROM Aktien INDEXED BY IDatum WHERE Datum >= 40001"), "6");
    EXPECT_EQ(sql(dir + "Aktien.db", "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(sql(dir + "Volumen.db", "PRAGMA integrity_check"), "ok");
}

// A batch writes its rows in key order when it commits, but every read of the
// batch sees them at once, and the last value of a day wins.
TEST_P(DailyPricesTest, ABatchsWaitingRowsAreSeenByItsReadsAndWrittenAtTheCommit) {
    auto prices = open();
    ASSERT_TRUE(prices);
    ASSERT_TRUE(prices->begin().isOk());
    for (int day : {40001, 40002})
        for (int firma : {3, 1, 2}) {
            ASSERT_TRUE(prices->putPrice(firma, day, firma + day / 10000.0, true).isOk());
            ASSERT_TRUE(prices->putVolume(firma, day, firma * 10).isOk());
        }
    ASSERT_TRUE(prices->putPrice(2, 40002, 99.5).isOk());   // replaces the fresh row of that day
    ASSERT_TRUE(prices->putVolume(2, 40002, 777).isOk());
    auto on = prices->priceOn(2, 40002);
    ASSERT_TRUE(on.isOk());
    EXPECT_EQ(on->value_or(0), 99.5);
    EXPECT_TRUE(*prices->hasVolume(3, 40001));
    ASSERT_TRUE(prices->putPrice(1, 40003, 5.0, true).isOk());
    auto before = prices->newestBefore(1, 40004);
    ASSERT_TRUE(before.isOk());
    EXPECT_EQ(before->value_or(DayPrice{}).day, 40003);
    ASSERT_TRUE(prices->putVolume(1, 40003, 1).isOk());
    ASSERT_TRUE(prices->putVolume(1, 40003, 2).isOk());
    ASSERT_TRUE(prices->commit().isOk());
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT \"Firma\", \"Datum\", \"Kurs\" FROM \"Aktien\" ORDER BY 1, 2"),
              "1|40001|5.0001\n1|40002|5.0002\n1|40003|5\n2|40001|6.0001\n2|40002|99.5\n3|40001|7.0001\n3|40002|7.0002");
    EXPECT_EQ(rowsOf("Volumen.db", "SELECT \"Firma\", \"Datum\", \"Volumen\" FROM \"Volumen\" ORDER BY 1, 2"),
              "1|40001|10\n1|40002|10\n1|40003|2\n2|40001|20\n2|40002|777\n3|40001|30\n3|40002|30");
    // A batch given up writes none of its waiting rows.
    ASSERT_TRUE(prices->begin().isOk());
    ASSERT_TRUE(prices->putPrice(4, 40001, 1.0, true).isOk());
    ASSERT_TRUE(prices->putVolume(4, 40001, 1).isOk());
    ASSERT_TRUE(prices->begin().isOk());
    ASSERT_TRUE(prices->commit().isOk());
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT count(*) FROM \"Aktien\" WHERE \"Firma\" = 4"), "0");
    EXPECT_EQ(rowsOf("Volumen.db", "SELECT count(*) FROM \"Volumen\" WHERE \"Firma\" = 4"), "0");
}

// A waiting row that fails to go in (here a "fresh" day that has a row) fails the
// read that wrote it and the commit; none of the batch reaches the tables.
TEST_P(DailyPricesTest, AFailedWaitingRowRollsTheWholeBatchBack) {
    auto prices = open();
    ASSERT_TRUE(prices);
    ASSERT_TRUE(table("Aktien.db").db().exec("INSERT INTO \"Aktien\" VALUES (1, 40000, 10.5)").isOk());
    ASSERT_TRUE(prices->begin().isOk());
    ASSERT_TRUE(prices->putPrice(2, 40000, 6.0, true).isOk());
    ASSERT_TRUE(prices->putPrice(1, 40000, 5.0, true).isOk());
    ASSERT_TRUE(prices->putVolume(2, 40000, 7).isOk());
    EXPECT_FALSE(prices->priceOn(2, 40000).isOk());
    EXPECT_FALSE(prices->commit().isOk());
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT \"Firma\", \"Kurs\" FROM \"Aktien\" ORDER BY 1"), "1|10.5");
    EXPECT_EQ(rowsOf("Volumen.db", "SELECT count(*) FROM \"Volumen\""), "0");
}

// One statement serves security after security: each read gets only its own
// security's days, both ends of the span included.
TEST_P(DailyPricesTest, DayValuesReadOneSecurityAfterAnother) {
    createAll();
    ASSERT_TRUE(table("Aktien.db").db().exec("INSERT INTO \"Aktien\" VALUES (1, 40000, 10.5), (1, 40001, 11), (1, 40003, 12.25), "
                                              "(2, 40001, 7), (3, 40002, 1)").isOk());
    auto values = DayValues::open(table("Aktien.db"), "Kurs");
    ASSERT_TRUE(values.isOk()) << values.status().message().toStdString();
    auto read = [&](int firma, int from, int to) {
        QStringList out;
        EXPECT_TRUE(values->read(firma, from, to, [&](const DayValue& v) { out << QStringLiteral("%1:%2").arg(v.day).arg(v.number); }).isOk());
        return out.join(' ');
    };
    EXPECT_EQ(read(1, 40001, 40003), "40001:11 40003:12.25");
    EXPECT_EQ(read(2, 0, 99999), "40001:7");
    EXPECT_EQ(read(1, std::numeric_limits<int>::min(), 40000), "40000:10.5");
    EXPECT_EQ(read(3, 40003, 40010), "");
    EXPECT_EQ(read(4, 0, 99999), "");
}

QTEST_ON_BOTH_BACKENDS(DailyPricesTest);

}  // namespace
