#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/dbf_table.h"
#include "exchange/security_export.h"
#include "exchange/security_import.h"
#include "store/catalogue.h"
#include "store/firma_hooks.h"
#include "store/store.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

class SecurityExchange : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        dir = m_tmp.path() + "/";
        store = std::make_unique<Store>(StoreDirs{dir, dir, dir, dir});
        for (const QString& f : startupTableOrder()) ASSERT_TRUE(store->ensure(f).isOk());
        firma = addSecurity("Zander AG");
        other = addSecurity("Yps AG");
    }
    int addSecurity(const QString& name) {
        Table& t = **store->table("Firma.db");
        Record r = newSecurityRecord(t, "EUR");
        r.set("FirmenName", name);
        return *appendSecurity(t, r);
    }
    void put(int f, const char* day, double kurs, std::optional<qint64> volumen = std::nullopt) {
        Record r = (*store->table("Aktien.db"))->newRecord();
        r.set("Firma", f);
        r.set("Datum", dayNumber(*parseDate(day)));
        r.set("Kurs", kurs);
        ASSERT_TRUE((*store->table("Aktien.db"))->append(r).isOk());
        if (!volumen) return;
        Record v = (*store->table("Volumen.db"))->newRecord();
        v.set("Firma", f);
        v.set("Datum", dayNumber(*parseDate(day)));
        v.set("Volumen", *volumen);
        ASSERT_TRUE((*store->table("Volumen.db"))->append(v).isOk());
    }
    // The two days every export test starts from.
    void twoDays() {
        put(firma, "02.01.2026", 12.5, 300);
        put(firma, "05.01.2026", 12.75);
    }
    // Price and volume rows as "dd.mm.yyyy=Kurs/Volumen".
    QStringList booked(int f) {
        QStringList out;
        auto rows = securityPriceRows(*store, f, QDate(), QDate());
        EXPECT_TRUE(rows.isOk());
        for (const ExportRow& r : *rows)
            out << formatDate(dateFromDayNumber(r.Datum)) + "=" + formatGeneral(r.Kurs) + (r.Volumen ? "/" + QString::number(*r.Volumen) : QString());
        return out;
    }
    Result<SecurityExportReport> exportAs(const QString& name, ExportTyp typ, QChar separator = ';') {
        SecurityExportOptions o;
        o.typ = typ;
        o.separator = separator;
        return exportSecurity(*store, firma, dir + name, o);
    }
    Result<HistoryReport> importInto(int f, const QString& file, SecurityImportOptions o = {}) {
        NoProgress progress;
        return importSecurity(*store, f, file, o, progress);
    }
    QString write(const QString& name, const QByteArray& bytes) {
        qtest::writeFile(dir + name, bytes);
        return dir + name;
    }

    QTemporaryDir m_tmp;
    QString dir;
    std::unique_ptr<Store> store;
    int firma = 0;
    int other = 0;
};

using SecurityExport = SecurityExchange;
using SecurityImport = SecurityExchange;

// What LibreOffice reads from a file, as CSV.
QString sofficeCsv(const QString& file) {
    QTemporaryDir home;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    p.setProcessEnvironment(env);
    p.start("soffice", {"--headless", "--convert-to", "csv", "--outdir", home.path(), file});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(qtest::readFile(home.filePath(QFileInfo(file).completeBaseName() + ".csv")));
}

}  // namespace

TEST_F(SecurityExport, CsvHasTheQuotedHeaderAndAZeroForADayWithoutVolume) {
    twoDays();
    auto r = exportAs("x", ExportTyp::Csv);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->file, dir + "x.csv");
    EXPECT_EQ(r->rows, 2);
    EXPECT_EQ(qtest::readFile(dir + "x.csv"), "\"Datum\";\"Kurs\";\"Volumen\"\r\n\"02.01.2026\";\"12,50\";\"300\"\r\n\"05.01.2026\";\"12,75\";\"0\"\r\n");
    // A name that ends in the extension already, in any case, is kept.
    ASSERT_TRUE(exportAs("X.CSV", ExportTyp::Csv).isOk());
    EXPECT_TRUE(QFileInfo::exists(dir + "X.CSV"));
    EXPECT_FALSE(QFileInfo::exists(dir + "X.CSV.csv"));
}

TEST_F(SecurityExport, TextWritesTheVolumeOnlyWhereTheDayHasOne) {
    twoDays();
    ASSERT_TRUE(exportAs("k", ExportTyp::Text, '\t').isOk());
    EXPECT_EQ(qtest::readFile(dir + "k.txt"), "02.01.2026\t12,50\t300\r\n05.01.2026\t12,75\r\n");
}

TEST_F(SecurityExport, DbaseFileReadsBackAndLibreOfficeSeesTheSameRows) {
    twoDays();
    ASSERT_TRUE(exportAs("k", ExportTyp::DBase).isOk());
    auto t = DbfTable::read(dir + "k.dbf");
    ASSERT_TRUE(t.isOk()) << t.status().message().toStdString();
    ASSERT_EQ(t->fields().size(), 3u);
    EXPECT_EQ(t->fields()[1].size, 20);
    EXPECT_EQ(t->fields()[1].decimals, 8);
    EXPECT_EQ(t->fields()[2].size, 11);
    QStringList rows;
    t->forEach([&](const QVariantList& v) {
        rows << formatDate(dateFromDayNumber(v[0].toInt())) + " " + formatGeneral(v[1].toDouble()) + " " + (v[2].isNull() ? "-" : v[2].toString());
        return true;
    });
    EXPECT_EQ(rows, QStringList({"02.01.2026 12,5 300", "05.01.2026 12,75 -"}));
    const QString csv = sofficeCsv(dir + "k.dbf");
    ASSERT_FALSE(csv.isEmpty()) << "soffice could not convert the file";
    const QStringList lines = splitLines(csv.trimmed());
    ASSERT_EQ(lines.size(), 3) << csv.toStdString();
    // LibreOffice writes the dates month first, as its default locale does.
    EXPECT_EQ(lines, QStringList({"\"Datum,D\",\"Kurs,N,20,8\",\"Volumen,N,11,0\"", "01/02/2026,12.5,300", "01/05/2026,12.75,"}));
}

TEST_F(SecurityExport, EachFormatImportsIntoAnEmptySecurityAsTheSameRowsAndTwiceAsNothing) {
    twoDays();
    const QStringList expected = {"02.01.2026=12,5/300", "05.01.2026=12,75"};
    for (auto [name, typ] : {std::pair{"c", ExportTyp::Csv}, std::pair{"t", ExportTyp::Text}, std::pair{"d", ExportTyp::DBase}}) {
        SCOPED_TRACE(name);
        auto written = exportAs(name, typ);
        ASSERT_TRUE(written.isOk());
        const int empty = addSecurity(QString("Leer %1").arg(name));
        auto first = importInto(empty, written->file);
        ASSERT_TRUE(first.isOk()) << first.status().message().toStdString();
        EXPECT_EQ(booked(empty), expected);
        EXPECT_EQ(first->booked, 2);
        EXPECT_EQ(first->volumes, 1);
        auto again = importInto(firma, written->file);
        ASSERT_TRUE(again.isOk());
        EXPECT_EQ(again->booked, 0);
        EXPECT_EQ(again->already, 2);
        EXPECT_EQ(booked(firma), expected);
    }
}

TEST_F(SecurityExport, AFailedExportLeavesTheOldFileAndAMissingDirectoryIsNamed) {
    twoDays();
    write("k.dbf", "alt");
    // 10^15 with eight places does not fit N(20,8): the export fails after the file was begun.
    put(firma, "06.01.2026", 1e15);
    auto r = exportAs("k", ExportTyp::DBase);
    ASSERT_FALSE(r.isOk());
    EXPECT_EQ(r.status().category(), Category::Invalid);
    EXPECT_EQ(qtest::readFile(dir + "k.dbf"), "alt");
    EXPECT_EQ(QDir(dir).entryList({"k.dbf*"}, QDir::Files).size(), 1);
    // A directory below a regular file fails for every user, root included.
    write("datei", "x");
    SecurityExportOptions o;
    auto missing = exportSecurity(*store, firma, dir + "datei/sub/k", o);
    ASSERT_FALSE(missing.isOk());
    EXPECT_EQ(missing.status().category(), Category::Io);
    EXPECT_EQ(missing.status().message(), "Das Verzeichnis " + QDir::toNativeSeparators(dir + "datei/sub") + " gibt es nicht");
}

TEST_F(SecurityImport, TextLineOfQuotedFieldsAndAShortDateIsSkipped) {
    const QString file = write("k.txt", "\"02.01.2026\";\"12,50\";\"300\"\r\n\"2.1.26\";\"13,00\";\"5\"\n\"05.01.2026\";\"1.234,50\";\"1.200\"\r\"06.01.2026\";\"7\";\"0\"");
    auto r = importInto(firma, file);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(booked(firma), QStringList({"02.01.2026=12,5/300", "05.01.2026=1234,5/1200", "06.01.2026=7"}));
    EXPECT_EQ(r->skipped, 1);
}

TEST_F(SecurityImport, ATextDateThatIsNoDayEndsTheImportNamingTheLineAndKeepsTheRowsBefore) {
    const QString file = write("k.txt", "02.01.2023;10\r\n29.02.2023;11\r\n03.03.2023;12\r\n");
    auto r = importInto(firma, file);
    ASSERT_FALSE(r.isOk());
    EXPECT_EQ(r.status().category(), Category::Invalid);
    EXPECT_EQ(r.status().message(), "Datei " + file + ", Zeile 2: \"29.02.2023\" ist kein gültiges Datum; der Import endet hier");
    EXPECT_EQ(booked(firma), QStringList({"02.01.2023=10"}));
}

TEST_F(SecurityImport, WebExportFromTheStartDateWithEveryDateFormAndAClearCrlfCopy) {
    const QString file = write("hist.csv",
                               "Date,Open,High,Low,Close,Volume\r\n"
                               "12-Jan-2000,1,1,1,10.5,100\r\n"
                               "13-Januar-2000,1,1,1,11,0\r\n"
                               "2000-01-31,1,1,1,12,300\r\n"
                               "01.02.2000,1,1,1,13,400\r\n"
                               "30.12.1999,1,1,1,9,10\r\n");
    SecurityImportOptions o;
    o.from = QDate(2000, 1, 1);
    auto r = importInto(firma, file, o);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    // 01.02.2000 after a year-first date is still the first of February.
    EXPECT_EQ(booked(firma), QStringList({"12.01.2000=10,5/100", "13.01.2000=11", "31.01.2000=12/300", "01.02.2000=13/400"}));
    EXPECT_EQ(r->before, 1);
    const QByteArray copy = qtest::readFile(file + ".bak");
    EXPECT_TRUE(copy.startsWith("Date,Open,High,Low,Close,Volume\r\n12-Jan-2000"));
    EXPECT_FALSE(copy.contains("\r\r"));
}

TEST_F(SecurityImport, CsvLineWithoutADateIsSkippedAndAOneCharacterLastFieldCounts) {
    const QString file = write("k.csv", "Datum;Kurs;Volumen\n02.01.2026;12,50;7\n;13,00;8\nkein Datum;14;9\n05.01.2026;12,75;0\n");
    auto r = importInto(firma, file);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(booked(firma), QStringList({"02.01.2026=12,5/7", "05.01.2026=12,75"}));
    EXPECT_EQ(r->skipped, 2);
}

TEST_F(SecurityImport, CsvColumnsComeFromThePresetWithoutNamesAndAVolumeThatIsNoNumberEndsTheImport) {
    EXPECT_EQ(csvColumnsOf({"Datum", "Kurs"}, csvColumnPreset()).volumen, 8);
    EXPECT_EQ(csvColumnsOf({"Datum", "Kurs"}, csvColumnPreset()).kurs, 1);
    const QString file = write("p.csv", "a;b;c;d\nx;02.01.2026;x;12,5\nx;03.01.2026;x;13\n");
    auto r = importInto(firma, file);
    ASSERT_TRUE(r.isOk());
    EXPECT_EQ(booked(firma), QStringList({"02.01.2026=12,5", "03.01.2026=13"}));
    const QString bad = write("v.csv", "Datum;Kurs;Volumen\n07.01.2026;12;5\n08.01.2026;12;viel\n09.01.2026;12;5\n");
    auto stopped = importInto(firma, bad);
    ASSERT_FALSE(stopped.isOk());
    EXPECT_EQ(stopped.status().message(), "Datei " + bad + ", Zeile 3: \"viel\" ist kein gültiges Volumen; der Import endet hier");
    EXPECT_TRUE(booked(firma).contains("07.01.2026=12/5"));
}

TEST_F(SecurityImport, BrokenFilesGiveAMessageOrNothingButNeverACrash) {
    NoProgress progress;
    auto prn = importInto(firma, write("k.PRN", "02.01.2026;12\n"));
    ASSERT_FALSE(prn.isOk());
    EXPECT_EQ(prn.status().category(), Category::Invalid);
    EXPECT_TRUE(prn.status().message().contains("nichts importiert"));
    auto missing = importInto(firma, dir + "fehlt.csv");
    EXPECT_EQ(missing.status().category(), Category::NotFound);
    for (const char* name : {"leer.csv", "leer.txt"}) {
        auto empty = importInto(firma, write(name, ""));
        ASSERT_TRUE(empty.isOk());
        EXPECT_EQ(empty->read, 0);
    }
    auto header = importInto(firma, write("kopf.csv", "Datum;Kurs;Volumen\r\n"));
    ASSERT_TRUE(header.isOk());
    EXPECT_EQ(header->read, 0);
    // A line over 1024 characters is skipped and counted.
    auto longLine = importInto(firma, write("lang.txt", "02.01.2026;12;" + QByteArray(1100, '1') + "\n"));
    ASSERT_TRUE(longLine.isOk());
    EXPECT_EQ(longLine->skipped, 1);
    // UTF-8 text reads as such.
    auto utf8 = importInto(addSecurity("Utf AG"), write("u.csv", "Datum;Kurs;Bemerkung\n02.01.2026;12,5;Übertrag\n"));
    ASSERT_TRUE(utf8.isOk());
    EXPECT_EQ(utf8->booked, 1);
    // A table without Datum and Kurs, and one cut short in its header.
    twoDays();
    ASSERT_TRUE(exportAs("ganz", ExportTyp::DBase).isOk());
    QByteArray dbf = qtest::readFile(dir + "ganz.dbf");
    QByteArray renamed = dbf;
    renamed.replace(32, 5, QByteArray("Tag\0\0", 5));  // the first field's name
    auto noFields = importInto(other, write("ohne.dbf", renamed));
    ASSERT_FALSE(noFields.isOk());
    EXPECT_EQ(noFields.status().message(), "Die Tabelle " + dir + "ohne.dbf hat keine Felder Datum und Kurs");
    auto cut = importInto(other, write("kurz.dbf", dbf.left(40)));
    ASSERT_FALSE(cut.isOk());
    EXPECT_EQ(cut.status().category(), Category::Corrupt);
    // Cut inside the second record: the whole first record is read.
    auto half = importInto(other, write("halb.dbf", dbf.left(dbf.size() - 20)));
    ASSERT_TRUE(half.isOk());
    EXPECT_EQ(booked(other), QStringList({"02.01.2026=12,5/300"}));
}

TEST_F(SecurityImport, TheStartPresetIsTheDayAfterTheLastPriceOrEveryRowWithoutOne) {
    auto none = importStartPreset(*store, firma);
    ASSERT_TRUE(none.isOk());
    EXPECT_FALSE(none->isValid());
    twoDays();
    EXPECT_EQ(*importStartPreset(*store, firma), QDate(2026, 1, 6));
}
