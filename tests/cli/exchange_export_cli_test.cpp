#include "cli/cli_fixture.h"
#include "base/text_files.h"

#include <QDir>
#include <QFile>

using namespace q;

namespace {

class ExchangeCli : public CliTest {
protected:
    ExchangeCli() { todayText = "05.01.2026"; }
    int add(const QString& name, int gruppe, const QString& zdf = QString()) {
        auto firma = store->table("Firma.db");
        Record r = newSecurityRecord(**firma, "EUR");
        r.set("FirmenName", name);
        r.set("Gruppe", gruppe);
        r.set("ZDF", zdf);
        return *appendSecurity(**firma, r);
    }
    void volume(int firma, const char* day, qint64 v) {
        auto t = store->table("Volumen.db");
        Record r = (*t)->newRecord();
        r.set("Firma", firma);
        r.set("Datum", dayNumber(*parseDate(day)));
        r.set("Volumen", v);
        ASSERT_TRUE((*t)->append(r).isOk());
    }
    QString tmpFile(const QString& name) { return m_tmp.path() + "/" + name; }
};

}  // namespace

TEST_F(ExchangeCli, ExportSecurityWritesCsvAndImportSecurityReadsItBackIntoAnEmptySecurity) {
    const int zander = add("Zander AG", 1);
    price(zander, "02.01.2026", 12.5);
    volume(zander, "02.01.2026", 300);
    price(zander, "05.01.2026", 12.75);
    add("Leer AG", 1);
    auto r = run({"export-security", "Zander AG", tmpFile("x"), "--format", "csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(qtest::readFile(tmpFile("x.csv")), "\"Datum\";\"Kurs\";\"Volumen\"\r\n\"02.01.2026\";\"12,50\";\"300\"\r\n\"05.01.2026\";\"12,75\";\"0\"\r\n");
    const QJsonObject first = json({"import-security", "Leer AG", tmpFile("x.csv")});
    EXPECT_EQ(first["stored"].toInt(), 2);
    EXPECT_EQ(first["volumes"].toInt(), 1);
    const QJsonObject again = json({"import-security", "Leer AG", tmpFile("x.csv"), "--from", "01.01.2026"});
    EXPECT_EQ(again["stored"].toInt(), 0);
    EXPECT_EQ(again["present"].toInt(), 2);
}

TEST_F(ExchangeCli, ImportSecurityPrintsStoredPresentAndSkippedRows) {
    add("Zander AG", 1);
    const QString file = tmpFile("k.txt");
    qtest::writeFile(file, "\"02.01.2026\";\"12,50\";\"300\"\r\n\"2.1.26\";\"13\";\"1\"\r\n");
    auto r = run({"import-security", "Zander AG", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Gespeichert: 1")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Schon vorhanden: 0"));
    EXPECT_TRUE(r.out.contains("Übersprungen: 1"));
    auto prn = run({"import-security", "Zander AG", tmpFile("k.PRN")});
    EXPECT_NE(prn.exitCode, 0);
    EXPECT_TRUE(prn.err.contains("nichts importiert")) << prn.err.toStdString();
}

TEST_F(ExchangeCli, ExportIntradayOfThirtyMinuteBars) {
    const int zander = add("Zander AG", 1);
    price(zander, "05.01.2026", 10.4);
    ASSERT_TRUE(store->ensure("Intraday.db").isOk());
    Table& intraday = **store->table("Intraday.db");
    const QDate day(2026, 1, 5);
    for (auto [h, m, kurs, vol] : std::vector<std::tuple<int, int, double, qint64>>{{10, 1, 10.0, 100}, {10, 14, 10.5, 150}, {10, 20, 9.8, 220}, {10, 40, 10.2, 250}, {11, 10, 10.4, 270}}) {
        Record r = intraday.newRecord();
        r.set("Firma", zander);
        r.set("ZEIT", timestampNumber(QDateTime(day, QTime(h, m))));
        r.set("Kurs", kurs);
        r.set("Volumen", vol);
        ASSERT_TRUE(intraday.append(r).isOk());
    }
    auto r = run({"export-intraday", "Zander AG", tmpFile("i.txt"), "--from", "05.01.2026", "--to", "05.01.2026", "--interval", "30", "--separator",
                  "blank", "--date-format", "ddmmyy", "--time-format", "hh:mm:ss"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(qtest::readFile(tmpFile("i.txt")),
              "Datum Zeit Open High Low Close Volumen Last\r\n"
              "050126 10:30:00 10.000 10.500 9.800 9.800 220 9.80\r\n"
              "050126 11:00:00 10.200 10.200 10.200 10.200 30 10.20\r\n"
              "050126 11:10:00 10.400 10.400 10.400 10.400 20 10.40\r\n");
    auto bad = run({"export-intraday", "Zander AG", tmpFile("j.txt"), "--interval", "7"});
    EXPECT_NE(bad.exitCode, 0);
}

TEST_F(ExchangeCli, ExportOfAllPricesWritesTheFileOfTheStartDateAndNamesAnUnwritableDirectory) {
    const int alpha = add("Alpha", 1, "ALPHA");
    const int beta = add("Beta", 0);
    const int gamma = add("Gamma", 101);
    price(alpha, "02.01.2026", 12.5);
    price(alpha, "05.01.2026", 12.75);
    price(alpha, "06.01.2026", 13);
    price(beta, "02.01.2026", 7);
    price(gamma, "02.01.2026", 9);
    const QString out = tmpFile("OUT");
    ASSERT_TRUE(QDir().mkpath(out));
    auto r = run({"export", "--from", "02.01.2026", "--to", "05.01.2026", "--dir", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(qtest::readFile(out + "/02012026.txt"), "02.01.2026\r\nBeta\t7,00\r\n02.01.2026\r\nALPHA\t12,50\r\n05.01.2026\r\nALPHA\t12,75\r\n");
    // A directory below a regular file cannot be written by anyone, root included.
    qtest::writeFile(tmpFile("datei"), "x");
    auto failed = run({"export", "--from", "02.01.2026", "--dir", tmpFile("datei/OUT")});
    EXPECT_NE(failed.exitCode, 0);
    EXPECT_TRUE(failed.err.contains(tmpFile("datei/OUT"))) << failed.err.toStdString();
}
