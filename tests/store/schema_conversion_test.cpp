#include "store/schema_conversion.h"
#include "store/store_fixture.h"
#include "store/schema.h"

using namespace q;

using Conversion = StoreTest;

TEST_F(Conversion, OldTablesGetOpenIndexesAndKeysAndKeepEveryRow) {
    ASSERT_TRUE(qtest::writePreviousReleaseTables(dir));
    // Before: another tool cannot even check the file.
    EXPECT_TRUE(qtest::runSqlite3(dir + "Firma.db", "PRAGMA integrity_check;").err.contains("no such collation sequence: QNOCASE"));

    const ConversionReport report = convertOldTables(*store);
    EXPECT_EQ(report.converted, (QStringList{dir + "Firma.db", dir + "Waehrung.db"}));
    EXPECT_TRUE(report.failures.isEmpty()) << report.failures.join('\n').toStdString();

    auto shell = qtest::runSqlite3(dir + "Firma.db",
                                   "PRAGMA integrity_check; INSERT INTO Firma (FirmenName, Aktiv) VALUES ('Apfel KG', 1);"
                                   "SELECT count(*) FROM Firma;");
    EXPECT_EQ(shell.exitCode, 0) << shell.err.toStdString();
    EXPECT_EQ(shell.out, "ok\n4\n");
    // The rows are there in the order of IFirma, the deleted number 4 stays used.
    Query byName;
    byName.order = "IFirma";
    QStringList names;
    ASSERT_TRUE(table("Firma.db").forEach(byName, [&](const Record& r) {
        names << QStringLiteral("%1 %2").arg(r.value("Firma").toInt()).arg(r.value("FirmenName").toString());
        return true;
    }).isOk());
    EXPECT_EQ(names, (QStringList{"5 Apfel KG", QString::fromUtf8("2 Öl und Gas"), QString::fromUtf8("3 Straße AG"), "1 Zander AG"}));
    Query station;
    station.equalNoCase.push_back({"ZDF", "strasse"});
    EXPECT_EQ(*table("Firma.db").count(station), 1);

    // The empty currency symbol is a value; NULL is refused from now on.
    EXPECT_EQ(sql(dir + "Waehrung.db", "SELECT quote(Symbol) || Name FROM Waehrung ORDER BY Symbol"),
              QString::fromUtf8("''keine Währung\n'USD'Dollar"));
    sql(dir + "Waehrung.db", "INSERT INTO Waehrung VALUES (NULL, 'Ohne', 1, 1, 1)");
    EXPECT_EQ(sql(dir + "Waehrung.db", "SELECT count(*) FROM Waehrung"), "2");

    // Converted files are left alone the next time.
    EXPECT_TRUE(convertOldTables(*store).converted.isEmpty());
}

TEST_F(Conversion, AFileThatWouldLoseARowKeepsItsOldForm) {
    ASSERT_TRUE(qtest::writePreviousReleaseTables(dir));
    sql(dir + "Waehrung.db", "INSERT INTO Waehrung VALUES (NULL, 'von Hand', 1, 1, 1)");
    bool converted = true;
    Status s = convertTableFile(dir + "Waehrung.db", layoutForFile("Waehrung.db"), &converted);
    EXPECT_FALSE(converted);
    EXPECT_EQ(s.category(), Category::Invalid);
    EXPECT_TRUE(s.message().startsWith(QString("Die Tabelle %1Waehrung.db kann nicht umgestellt werden: ").arg(dir)))
        << s.message().toStdString();
    EXPECT_EQ(sql(dir + "Waehrung.db", "SELECT count(*) FROM Waehrung"), "3");
    EXPECT_EQ(sql(dir + "Waehrung.db", "SELECT \"notnull\" FROM pragma_table_info('Waehrung') WHERE name = 'Symbol'"), "0");
}

TEST_F(Conversion, BookingsOfEarlierReleasesGetRowsOfTheirOwn) {
    // The earlier layout: a unique key over all seven fields.
    ASSERT_TRUE(sqlScript(dir + "Transaktionen.db",
                          "CREATE TABLE Transaktionen (Firma INTEGER NOT NULL, Datum DATE NOT NULL, Anteile REAL NOT NULL, "
                          "Ankauf MONEY REAL NOT NULL, Verkauf DATE, Erloes MONEY REAL, FirmenName VARCHAR(30), "
                          "PRIMARY KEY (Firma, Datum, Anteile, Ankauf, Verkauf, Erloes, FirmenName));"
                          "CREATE INDEX Angekauft ON Transaktionen (Datum DESC);"
                          "INSERT INTO Transaktionen VALUES (1, 45000, 10, 50, 45100, 60, 'Alpha AG');"
                          "INSERT INTO Transaktionen VALUES (1, 45010, 5, 20, NULL, NULL, 'Alpha AG');"));
    bool converted = false;
    ASSERT_TRUE(convertTableFile(dir + "Transaktionen.db", layoutForFile("Transaktionen.db"), &converted).isOk());
    EXPECT_TRUE(converted);
    EXPECT_EQ(sql(dir + "Transaktionen.db", "SELECT Anteile || '/' || ifnull(Verkauf, '-') FROM Transaktionen ORDER BY rowid"),
              "10.0/45100\n5.0/-");
    // A second equal purchase is a row of its own now, also for other tools.
    auto shell = qtest::runSqlite3(dir + "Transaktionen.db",
                                   "INSERT INTO Transaktionen VALUES (1, 45000, 10, 50, 45100, 60, 'Alpha AG');"
                                   "SELECT count(*) FROM Transaktionen; PRAGMA integrity_check;");
    EXPECT_EQ(shell.out, "3\nok\n") << shell.err.toStdString();
    auto names = indexNames(**Database::open(dir + "Transaktionen.db", Database::Mode::OpenExisting),
                            layoutForFile("Transaktionen.db"));
    EXPECT_EQ(names->join(','), "Transaktionen,Angekauft");
    EXPECT_TRUE(convertOldTables(*store).converted.isEmpty());
}
