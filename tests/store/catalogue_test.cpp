#include "base/text_files.h"
#include "store/catalogue.h"
#include "store/schema.h"
#include "store/store_fixture.h"
#include "support/test_support.h"

using namespace q;

using Catalogue = StoreTest;

TEST_F(Catalogue, SecuritiesMasterHasItsFieldsInOrderAndNineIndexes) {
    createAll();
    const QString path = dir + "Firma.db";
    EXPECT_EQ(sql(path, "SELECT group_concat(name, ',') FROM pragma_table_info('Firma')"),
              "Firma,FirmenName,Aktiv,Kennung,Gruppe,Branche,Merkmal,Waehrung,Dividende,ZDF,N-TV,SF1,Sender4,Memo,"
              "Internet,Unteres_Limit,Oberes_Limit,Aktienzahl,Gewinn,CashFlow,ISIN,Ticker");
    auto db = Database::open(path, Database::Mode::OpenExisting);
    ASSERT_TRUE(db.isOk());
    auto names = indexNames(**db, layoutForFile("Firma.db"));
    ASSERT_TRUE(names.isOk());
    EXPECT_EQ(names->join(','), "Firma,IFirma,IZDF,IN-TV,ISF1,ISender4,IWKN,IISIN,ITicker");
}

TEST_F(Catalogue, KeysAndIndexesOfTheOtherTables) {
    createAll();
    EXPECT_EQ(sql(dir + "Aktien.db", "SELECT group_concat(name || ':' || pk, ',') FROM pragma_table_info('Aktien')"),
              "Firma:1,Datum:2,Kurs:0");
    EXPECT_EQ(sql(dir + "Aktien.db", "SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL"), "IDatum");
    EXPECT_EQ(sql(dir + "Nachrichten.db", "SELECT sql FROM sqlite_master WHERE name='Firma'"),
              "CREATE INDEX \"Firma\" ON \"Nachrichten\" (\"Firma\" DESC, \"ZEIT\" DESC)");
    // Bookings are rows of their own; the index of their order does not make them unique.
    EXPECT_EQ(sql(dir + "Transaktionen.db", "SELECT count(*) FROM pragma_table_info('Transaktionen') WHERE pk > 0"), "0");
    EXPECT_EQ(sql(dir + "Transaktionen.db", "SELECT name || ':' || \"unique\" FROM pragma_index_list('Transaktionen') ORDER BY name"),
              "Angekauft:0\nTransaktionenIndex:0");
    EXPECT_EQ(sql(dir + "Watch3.db", "SELECT name FROM sqlite_master WHERE type='table'"), "Watch3");
    // Group, branch and feature lists keep insertion order and carry no index.
    EXPECT_EQ(sql(dir + "Merkmal.db", "SELECT count(*) FROM sqlite_master WHERE type='index'"), "0");
    const Layout analyse = layoutFor(TableKind::Analyse, "Analyse");
    EXPECT_EQ(analyse.fields.size(), 72u);
    EXPECT_EQ(analyse.fields.back().name, "LinieEndeY4");
    EXPECT_EQ(analyse.indexes.size(), 32u);
}

TEST_F(Catalogue, SeedRowsOfCurrencyAndLists) {
    createAll();
    EXPECT_EQ(sql(dir + "Waehrung.db", "SELECT * FROM Waehrung"), QString::fromUtf8("|keine Währung|1.0|1|1.0"));
    EXPECT_EQ(sql(dir + "Branchen.db", "SELECT GruppenName FROM Branchen LIMIT 1"), "alle Branchen");
    EXPECT_EQ(sql(dir + "Merkmal.db", "SELECT GruppenName FROM Merkmal LIMIT 1"), "Weltweit");
    EXPECT_EQ(sql(dir + "Gruppen.db", "SELECT count(*) FROM Gruppen"), "10");
    EXPECT_EQ(sql(dir + "Gruppen.db", "SELECT GruppenName FROM Gruppen WHERE GruppenIndex=9"), "Fonds");
}

TEST_F(Catalogue, GroupsComeFromGruppenTxtWhenPresent) {
    qtest::writeFile(dir + "gruppen.TXT", QByteArray("Alle\r\nM\xe4rkte\r\nRohstoffe\r\n"));
    ASSERT_TRUE(store->ensure("Gruppen.db").isOk());
    EXPECT_EQ(sql(dir + "Gruppen.db", "SELECT GruppenIndex || '=' || GruppenName FROM Gruppen"),
              QString::fromUtf8("0=Alle\n1=Märkte\n2=Rohstoffe"));
}

TEST_F(Catalogue, AlphaSizesAndRequiredFieldsAreEnforced) {
    createAll();
    Table& firma = table("Firma.db");
    Record r = firma.newRecord();
    r.set("FirmenName", QString(31, 'x'));
    r.set("Aktiv", true);
    Status s = firma.append(r).status();
    EXPECT_EQ(s.category(), Category::Invalid);
    EXPECT_EQ(s.message(), QString::fromUtf8("Feld FirmenName der Tabelle Firma darf höchstens 30 Zeichen haben: \"%1\"").arg(QString(31, 'x')));
    r.set("FirmenName", QString());
    EXPECT_EQ(firma.append(r).status().message(), "Feld FirmenName der Tabelle Firma muss ausgefüllt sein");
    // Another program writing straight to the file meets the same limit.
    EXPECT_TRUE(sql(dir + "Firma.db", "INSERT INTO Firma (FirmenName, Aktiv) VALUES ('" + QString(31, 'y') + "', 1)")
                    .startsWith("ERROR") ||
                sql(dir + "Firma.db", "SELECT count(*) FROM Firma") == "0");
}

TEST_F(Catalogue, FilesAreFoundWhateverTheirCase) {
    createAll();
    ASSERT_TRUE(QFile::rename(dir + "Aktien.db", dir + "AKTIEN.DB"));
    store->closeAll();
    bool created = true;
    ASSERT_TRUE(store->ensure("Aktien.db", &created).isOk());
    EXPECT_FALSE(created);
    EXPECT_FALSE(QFile::exists(dir + "Aktien.db"));
    EXPECT_TRUE(store->table("aktien.db").isOk());
}

TEST_F(Catalogue, AFileThatIsNoDatabaseIsCorruptAndLeftAlone) {
    qtest::writeFile(dir + "Firma.db", "Dies ist keine Datenbank, sondern ein Brief an die Bank.\n");
    Status s = store->ensure("Firma.db");
    EXPECT_EQ(s.category(), Category::Corrupt);
    EXPECT_EQ(s.message(), QString("Die Datei %1Firma.db ist keine gültige Datenbank").arg(dir));
    EXPECT_EQ(qtest::readFile(dir + "Firma.db"), "Dies ist keine Datenbank, sondern ein Brief an die Bank.\n");
}

TEST_F(Catalogue, ATableWithMissingColumnsIsCorrupt) {
    sql(dir + "Volumen.db", "CREATE TABLE Volumen (Firma INTEGER, Datum INTEGER)");
    auto t = store->table("Volumen.db");
    ASSERT_FALSE(t.isOk());
    EXPECT_EQ(t.status().category(), Category::Corrupt);
    EXPECT_EQ(t.status().message(), QString("In der Tabelle Volumen (%1Volumen.db) fehlt das Feld Volumen").arg(dir));
}
