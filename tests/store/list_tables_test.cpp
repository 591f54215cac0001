#include "store/list_tables.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

Store storeIn(const QTemporaryDir& dir) {
    const QString d = dir.path() + "/";
    return Store({d, d, d, d});
}

}  // namespace

TEST(ListTables, GroupsComeFromGruppenTxtWhenTheTableIsCreated) {
    QTemporaryDir dir;
    qtest::writeFile(dir.filePath("Gruppen.txt"), "Alle\r\nRohstoffe\r\nAnleihen\r\n");
    Store store = storeIn(dir);
    ASSERT_TRUE(store.ensure("Gruppen.db").isOk());
    auto groups = readListTable(store, "Gruppen.db");
    ASSERT_TRUE(groups.isOk()) << groups.status().message().toStdString();
    ASSERT_EQ(groups->size(), 3u);
    EXPECT_EQ((*groups)[1].GruppenIndex, 1);
    EXPECT_EQ((*groups)[1].GruppenName, "Rohstoffe");
}

TEST(ListTables, RowsAreOrderedByNumberWithTiesInTableOrder) {
    QTemporaryDir dir;
    Store store = storeIn(dir);
    ASSERT_TRUE(store.ensure("Merkmal.db").isOk());
    Table* t = *store.table("Merkmal.db");
    for (auto [index, name] : {std::pair{2, "Ozeanien"}, std::pair{0, "Arktis"}}) {
        Record r = t->newRecord();
        r.set("GruppenIndex", index);
        r.set("GruppenName", QString::fromLatin1(name));
        ASSERT_TRUE(t->append(r).isOk());
    }
    auto features = readListTable(store, "Merkmal.db");
    ASSERT_TRUE(features.isOk());
    QStringList names;
    for (const ListEntry& e : *features) names << QString("%1 %2").arg(e.GruppenIndex).arg(e.GruppenName);
    EXPECT_EQ(names, (QStringList{"0 Weltweit", "0 Arktis", "1 Amerika", "2 Europa", "2 Ozeanien", "3 Asien", "4 Afrika"}));
}

TEST(ListTables, CurrenciesIncludeTheSeedRow) {
    QTemporaryDir dir;
    Store store = storeIn(dir);
    ASSERT_TRUE(store.ensure("Waehrung.db").isOk());
    auto currencies = readCurrencies(store);
    ASSERT_TRUE(currencies.isOk());
    ASSERT_EQ(currencies->size(), 1u);
    EXPECT_EQ(currencies->front().Name, QString::fromUtf8("keine Währung"));
}

TEST(ListTables, MissingTableIsNotFound) {
    QTemporaryDir dir;
    Store store = storeIn(dir);
    auto branches = readListTable(store, "Branchen.db");
    ASSERT_FALSE(branches.isOk());
    EXPECT_EQ(branches.status().category(), Category::NotFound);
}
