#include "store/bulk_insert.h"
#include "store/store_fixture.h"

using namespace q;

class Bulk : public StoreTest {
protected:
    Backend backend() const override { return GetParam(); }
};

TEST_P(Bulk, ALoadIntoAnEmptyTableMakesItsIndexAtTheEnd) {
    createAll();
    Table& aktien = table("Aktien.db");
    {
        BulkInsert load(aktien);
        ASSERT_TRUE(load.begin().isOk());
        ASSERT_TRUE(load.add({1, 46000, 10.5}).isOk());
        // Abandoned: nothing written, and the index is still there.
    }
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT count(*) FROM \"Aktien\""), "0");
    EXPECT_EQ(indexesOf("Aktien.db"), (QStringList{"Aktien", "IDatum"}));

    BulkInsert load(aktien);
    ASSERT_TRUE(load.begin().isOk());
    for (int day = 46000; day < 46010; ++day)
        for (int firma : {2, 1}) ASSERT_TRUE(load.add({firma, day, day / 1000.0}).isOk());
    ASSERT_TRUE(load.commit().isOk());
    EXPECT_EQ(load.added(), 20);
    EXPECT_EQ(indexesOf("Aktien.db"), (QStringList{"Aktien", "IDatum"}));
    Query byDate;
    byDate.order = "IDatum";
    byDate.reverse = true;
    if (!onServer()) {
        EXPECT_EQ(sql(dir + "Aktien.db", "PRAGMA integrity_check"), "ok");
        EXPECT_EQ(*aktien.queryPlan(byDate), "SCAN Aktien USING INDEX IDatum");
    }
    auto last = aktien.first(byDate);
    ASSERT_TRUE(last.isOk() && last->has_value());
    EXPECT_EQ((**last).value("Datum").toInt(), 46009);
    EXPECT_EQ((**last).value("Firma").toInt(), 2);
}

TEST_P(Bulk, ADuplicateKeyFailsTheLoadAndWritesNothing) {
    createAll();
    {
        BulkInsert load(table("Aktien.db"));
        ASSERT_TRUE(load.begin().isOk());
        ASSERT_TRUE(load.add({1, 46000, 10.5}).isOk());
        // A file refuses the row at once, the server's COPY at the end of the load.
        Status twice = load.add({1, 46000, 11.0});
        if (twice) twice = load.commit();
        EXPECT_EQ(twice.message(), "Einen Datensatz mit diesem Schlüssel gibt es in der Tabelle Aktien schon");
    }
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT count(*) FROM \"Aktien\""), "0");
    // The table takes the next load as if nothing had happened.
    BulkInsert again(table("Aktien.db"));
    ASSERT_TRUE(again.begin().isOk());
    ASSERT_TRUE(again.add({1, 46000, 11.0}).isOk());
    ASSERT_TRUE(again.commit().isOk());
    EXPECT_EQ(rowsOf("Aktien.db", "SELECT \"Kurs\" FROM \"Aktien\""), "11");
}

TEST_P(Bulk, RowsAreCheckedAsTheTableChecksThem) {
    createAll();
    Table& waehrung = table("Waehrung.db");
    BulkInsert load(waehrung, BulkInsert::OnDuplicate::Ignore);
    ASSERT_TRUE(load.begin().isOk());
    // A blank currency symbol is the empty key, which the seed row holds already.
    ASSERT_TRUE(load.add({QVariant(), "ohne", 1.0, true, 1.0}).isOk());
    ASSERT_TRUE(load.add({"CHF", "Franken", 1.05, true, 1.0}).isOk());
    Status tooLong = load.add({"DOLLAR", "Dollar", 0.9, true, 1.0});
    EXPECT_EQ(tooLong.category(), Category::Invalid);
    EXPECT_EQ(tooLong.message(), QString::fromUtf8("Feld Symbol der Tabelle Waehrung darf höchstens 5 Zeichen haben: \"DOLLAR\""));
    Status noName = load.add({"GBP", QVariant(), 1.1, true, 1.0});
    EXPECT_EQ(noName.message(), QString::fromUtf8("Feld Name der Tabelle Waehrung muss ausgefüllt sein"));
    ASSERT_TRUE(load.commit().isOk());
    EXPECT_EQ(rowsOf("Waehrung.db", "SELECT \"Symbol\", \"Name\" FROM \"Waehrung\" ORDER BY \"Symbol\""),
              QString::fromUtf8("|keine Währung\nCHF|Franken"));
}

QTEST_ON_BOTH_BACKENDS(Bulk);
