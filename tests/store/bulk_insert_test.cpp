#include "store/bulk_insert.h"
#include "store/store_fixture.h"

using namespace q;

using Bulk = StoreTest;

TEST_F(Bulk, ALoadIntoAnEmptyTableMakesItsIndexAtTheEnd) {
    createAll();
    Table& aktien = table("Aktien.db");
    {
        BulkInsert load(aktien);
        ASSERT_TRUE(load.begin().isOk());
        ASSERT_TRUE(load.add({1, 46000, 10.5}).isOk());
        // Abandoned: nothing written, and the index is still there.
    }
    EXPECT_EQ(sql(dir + "Aktien.db", "SELECT count(*) FROM Aktien"), "0");
    EXPECT_EQ(sql(dir + "Aktien.db", "SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL"), "IDatum");

    BulkInsert load(aktien);
    ASSERT_TRUE(load.begin().isOk());
    for (int day = 46000; day < 46010; ++day)
        for (int firma : {2, 1}) ASSERT_TRUE(load.add({firma, day, day / 1000.0}).isOk());
    ASSERT_TRUE(load.commit().isOk());
    EXPECT_EQ(load.added(), 20);
    EXPECT_EQ(sql(dir + "Aktien.db", "PRAGMA integrity_check"), "ok");
    Query byDate;
    byDate.order = "IDatum";
    byDate.reverse = true;
    EXPECT_EQ(*aktien.queryPlan(byDate), "SCAN Aktien USING INDEX IDatum");
    auto last = aktien.first(byDate);
    ASSERT_TRUE(last.isOk() && last->has_value());
    EXPECT_EQ((**last).value("Datum").toInt(), 46009);
    EXPECT_EQ((**last).value("Firma").toInt(), 2);
}

TEST_F(Bulk, RowsAreCheckedAsTheTableChecksThem) {
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
    EXPECT_EQ(sql(dir + "Waehrung.db", "SELECT quote(Symbol) || ' ' || Name FROM Waehrung ORDER BY Symbol"),
              QString::fromUtf8("'' keine Währung\n'CHF' Franken"));
}
