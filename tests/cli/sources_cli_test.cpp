#include "app/startup_fixture.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "store/data_lock.h"
#include "store/firma_hooks.h"
#include "store/store.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

using namespace q;

namespace {

class SourcesCli : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        ASSERT_EQ(cli({"start"}).exitCode, 0);
    }
    qtest::CliRun cli(QStringList args) {
        return qtest::runCli(QStringList{"--home", home, "--settings", settingsFile, "--today", "10.03.2004"} + args);
    }
    Store store() { return Store({home, home, home + "Temp/", home}); }
    int security(const QString& name, const QString& kennung, const QString& internet = QString()) {
        Store s = store();
        Table& firma = **s.table("Firma.db");
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", name);
        r.set("Kennung", kennung);
        r.set("Internet", internet);
        return *appendSecurity(firma, r);
    }
    // "Firma|dd.mm.yyyy|Kurs" rows of Aktien.db as the stock sqlite3 shell lists them.
    QString pricesBySqlite() {
        auto r = qtest::runSqlite3(home + "Aktien.db",
                                   "SELECT Firma, strftime('%d.%m.%Y', Datum + 2415018.5), Kurs FROM Aktien ORDER BY Firma, Datum;");
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return r.out.trimmed();
    }
};

// python3 -m http.server on a free port of 127.0.0.1, serving `dir`.
class PythonServer {
public:
    explicit PythonServer(const QString& dir) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        m_process.setWorkingDirectory(dir);
        m_process.start("python3", {"-m", "http.server", QString::number(port), "--bind", "127.0.0.1"});
        for (int i = 0; i < 100; ++i) {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, port);
            if (s.waitForConnected(100)) return;
            QThread::msleep(50);
        }
    }
    ~PythonServer() { stop(); }
    void stop() {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    QString url(const QString& file) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(port).arg(file); }
    quint16 port = 0;

private:
    QProcess m_process;
};

}  // namespace

TEST_F(SourcesCli, InfobeatFileBooksOnceAndSqliteShowsTheRows) {
    const int siemens = security("Siemens AG", "723610");
    const QString file = m_tmp.filePath("infobeat.txt");
    ASSERT_TRUE(writeTextLines(file, {"\"723610\",\"61,50\",\"12/31/03\"", "\"723610\",\"62,00\",\"03/11/04\""}).isOk());
    auto first = cli({"import-infobeat", file});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("Gebucht: 2"));
    EXPECT_EQ(pricesBySqlite(), QString("%1|31.12.2003|61.5\n%1|10.03.2004|62.0").arg(siemens));
    auto again = cli({"import-infobeat", file, "--json"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.out.contains("\"booked\":0"));
    EXPECT_TRUE(again.out.contains("\"already\":2"));

    const QString empty = m_tmp.filePath("leer.txt");
    ASSERT_TRUE(writeTextLines(empty, {"kein Kurs"}).isOk());
    auto nothing = cli({"import-text", empty, "--delete"});
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_TRUE(nothing.err.contains("In der Datei " + empty + " wurde kein Kurs gefunden"));
    EXPECT_TRUE(QFile::exists(empty));
}

TEST_F(SourcesCli, TextImportWritesTheProtocolAndDeletesOnlyWhenAsked) {
    const QString file = m_tmp.filePath("kurse.txt");
    ASSERT_TRUE(writeTextLines(file, {"UNBEKANNT\t10,00"}).isOk());
    auto r = cli({"import-text", file, "--delete"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Nicht zugeordnet: 1"));
    EXPECT_TRUE(readTextLines(home + "Temp/PNeue.txt")->value(0).startsWith("UNBEKANNT\t10,00\t10.03.2004 "));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(SourcesCli, TextImportKeepsTrailingBlanksOfTheName) {
    const int beta = security("BETA", "");  // its ZDF name is "BETA"
    const QString file = m_tmp.filePath("kurse.txt");
    // "BETA " with its blank is another name than the security's ZDF name "BETA".
    ASSERT_TRUE(writeTextLines(file, {"09.03.2004", "BETA \t12,50", "BETA\t13,00"}).isOk());
    auto r = cli({"import-text", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Gebucht: 1")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Nicht zugeordnet: 1")) << r.out.toStdString();
    EXPECT_TRUE(readTextLines(home + "Temp/PNeue.txt")->value(0).startsWith("BETA \t12,50\t09.03.2004 "));
    EXPECT_EQ(pricesBySqlite(), QString("%1|09.03.2004|13.0").arg(beta));
}

TEST_F(SourcesCli, InfobeatLeavesUnknownIdentifiersOutOfTheProtocol) {
    const QString pneue = home + "Temp/PNeue.txt";
    ASSERT_TRUE(writeTextLines(pneue, {"ALT\t1,00\t01.03.2004 08:00:00"}).isOk());
    const QString file = m_tmp.filePath("infobeat.txt");
    ASSERT_TRUE(writeTextLines(file, {"\"999999\",\"10,00\",\"03/09/04\""}).isOk());
    auto r = cli({"import-infobeat", file, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\"booked\":0"));
    EXPECT_TRUE(r.out.contains("\"unmatchedLines\":[]")) << r.out.toStdString();
    // The list of the last tab-separated import stands.
    EXPECT_EQ(*readTextLines(pneue), QStringList{"ALT\t1,00\t01.03.2004 08:00:00"});
}

TEST_F(SourcesCli, EnterRefusesASecondPriceUnlessOverwriting) {
    security("Siemens AG", "723610");
    ASSERT_EQ(cli({"enter", "Siemens AG", "--price", "61,5"}).exitCode, 0);
    auto second = cli({"enter", "Siemens AG", "--price", "62"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains("Für Siemens AG gibt es am 10.03.2004 schon den Kurs 61,5 (mit --overwrite ersetzen)"));
    auto over = cli({"enter", "Siemens AG", "--price", "62", "--overwrite"});
    EXPECT_EQ(over.exitCode, 0);
    EXPECT_TRUE(over.out.contains("Ersetzt: 61,5"));
}

TEST_F(SourcesCli, HistoryImportStoresTheWebExportOnce) {
    const int zander = security("Zander AG", "ZAN");
    const QString file = m_tmp.filePath("zander.csv");
    ASSERT_TRUE(writeTextLines(file, {"Date,Open,High,Low,Close,Volume", "12-Jan-2000,1,1,1,10.5,100", "13-Januar-2000,1,1,1,11,0",
                                      "2000-01-31,1,1,1,12,200", "01.02.2000,1,1,1,13,300"})
                    .isOk());
    auto r = cli({"import-history", "Zander AG", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(pricesBySqlite(), QString("%1|12.01.2000|10.5\n%1|13.01.2000|11.0\n%1|31.01.2000|12.0\n%1|01.02.2000|13.0").arg(zander));
    auto again = cli({"import-history", QString::number(zander), file, "--json"});
    EXPECT_TRUE(again.out.contains("\"booked\":0"));
    EXPECT_TRUE(qtest::readFile(file + ".bak").contains("Date,Open,High,Low,Close,Volume\r\n"));
    EXPECT_EQ(cli({"import-history", "Zander AG", file, "--columns", "1"}).exitCode, 1);
}

TEST_F(SourcesCli, InternetBooksBothServedQuotesAndFailsNamingBothWhenTheServerIsGone) {
    QDir().mkpath(m_tmp.filePath("www"));
    qtest::writeFile(m_tmp.filePath("www/a.csv"), "Date,Close,Volume\n2004-03-10,11.25,2500\n");
    qtest::writeFile(m_tmp.filePath("www/b.json"), R"({"quote":{"price":42.5}})");
    PythonServer server(m_tmp.filePath("www"));
    const int a = security("A AG", "", server.url("a.csv"));
    const int b = security("B AG", "", server.url("b.json") + " | json:quote.price");
    auto r = cli({"internet"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(pricesBySqlite(), QString("%1|10.03.2004|11.25\n%2|10.03.2004|42.5").arg(a).arg(b));
    auto dry = cli({"internet", "--dry-run", "A AG"});
    EXPECT_TRUE(dry.out.contains("A AG\t" + server.url("a.csv") + "\tHTTP 200\tKurs 11,25")) << dry.out.toStdString();

    auto poll = cli({"poll", "--source", "internet", "--interval", "0", "--runs", "3", "--now", "10.03.2004 10:00"});
    ASSERT_EQ(poll.exitCode, 0) << poll.err.toStdString();
    EXPECT_TRUE(poll.out.contains("Läufe: 3"));
    auto rows = qtest::runSqlite3(home + "Intraday.db", "SELECT DISTINCT Firma FROM Intraday ORDER BY Firma;");
    EXPECT_EQ(rows.out.trimmed(), QString("%1\n%2").arg(a).arg(b));

    server.stop();
    auto gone = cli({"internet"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(gone.err.contains("Konnte Kurswert nicht finden! A AG, B AG")) << gone.err.toStdString();
}

TEST_F(SourcesCli, PollAfterMidnightArchivesYesterdayAndCommitTakesTheLastTicks) {
    const int a = security("A AG", "A");
    {
        Store s = store();
        Table& t = **s.table("Intraday.db");
        for (const auto& [time, kurs] : {std::pair{QTime(9, 0), 10.0}, std::pair{QTime(17, 30), 10.75}}) {
            Record r = t.newRecord();
            r.set("Firma", a);
            r.set("ZEIT", timestampNumber(QDateTime(QDate(2026, 2, 2), time)));
            r.set("Kurs", kurs);
            r.set("Volumen", 100);
            ASSERT_TRUE(t.append(r).isOk());
        }
    }
    auto commit = cli({"intraday-commit"});
    ASSERT_EQ(commit.exitCode, 0) << commit.err.toStdString();
    EXPECT_EQ(pricesBySqlite(), QString("%1|02.02.2026|10.75").arg(a));

    auto poll = cli({"poll", "--runs", "1", "--interval", "5", "--now", "03.02.2026 00:03"});
    EXPECT_EQ(poll.exitCode, 0) << poll.err.toStdString();
    EXPECT_TRUE(poll.out.contains("Tageswechsel: Intraday-Kurse archiviert"));
    auto archived = qtest::runSqlite3(home + "Intraday/02.02.2026.DB", "SELECT count(*) FROM sqlite_master;");
    EXPECT_EQ(archived.exitCode, 0);
    auto left = qtest::runSqlite3(home + "Intraday.db", "SELECT count(*) FROM Intraday;");
    EXPECT_EQ(left.out.trimmed(), "0");
}

TEST_F(SourcesCli, PollEndsOnSigtermWithExitZero) {
    QProcess poll;
    poll.start(QUINTARA_CLI, {"--home", home, "--settings", settingsFile, "poll", "--source", "network", "--interval", "0"});
    ASSERT_TRUE(poll.waitForStarted());
    // The first tick comes after 5 s; SIGTERM during the wait ends the job at once.
    QThread::msleep(1500);
    poll.terminate();
    ASSERT_TRUE(poll.waitForFinished(5000));
    EXPECT_EQ(poll.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(poll.exitCode(), 0) << poll.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(poll.readAllStandardOutput()).contains("Läufe: 0"));
}

namespace {

// The data directory the jobs use: the one holding Aktien.db.
QString dataDirOf(const QString& home) { return QFile::exists(home + "Daten/Aktien.db") ? home + "Daten/" : home; }

// The matched security for the daily and the plain text routes.
int matched(Store& s, const QString& name, const QString& match) {
    Table& firma = **s.table("Firma.db");
    Record r = newSecurityRecord(firma, "EUR");
    r.set("FirmenName", name);
    for (const char* c : {"ZDF", "N-TV", "SF1", "Sender4"}) r.set(QLatin1String(c), match);
    return *appendSecurity(firma, r);
}

class LockWait {
public:
    explicit LockWait(const char* seconds) { qputenv("QUINTARA_LOCK_WAIT", seconds); }
    ~LockWait() { qunsetenv("QUINTARA_LOCK_WAIT"); }
};

}  // namespace

TEST_F(SourcesCli, AWritingJobWaitsForAReplacingOneAndTheRestoreForTheWriters) {
    {
        Store s = store();
        matched(s, "Alpha AG", "ALPHA");
    }
    const QString file = m_tmp.filePath("kurse.txt");
    ASSERT_TRUE(writeTextLines(file, {"09.03.2004", "ALPHA\t10,00"}).isOk());
    LockWait wait("1");
    {
        // This test process plays the restore.
        auto restore = DataLock::acquire(dataDirOf(home), LockMode::Exclusive, 0, {});
        ASSERT_TRUE(restore.isOk());
        auto r = cli({"import-text", file});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains("wird von einem anderen Auftrag benutzt; es wird bis zu 1 s gewartet")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("ist von einem anderen Auftrag belegt")) << r.err.toStdString();
        EXPECT_EQ(pricesBySqlite(), "");
    }
    {
        // And now the import, running: the restore waits and fails, changing nothing.
        auto import = DataLock::acquire(dataDirOf(home), LockMode::Shared, 0, {});
        ASSERT_TRUE(import.isOk());
        ASSERT_EQ(cli({"backup"}).exitCode, 0);
        auto r = cli({"--yes", "restore"});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.err.contains("ist von einem anderen Auftrag belegt")) << r.err.toStdString();
    }
    auto r = cli({"import-text", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

TEST_F(SourcesCli, TheSecondOfTwoImportsOfOneFileWaitsAndBooksNothingNew) {
    QStringList lines{"09.03.2004"};
    {
        Store s = store();
        for (int i = 0; i < 200; ++i) {
            matched(s, QString("Wert %1").arg(i), QString("WERT%1").arg(i));
            lines << QString("WERT%1\t%2,50\t\t%3").arg(i).arg(10 + i).arg(100 + i);
        }
    }
    QStringList all;
    for (int day = 0; day < 100; ++day) {
        all << formatDate(QDate(2003, 1, 1).addDays(day));
        all << lines.mid(1);
    }
    const QString file = m_tmp.filePath("kurse.txt");
    ASSERT_TRUE(writeTextLines(file, all).isOk());
    QProcess first;
    QProcess second;
    const QStringList args{"--home", home, "--settings", settingsFile, "--today", "10.03.2004", "--json", "import-text", file};
    first.start(QUINTARA_CLI, args);
    second.start(QUINTARA_CLI, args);
    ASSERT_TRUE(first.waitForFinished(60000) && second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const QString a = QString::fromUtf8(first.readAllStandardOutput());
    const QString b = QString::fromUtf8(second.readAllStandardOutput());
    // One of them booked all 20,000 quotes; the other found every one already there.
    EXPECT_TRUE((a.contains("\"booked\":20000") && b.contains("\"booked\":0") && b.contains("\"already\":20000")) ||
                (b.contains("\"booked\":20000") && a.contains("\"booked\":0") && a.contains("\"already\":20000")))
        << a.toStdString() << "\n" << b.toStdString();
}

TEST_F(SourcesCli, ReadOfAFileWithoutQuotesFailsAndKeepsTheFile) {
    const QString file = m_tmp.filePath("aktien.txt");
    qtest::writeFile(file, QByteArray("\x00\x01\x02garbage\xff\xfe", 12));
    auto r = cli({"read", file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("In der Datei " + file + " wurde kein Kurs gefunden")) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(file));
    auto fifo = cli({"import-text", "/dev/zero"});
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_TRUE(fifo.err.contains("Die Datei /dev/zero ist keine gewöhnliche Datei")) << fifo.err.toStdString();
}

// Today is 10.03.2004: the row of 31.12.9999 and the price 1e308 are refused and listed.
TEST_F(SourcesCli, HistoryImportRefusesImpossibleRowsAndNeverWritesItsCopyThroughALink) {
    const int zander = security("Zander AG", "ZAN");
    const QString file = m_tmp.filePath("zander.csv");
    ASSERT_TRUE(writeTextLines(file, {"Date,Open,High,Low,Close,Volume", "2000-01-31,1,1,1,12,200", "9999-12-31,1,1,1,5,100",
                                      "2000-02-01,1,1,1,1e308,100"})
                    .isOk());
    const QString victim = m_tmp.filePath("wichtig.txt");
    qtest::writeFile(victim, "nicht überschreiben");
    ASSERT_TRUE(QFile::link(victim, file + ".bak"));
    auto r = cli({"import-history", "Zander AG", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(pricesBySqlite(), QString("%1|31.01.2000|12.0").arg(zander));
    EXPECT_TRUE(r.out.contains("Unplausibel: 2")) << r.out.toStdString();
    const QByteArray listed = qtest::readFile(home + "Temp/PExtrem.txt");
    EXPECT_TRUE(listed.contains("Zander AG\t5\tDatum nach morgen\t31.12.9999 00:00")) << listed.toStdString();
    EXPECT_TRUE(listed.contains("Zander AG\t1E+308\tgr\xf6\xdf" "er als 1.000.000.000.000\t01.02.2000 00:00")) << listed.toStdString();
    EXPECT_EQ(qtest::readFile(victim), "nicht überschreiben");
    EXPECT_FALSE(QFileInfo(file + ".bak").isSymLink());
    EXPECT_TRUE(qtest::readFile(file + ".bak").startsWith("Date,Open,High,Low,Close,Volume\r\n"));
}

TEST_F(SourcesCli, ImportLegacyFailsWhenNoTableCanBeRead) {
    const QString old = m_tmp.filePath("alt");
    QDir().mkpath(old);
    qtest::writeFile(old + "/Firma.DB", "kein Paradox");
    qtest::writeFile(old + "/Aktien.DB", "");
    for (const QStringList& extra : {QStringList{}, QStringList{"--dry-run"}}) {
        auto r = cli(QStringList{"import-legacy", old} + extra);
        EXPECT_NE(r.exitCode, 0) << extra.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Im Verzeichnis " + old + " konnte keine Tabelle gelesen werden")) << r.err.toStdString();
    }
}

TEST_F(SourcesCli, ANewNameTooLongToTakeUpIsListedAndSaidSo) {
    const QString file = m_tmp.filePath("aktien.txt");
    ASSERT_TRUE(writeTextLines(file, {"09.03.2004", "EIN SEHR LANGER WERTPAPIERNAME AG\t10,00", "KURZ AG\t5,00"}).isOk());
    auto r = cli({"read", "--alle", file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Neue Wertpapiere: 1")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Nicht zugeordnet: 1")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Hinweis: EIN SEHR LANGER WERTPAPIERNAME AG wurde nicht aufgenommen: der Name passt nicht in die "
                               "Wertpapiertabelle (zu lang)"))
        << r.out.toStdString();
}
