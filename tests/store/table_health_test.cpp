#include "store/catalogue.h"
#include "store/store_fixture.h"
#include "store/table_health.h"

#include <QDir>
#include <QFile>

using namespace q;
using qtest::rootPage;
using qtest::scramblePage;
using qtest::sqlNumber;

namespace {

class TableHealth : public StoreTest {
protected:
    QString pricesWith(int rows) { return fillPrices(rows, rows); }
    const Layout aktien = layoutForFile("Aktien.db");
};

}  // namespace

TEST_F(TableHealth, TheCheapCheckNamesWhatIsWrongWithTheFile) {
    qtest::writeFile(dir + "Leer.db", "");
    EXPECT_EQ(quickCheck(dir + "Leer.db", "Aktien").message(), "Die Datei " + dir + "Leer.db ist leer");
    qtest::writeFile(dir + "Brief.db", "Sehr geehrte Damen und Herren,");
    EXPECT_EQ(quickCheck(dir + "Brief.db", "Aktien").message(), "Die Datei " + dir + "Brief.db ist keine gültige Datenbank");

    // A copy cut off after its first page, as a full disk leaves it.
    const QString path = pricesWith(3000);
    const QByteArray whole = qtest::readFile(path);
    ASSERT_GT(whole.size(), 4096 * 10);
    qtest::writeFile(dir + "Halb.db", whole.left(4096 * 2));
    const Status cut = quickCheck(dir + "Halb.db", "Aktien");
    EXPECT_EQ(cut.category(), Category::Corrupt);
    EXPECT_EQ(cut.message(), QString("Die Datei %1Halb.db ist unvollständig (8192 von %2 Bytes)").arg(dir).arg(whole.size()));

    const Status other = quickCheck(path, "Volumen");
    EXPECT_EQ(other.message(), "Die Datei " + path + " enthält nicht die Tabelle Volumen");
    EXPECT_TRUE(quickCheck(path, "Aktien").isOk());
}

TEST_F(TableHealth, DamageToAnIndexIsRebuiltWithEveryRowAndDamageToTheTableIsNot) {
    const QString path = pricesWith(20000);
    const qint64 sum = sqlNumber(path, "SELECT sum(Datum) FROM Aktien");
    ASSERT_TRUE(fullCheck(path, aktien).isOk());

    // The root of the date index: the rows themselves are all still there.
    scramblePage(path, rootPage(path, "IDatum"));
    EXPECT_TRUE(quickCheck(path, "Aktien").isOk());  // the cheap check does not read the trees
    EXPECT_EQ(fullCheck(path, aktien).category(), Category::Corrupt);
    EXPECT_EQ(*diagnose(path, aktien), Damage::Indexes);
    ASSERT_TRUE(rebuildIndexes(path, aktien).isOk());
    EXPECT_EQ(*diagnose(path, aktien), Damage::None);
    EXPECT_EQ(sqlNumber(path, "SELECT count(*) FROM Aktien"), 20000);
    EXPECT_EQ(sqlNumber(path, "SELECT sum(Datum) FROM Aktien INDEXED BY IDatum"), sum);

    // The root of the table: no index brings those rows back.
    scramblePage(path, rootPage(path, "Aktien"));
    EXPECT_EQ(*diagnose(path, aktien), Damage::Table);
    EXPECT_EQ(rebuildIndexes(path, aktien).category(), Category::Corrupt);
}

TEST_F(TableHealth, AnExistingTableFileIsNeverMadeAnew) {
    // Empty, or a database without its table: both are damage, not a missing table.
    qtest::writeFile(dir + "Aktien.db", "");
    bool created = true;
    Status empty = store->ensure("Aktien.db", &created);
    EXPECT_EQ(empty.category(), Category::Corrupt);
    EXPECT_EQ(empty.message(), "Die Datei " + dir + "Aktien.db ist leer");
    EXPECT_FALSE(created);
    EXPECT_EQ(QFile(dir + "Aktien.db").size(), 0);

    ASSERT_TRUE(sqlScript(dir + "Volumen.db", "PRAGMA user_version = 3"));
    EXPECT_EQ(store->ensure("Volumen.db").message(), "Die Datei " + dir + "Volumen.db enthält nicht die Tabelle Volumen");

    // A missing file is made whole, and nothing is left beside it.
    ASSERT_TRUE(store->ensure("Firma.db", &created).isOk());
    EXPECT_TRUE(created);
    EXPECT_TRUE(quickCheck(dir + "Firma.db", "Firma").isOk());
    EXPECT_EQ(QDir(dir).entryList({"*.neu*"}, QDir::Files), QStringList());
}
