#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/exchange_file.h"
#include "exchange/history_import.h"
#include "exchange/paradox_writer.h"
#include "exchange/web_export.h"
#include "store/firma_hooks.h"
#include "store/store.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

extern "C" {
#include <paradox.h>
}

using namespace q;

namespace {

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        setToday(QDate(2004, 3, 10));
        dir = m_tmp.path() + "/";
        store = std::make_unique<Store>(StoreDirs{dir, dir, dir, dir});
        for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk());
        firma = addSecurity("Zander AG");
    }
    void TearDown() override { setToday(QDate()); }

    int addSecurity(const QString& name) {
        Table& t = **store->table("Firma.db");
        Record r = newSecurityRecord(t, "EUR");
        r.set("FirmenName", name);
        return *appendSecurity(t, r);
    }
    QString write(const QString& name, const QStringList& lines) {
        EXPECT_TRUE(writeTextLines(dir + name, lines).isOk());
        return dir + name;
    }
    // Price and volume rows of the security as "dd.mm.yyyy=Kurs/Volumen".
    QStringList booked(int f = 0) {
        QStringList out;
        Table& vol = **store->table("Volumen.db");
        const auto rows = (*store->table("Aktien.db"))->rows(Query::detailOf(f ? f : firma));
        for (const Record& r : *rows) {
            const int day = r.value("Datum").toInt();
            auto v = *vol.findKey({f ? f : firma, day});
            out << formatDate(dateFromDayNumber(day)) + "=" + formatGeneral(r.value("Kurs").toDouble()) +
                       (v ? "/" + QString::number(v->value("Volumen").toLongLong()) : QString());
        }
        return out;
    }
    Result<HistoryReport> import(const QString& file, HistoryOptions options = {}) {
        NoProgress progress;
        return importHistory(*store, firma, file, options, progress);
    }

    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<Store> store;
    int firma = 0;
};

using WebExportImport = HistoryTest;
using TableImport = HistoryTest;
using ExchangeFile = HistoryTest;

}  // namespace

TEST_F(WebExportImport, StoresEachDateFormOnceAndCopiesTheFileWithCrlf) {
    const QString file = write("hist.csv", {
        "Date,Open,High,Low,Close,Volume",
        "12-Jan-2000,10,11,9,10.5,1000",
        "13-Januar-2000,10,11,9,11.25,0",  // a volume of 0 is none
        "2000-01-31,10,11,9,12,2000",
        "01.02.2000,10,11,9,13,3000",
        "05-Foo-2000,10,11,9,14,1",
        "nichts",
    });
    // A look at the header (the column window) leaves the copy to the import.
    HistoryOptions look;
    look.backup = false;
    auto header = readHistory(file, look);
    ASSERT_TRUE(header.isOk());
    EXPECT_EQ(header->header.value(4), "Close");
    EXPECT_FALSE(QFile::exists(file + ".bak"));

    auto first = import(file);
    ASSERT_TRUE(first.isOk()) << first.status().message().toStdString();
    EXPECT_EQ(booked(), (QStringList{"12.01.2000=10,5/1000", "13.01.2000=11,25", "31.01.2000=12/2000", "01.02.2000=13/3000"}));
    EXPECT_EQ(first->booked, 4);
    EXPECT_EQ(first->volumes, 3);
    EXPECT_EQ(first->skipped, 2);
    EXPECT_EQ(first->backup, file + ".bak");
    EXPECT_TRUE(qtest::readFile(file + ".bak").startsWith("Date,Open,High,Low,Close,Volume\r\n12-Jan-2000,10,11,9,10.5,1000\r\n"));

    auto second = import(file);
    ASSERT_TRUE(second.isOk());
    EXPECT_EQ(second->booked, 0);
    EXPECT_EQ(second->already, 4);
    EXPECT_EQ(booked().size(), 4);
}

TEST_F(WebExportImport, GermanHeaderPresetsTheColumnsAndTheStartDateLeavesEarlierRowsOut) {
    const QString file = write("dax.csv", {
        "Datum;Er&ouml;ffnungskurs;Hoch;Tief;Schlusskurs;Volumen",
        "03.01.2000;1,0;2,0;0,5;25,50;1.234.567",
        "04.01.2000;1,0;2,0;0,5;26,00;10",
    });
    HistoryOptions o;
    o.from = QDate(2000, 1, 4);
    auto r = import(file, o);
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(booked(), QStringList{"04.01.2000=26/10"});
    EXPECT_EQ(r->before, 1);
    EXPECT_EQ(readTextLines(file + ".bak")->value(0), "Datum;Eröffnungskurs;Hoch;Tief;Schlusskurs;Volumen");
    o.from = QDate();
    ASSERT_TRUE(import(file, o).isOk());
    EXPECT_EQ(booked().value(0), "03.01.2000=25,5/1234567");
}

TEST_F(WebExportImport, MonthNamesReadTheSameInEveryLanguage) {
    EXPECT_EQ(historyDate("05-Mar-2004"), QDate(2004, 3, 5));
    EXPECT_EQ(historyDate("05-März-2004"), QDate(2004, 3, 5));
    EXPECT_EQ(historyDate("5-dec-03"), QDate(2003, 12, 5));
    EXPECT_EQ(historyDate("2004-02-29"), QDate(2004, 2, 29));
    EXPECT_FALSE(historyDate("2003-02-29"));
    EXPECT_FALSE(historyDate("05-Mär-2004"));
}

TEST_F(WebExportImport, TextFilesTakeQuotedFieldsAtTheChosenSeparatorAndColumns) {
    const QString file = write("hist.txt", {"\"03.01.2000\"\t\"12,50\"\t\"100\"", "\"04.01.2000\"\t\"kein Kurs\"\t\"1\""});
    HistoryOptions o;
    o.separator = QLatin1Char('\t');
    auto r = import(file, o);
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(booked(), QStringList{"03.01.2000=12,5/100"});
    EXPECT_EQ(r->skipped, 1);

    const QString swapped = write("swap.txt", {"\"200\";\"13,00\";\"05.01.2000\""});
    o.separator = QLatin1Char(';');
    o.columns = HistoryColumns{2, 1, 0};
    ASSERT_TRUE(import(swapped, o).isOk());
    EXPECT_EQ(booked().value(1), "05.01.2000=13/200");

    auto unknown = import(write("hist.xls", {"x"}));
    EXPECT_EQ(unknown.status().message(), "Das Format der Datei " + dir + "hist.xls ist unbekannt (erwartet .DB, .DBF, .CSV oder .TXT)");
}

namespace {

// A dBASE III file with DATUM (D), KURS (N 10.2) and VOLUMEN (N 10); the third
// record is marked deleted.
QByteArray dbfBytes() {
    struct F {
        const char* name;
        char type;
        int size, decimals;
    };
    const F fields[] = {{"DATUM", 'D', 8, 0}, {"KURS", 'N', 10, 2}, {"VOLUMEN", 'N', 10, 0}};
    const char* records[] = {" 20000103     12.50       100", " 20000104     13.25          ", "*20000105     99.00         1"};
    QByteArray b(32, '\0');
    b[0] = 0x03;
    qToLittleEndian<quint32>(3, b.data() + 4);
    qToLittleEndian<quint16>(32 + 3 * 32 + 1, b.data() + 8);
    qToLittleEndian<quint16>(29, b.data() + 10);
    for (const F& f : fields) {
        QByteArray d(32, '\0');
        memcpy(d.data(), f.name, strlen(f.name));
        d[11] = f.type;
        d[16] = char(f.size);
        d[17] = char(f.decimals);
        b += d;
    }
    b += char(0x0D);
    for (const char* r : records) b += QByteArray(r);
    b += char(0x1A);
    return b;
}

}  // namespace

TEST_F(TableImport, DbfParadoxAndSqliteTablesGiveTheSameRows) {
    qtest::writeFile(dir + "hist.dbf", dbfBytes());
    ASSERT_TRUE(import(dir + "hist.dbf").isOk());
    EXPECT_EQ(booked(), (QStringList{"03.01.2000=12,5/100", "04.01.2000=13,25"}));

    const int second = addSecurity("Paradox AG");
    QDir().mkpath(dir + "px");
    ASSERT_TRUE(pxtest::writeTable(dir + "px/Kurse.DB", {{"Datum", pxfDate, 4}, {"Kurs", pxfNumber, 8}, {"Volumen", pxfLong, 4}},
                                   {{QDate(2000, 1, 3), 12.5, 100}, {QDate(2000, 1, 4), 13.25, 0}}));
    NoProgress progress;
    ASSERT_TRUE(importHistory(*store, second, dir + "px/Kurse.DB", {}, progress).isOk());
    EXPECT_EQ(booked(second), (QStringList{"03.01.2000=12,5/100", "04.01.2000=13,25"}));

    const int third = addSecurity("SQLite AG");
    // Day numbers and texts alike: 36528 is 03.01.2000.
    ASSERT_EQ(qtest::runSqlite3(dir + "kurse.db", "CREATE TABLE notiz(x); CREATE TABLE kurse(Datum, Kurs, Volumen);"
                                                  "INSERT INTO kurse VALUES (36528, 12.5, 100), ('04.01.2000', '13,25', 0);")
                  .exitCode,
              0);
    ASSERT_TRUE(importHistory(*store, third, dir + "kurse.db", {}, progress).isOk());
    EXPECT_EQ(booked(third), (QStringList{"03.01.2000=12,5/100", "04.01.2000=13,25"}));
}

TEST_F(TableImport, ATableWithoutDateAndPriceStoresNothing) {
    ASSERT_EQ(qtest::runSqlite3(dir + "fremd.db", "CREATE TABLE t(Tag, Wert); INSERT INTO t VALUES (1, 2);").exitCode, 0);
    auto r = import(dir + "fremd.db");
    ASSERT_FALSE(r.isOk());
    EXPECT_EQ(r.status().category(), Category::Invalid);
    EXPECT_EQ(r.status().message(), "Die Tabelle " + dir + "fremd.db hat keine Felder Datum und Kurs");
    ASSERT_TRUE(pxtest::writeTable(dir + "Fremd.DB", {{"Tag", pxfDate, 4}}, {{QDate(2000, 1, 3)}}));
    EXPECT_EQ(import(dir + "Fremd.DB").status().message(), "Die Tabelle " + dir + "Fremd.DB hat keine Felder Datum und Kurs");
    EXPECT_TRUE(booked().isEmpty());
}

TEST_F(ExchangeFile, MatchesNamesFoldedKeepsCenturiesAndTakesUpTheRest) {
    const int oel = addSecurity("Öl und Gas");
    const QString file = write("boerse.txt", {
        "\"ÖL UND GAS\";x;y;\"12,50\";\"05.03.2004\"",
        "zander ag;;;1.234,50;31.12.1985",  // a written century stays
        "Zander AG;;;9,00;05.03.85",        // two digits: 2085, after today: today
        "Neue Firma;;;5,00;",
        "Kaputt;;;abc;05.03.2004",
    });
    ReadingSettings s;
    s.workDir = dir;
    s.bestaetigen = false;
    ReadingHooks hooks;
    NoProgress progress;
    const ReadReport r = importExchangeFile(*store, file, s, hooks, progress);
    ASSERT_TRUE(r.status.isOk()) << r.status.message().toStdString();
    EXPECT_EQ(booked(oel), QStringList{"05.03.2004=12,5"});
    EXPECT_EQ(booked(), (QStringList{"31.12.1985=1234,5", "10.03.2004=9"}));
    EXPECT_EQ(r.counts.newSecurities, 1);
    EXPECT_EQ(r.counts.skipped, 1);
    const ReadReport again = importExchangeFile(*store, file, s, hooks, progress);
    EXPECT_EQ(again.counts.booked, 0);
    EXPECT_EQ(again.counts.already, 4);
}

// A spreadsheet's export quotes the fields that hold the separator.
TEST_F(WebExportImport, QuotedFieldsKeepTheSeparatorTheyHold) {
    const QString file = write("hist.csv", {
        "Date,Open,High,Low,Close,Volume",
        "\"31.01.2000\",\"1.200,00\",\"1.250,00\",\"1.190,00\",\"1.234,56\",\"2000\"",
        "01.02.2000,10,11,9,13,3000",
    });
    auto r = import(file);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(booked(), (QStringList{"31.01.2000=1234,56/2000", "01.02.2000=13/3000"}));
}
