#include "base/interaction.h"
#include "store/firma_hooks.h"
#include "store/index_repair.h"
#include "store/store_fixture.h"
#include "store/table_health.h"
#include "store/upgrades.h"

#include <QFileInfo>

using namespace q;

namespace {
// The securities master of an old release: no Branche, Merkmal, limits, fundamentals, ISIN.
void writeOldFirma(const QString& path) {
    sql(path, "CREATE TABLE Firma (Firma INTEGER PRIMARY KEY, FirmenName VARCHAR(30) NOT NULL, Aktiv BOOLEAN NOT NULL, "
              "Kennung VARCHAR(16), Gruppe SMALLINT, Waehrung VARCHAR(6), Dividende MONEY REAL, ZDF VARCHAR(20), "
              "\"N-TV\" VARCHAR(20), SF1 VARCHAR(20), Sender4 VARCHAR(20), Memo MEMO TEXT, Internet VARCHAR(255))");
    sql(path, "INSERT INTO Firma VALUES (4, 'Alt AG', 1, '123456', 2, 'EUR', 1.5, 'ALT', 'ALT', 'ALT', 'ALT', 'Notiz', 'x')");
    sql(path, "INSERT INTO Firma VALUES (7, 'Kaputt AG', 0, NULL, 0, 'EUR', 0, '', '', '', '', x'c328ff', NULL)");
}
}  // namespace

using Upgrade = StoreTest;

TEST_F(Upgrade, OldSecuritiesMasterIsRebuiltOnceWithItsRecords) {
    const QString path = dir + "Firma.db";
    writeOldFirma(path);
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes};
    bool rebuilt = false;
    ASSERT_TRUE(upgradeFirma(path, ui, &rebuilt).isOk());
    EXPECT_TRUE(rebuilt);
    EXPECT_EQ(ui.titles, QStringList{"Datenbank Umstrukturierung"});
    EXPECT_EQ(ui.messages, QStringList{QString::fromUtf8("Datenbank wurde umstrukturiert! Sie könne den Wertpapieren Branchen zuordnen")});
    EXPECT_EQ(sql(path, "SELECT Firma, FirmenName, Branche, Merkmal, Memo, Dividende FROM Firma ORDER BY Firma"),
              "4|Alt AG|0|0|Notiz|1.5\n7|Kaputt AG|0|0|Musste entfernt werden|0.0");
    EXPECT_EQ(sql(path, "SELECT count(*) FROM sqlite_master WHERE type='index' AND tbl_name='Firma' AND sql IS NOT NULL"), "8");
    EXPECT_EQ(sql(path, "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'"), "Firma");

    // The new table hands out numbers after the highest old one.
    Store s({dir, dir, dir, dir});
    ScriptedInteraction again;
    ASSERT_TRUE(upgradeFirma(path, again).isOk());
    EXPECT_TRUE(again.questions.isEmpty());
    auto t = s.table("Firma.db");
    ASSERT_TRUE(t.isOk());
    Record r = (*t)->newRecord();
    r.set("FirmenName", "Neu AG");
    r.set("Aktiv", true);
    EXPECT_EQ(*(*t)->append(r), 8);
}

TEST_F(Upgrade, RefusingTheRebuildLeavesTheFileUntouched) {
    const QString path = dir + "Firma.db";
    writeOldFirma(path);
    auto dump = [&] { return sql(path, "SELECT * FROM Firma") + sql(path, "SELECT sql FROM sqlite_master"); };
    const QString before = dump();
    ScriptedInteraction ui;
    ui.answers = {Answer::No};
    EXPECT_EQ(upgradeFirma(path, ui).category(), Category::Cancelled);
    EXPECT_EQ(dump(), before);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(Upgrade, TheRebuildKeepsTheNumbersHandedOutBeforeInUse) {
    const QString path = dir + "Firma.db";
    sql(path, "CREATE TABLE Firma (Firma INTEGER PRIMARY KEY AUTOINCREMENT, FirmenName VARCHAR(30) NOT NULL, "
              "Aktiv BOOLEAN NOT NULL, Kennung VARCHAR(16), Gruppe SMALLINT, Waehrung VARCHAR(6), Dividende MONEY REAL, "
              "ZDF VARCHAR(20), \"N-TV\" VARCHAR(20), SF1 VARCHAR(20), Sender4 VARCHAR(20))");
    sql(path, "INSERT INTO Firma (FirmenName, Aktiv) VALUES ('Eins', 1), ('Zwei', 1), ('Drei', 1)");
    sql(path, "DELETE FROM Firma WHERE Firma = 3");  // its intraday prices and news stay behind
    ScriptedInteraction ui;
    ui.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes};
    ASSERT_TRUE(upgradeFirma(path, ui).isOk());
    Store s({dir, dir, dir, dir});
    auto t = s.table("Firma.db");
    ASSERT_TRUE(t.isOk()) << t.status().message().toStdString();
    Record r = (*t)->newRecord();
    r.set("FirmenName", "Neu AG");
    r.set("Aktiv", true);
    EXPECT_EQ(*appendSecurity(**t, r), 4);
}

TEST_F(Upgrade, CurrencyTableGainsItsNewFieldsAndTheSecondCurrency) {
    const QString path = dir + "Waehrung.db";
    sql(path, "CREATE TABLE Waehrung (Symbol VARCHAR(5) PRIMARY KEY, Name VARCHAR(40) NOT NULL, Faktor DOUBLE NOT NULL)");
    sql(path, QString::fromUtf8("INSERT INTO Waehrung VALUES ('', 'keine Währung', 1.0), ('USD', 'Dollar', 0.92)"));
    CurrencySettings settings{"DM", 1.95583, "EUR"};
    auto factor = upgradeWaehrung(path, settings);
    ASSERT_TRUE(factor.isOk()) << factor.status().message().toStdString();
    EXPECT_DOUBLE_EQ(**factor, 1.95583);
    EXPECT_EQ(sql(path, "SELECT Symbol || ';' || Name || ';' || Faktor || ';' || Multiplikator || ';' || Einheit FROM Waehrung ORDER BY Symbol"),
              QString::fromUtf8(";keine Währung;1.0;1;1.0\nDM;DM>>EUR;1.95583;1;1.0\nUSD;Dollar;0.92;1;1.0"));

    // Once up to date, running again changes nothing; the table's factor wins.
    sql(path, "UPDATE Waehrung SET Faktor = 2.0 WHERE Symbol = 'DM'");
    const QString before = sql(path, "SELECT * FROM Waehrung ORDER BY Symbol");
    auto again = upgradeWaehrung(path, settings);
    ASSERT_TRUE(again.isOk());
    EXPECT_DOUBLE_EQ(**again, 2.0);
    EXPECT_EQ(sql(path, "SELECT * FROM Waehrung ORDER BY Symbol"), before);
}

using IndexRepair = StoreTest;

TEST_F(IndexRepair, SecuritiesMasterWithSixIndexesIsRebuiltWithSevenLeftAlone) {
    createAll();
    store->closeAll();
    sql(dir + "Firma.db", "DROP INDEX IISIN");
    sql(dir + "Firma.db", "DROP INDEX ITicker");  // 7 names left: an older layout
    auto report = checkindex(*store);
    ASSERT_TRUE(report.isOk());
    EXPECT_FALSE(report->front().rebuilt);
    EXPECT_EQ(report->front().after.size(), 7);

    sql(dir + "Firma.db", "DROP INDEX IWKN");  // 6 names: rebuilt to all nine
    report = checkindex(*store);
    ASSERT_TRUE(report.isOk());
    EXPECT_TRUE(report->front().rebuilt);
    EXPECT_EQ(report->front().after.join(','), "Firma,IFirma,IZDF,IN-TV,ISF1,ISender4,IWKN,IISIN,ITicker");
}

TEST_F(IndexRepair, MissingIndexesOfPricesAndBookingsAreMade) {
    createAll();
    store->closeAll();
    sql(dir + "Transaktionen.db", "DROP INDEX Angekauft");
    sql(dir + "Aktien.db", "DROP INDEX IDatum");
    auto report = checkindex(*store);
    ASSERT_TRUE(report.isOk());
    QStringList rebuilt;
    for (const auto& e : *report)
        if (e.rebuilt) rebuilt << QFileInfo(e.file).fileName() + ":" + e.after.join(',');
    EXPECT_EQ(rebuilt, (QStringList{"Aktien.db:Aktien,IDatum", "Transaktionen.db:Transaktionen,Angekauft"}));
}

TEST_F(IndexRepair, ATableHeldByAnotherProgramNamesTheTable) {
    createAll();
    store->closeAll();
    sql(dir + "Volumen.db", "DROP TABLE Volumen");
    sql(dir + "Volumen.db", "CREATE TABLE Volumen (Firma INTEGER NOT NULL, Datum DATE INTEGER NOT NULL, Volumen INTEGER NOT NULL)");
    sql(dir + "Firma.db", "DROP INDEX IWKN");
    sql(dir + "Firma.db", "DROP INDEX IISIN");
    sql(dir + "Firma.db", "DROP INDEX ITicker");
    setBusyTimeout(50);
    auto holder = Database::open(dir + "Firma.db", Database::Mode::OpenExisting);
    ASSERT_TRUE(holder.isOk());
    ASSERT_TRUE((*holder)->exec("BEGIN EXCLUSIVE").isOk());
    auto report = checkindex(*store);
    setBusyTimeout(15000);
    ASSERT_FALSE(report.isOk());
    EXPECT_EQ(report.status().category(), Category::Busy);
    EXPECT_EQ(report.status().message(), QString::fromUtf8("Fehler beim anlegen der Indizes für die Datei \"Firma.db\". "
                                                           "Möglicherweise greift ein anderes Programm darauf zu!"));
}

TEST_F(IndexRepair, IntegrityCheckReportsAnIndexThatDisagreesWithItsTable) {
    createAll();
    store->closeAll();
    EXPECT_TRUE(fullCheck(dir + "Firma.db", layoutForFile("Firma.db")).isOk());
    Table& firma = table("Firma.db");
    for (const char* name : {"\xc3\x84pfel", "Birne", "\xc3\x96l AG", "Zoll"}) {
        Record r = firma.newRecord();
        r.set("FirmenName", QString::fromUtf8(name));
        r.set("Aktiv", true);
        ASSERT_TRUE(firma.append(r).isOk());
    }
    store->closeAll();
    // Another program rewrote the index definition behind the table's back:
    // its entries no longer match the rows.
    ASSERT_TRUE(sqlScript(dir + "Firma.db", "PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql = replace(sql, '\"FirmenName\"', '\"Kennung\"') WHERE name = 'IFirma'"));
    Status s = fullCheck(dir + "Firma.db", layoutForFile("Firma.db"));
    EXPECT_EQ(s.category(), Category::Corrupt);
    EXPECT_TRUE(s.message().startsWith("Indexfehler in der Datei")) << s.message().toStdString();
}
