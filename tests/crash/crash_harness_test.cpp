// The crash harness: quintara-cli jobs (start with its automatic backup, backup,
// restore, newday, and the reading jobs read, import-text and import-history) and
// a bulk import are killed with SIGKILL at random moments.
// After every kill each table file and each copy must pass SQLite's integrity
// check, no committed row may be missing, and the next start must open everything
// without a repair or a restore. QUINTARA_CRASH_KILLS sets the kills per job (CI
// runs six; tools/crash-harness.sh runs 200), QUINTARA_CRASH_SEED repeats a run.

#include "crash/crash_support.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QElapsedTimer>
#include <QSet>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using crash::rows;

class CrashHarness : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(inst.ok());
        crash::random();  // prints the seed first
        ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"start"}), -1).exitCode, 0);
        inst.setSetting("AutoSpeichern", 0);
        prices = rows(inst.data() + "Aktien.db", "Aktien");
        ASSERT_GT(prices, 70000);
    }
    void TearDown() override {
        std::printf("%s: %d Abbrüche, davon %d mitten im Lauf; jedes Mal alle Tabellen ganz: %s\n", job.toUtf8().constData(), kills,
                    midRun, HasFailure() ? "nein" : "ja");
    }

    // How long an undisturbed run takes, in milliseconds (at least 20): the second
    // of two, as the first also fills the page cache and makes the first copies.
    int duration(const QString& program, const QStringList& args) {
        qint64 elapsed = 0;
        for (int i = 0; i < 2; ++i) {
            QElapsedTimer t;
            t.start();
            const crash::Run run = crash::runAndKill(program, args, -1);
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            elapsed = t.elapsed();
        }
        return std::max(20, static_cast<int>(elapsed));
    }
    // A moment from the start to a little past the usual end.
    int moment(int durationMs) { return std::uniform_int_distribution<int>(0, durationMs * 6 / 5)(crash::random()); }

    crash::Run kill(const QString& program, const QStringList& args, int durationMs) {
        const crash::Run run = crash::runAndKill(program, args, moment(durationMs));
        ++kills;
        if (run.killed) ++midRun;
        return run;
    }

    // Every file whole, and the next start opens the tables as they are.
    void everythingWhole(int i) {
        const QStringList damaged = crash::damagedFiles(inst.home());
        EXPECT_TRUE(damaged.isEmpty()) << job.toStdString() << " Abbruch " << i << ": " << damaged.join('\n').toStdString();
        const crash::Run next = crash::runAndKill(crash::cliProgram(), inst.cli({"start"}), -1);
        EXPECT_EQ(next.exitCode, 0) << job.toStdString() << " Abbruch " << i << ": " << next.err.toStdString();
        EXPECT_FALSE(next.out.contains("Wiederhergestellt")) << next.out.toStdString();
    }

    crash::Installation inst{30, 10};
    qint64 prices = 0;
    QString job;
    int kills = 0;
    int midRun = 0;
};

}  // namespace

TEST_F(CrashHarness, StartWithItsAutomaticBackup) {
    job = "start";
    inst.setSetting("AutoSpeichern", 1);
    inst.setSetting("SicherInterval", 0);  // every start makes the backup
    const int ms = duration(crash::cliProgram(), inst.cli({"start"}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        kill(crash::cliProgram(), inst.cli({"start"}), ms);
        EXPECT_EQ(rows(inst.data() + "Aktien.db", "Aktien"), prices);
        EXPECT_EQ(rows(inst.data() + "Aktien.db~", "Aktien"), prices);
        everythingWhole(i);
    }
}

TEST_F(CrashHarness, Backup) {
    job = "backup";
    const int ms = duration(crash::cliProgram(), inst.cli({"backup"}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        kill(crash::cliProgram(), inst.cli({"backup"}), ms);
        EXPECT_EQ(rows(inst.data() + "Aktien.db", "Aktien"), prices);
        EXPECT_EQ(rows(inst.data() + "Aktien.db~", "Aktien"), prices);
        EXPECT_EQ(rows(inst.data() + "Volumen.db~", "Volumen"), rows(inst.data() + "Volumen.db", "Volumen"));
        everythingWhole(i);
    }
}

TEST_F(CrashHarness, Restore) {
    job = "restore";
    ASSERT_EQ(crash::runAndKill(crash::cliProgram(), inst.cli({"backup"}), -1).exitCode, 0);
    const qint64 securities = rows(inst.data() + "Firma.db", "Firma");
    const int ms = duration(crash::cliProgram(), inst.cli({"--yes", "restore"}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        // The live tables differ from the copies, so a restore has rows to write.
        ASSERT_EQ(qtest::runSqlite3(inst.data() + "Aktien.db", QString("DELETE FROM Aktien WHERE Firma = %1;").arg(i % 30 + 1)).exitCode, 0);
        ASSERT_EQ(qtest::runSqlite3(inst.data() + "Firma.db", "INSERT INTO Firma (FirmenName, Aktiv) VALUES ('Neu', 1);").exitCode, 0);
        const qint64 before = rows(inst.data() + "Aktien.db", "Aktien");
        const qint64 firmaBefore = rows(inst.data() + "Firma.db", "Firma");
        kill(crash::cliProgram(), inst.cli({"--yes", "restore"}), ms);
        // Each table is the one before or the copy, never a mix or less.
        const qint64 after = rows(inst.data() + "Aktien.db", "Aktien");
        EXPECT_TRUE(after == before || after == prices) << after;
        const qint64 firma = rows(inst.data() + "Firma.db", "Firma");
        EXPECT_TRUE(firma == firmaBefore || firma == securities) << firma;
        everythingWhole(i);
    }
}

TEST_F(CrashHarness, NewDay) {
    job = "newday";
    QSet<QString> written;
    int next = 0;
    const auto writeIntraday = [&] {
        QString script = "BEGIN;";
        for (int k = 0; k < 300; ++k, ++next) {
            const QString key = QString("%1|%2").arg(next % 30 + 1).arg(46000.0 + next / 100000.0, 0, 'f', 6);
            script += QString("INSERT INTO Intraday (Firma, ZEIT, Kurs) VALUES (%1, %2, 10.5);").arg(next % 30 + 1).arg(46000.0 + next / 100000.0, 0, 'f', 6);
            written.insert(key);
        }
        return qtest::runSqlite3(inst.data() + "Intraday.db", script + "COMMIT;").exitCode == 0;
    };
    // Every row written, in Intraday.db or in an archive.
    const auto kept = [&] {
        QSet<QString> found;
        QStringList files{inst.data() + "Intraday.db"};
        for (const QString& a : QDir(inst.home() + "Intraday").entryList({"*.DB"}, QDir::Files)) files << inst.home() + "Intraday/" + a;
        for (const QString& f : files) {
            const qtest::CliRun r = qtest::runSqlite3(
                f, QString("SELECT Firma || '|' || printf('%.6f', ZEIT) FROM \"%1\";").arg(QFileInfo(f).completeBaseName()));
            for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) found.insert(line);
        }
        return found;
    };
    ASSERT_TRUE(writeIntraday());
    const int ms = duration(crash::cliProgram(), inst.cli({"newday"}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        ASSERT_TRUE(writeIntraday());
        kill(crash::cliProgram(), inst.cli({"newday"}), ms);
        const QSet<QString> found = kept();
        EXPECT_TRUE(found.contains(written)) << written.size() - (written & found).size() << " Intraday-Kurse verloren";
        everythingWhole(i);
    }
}

TEST_F(CrashHarness, BulkImport) {
    job = "Massenimport";
    constexpr int kDays = 5;
    const qint64 batch = 30 * kDays;
    const QStringList args{inst.data(), "20", QString::number(kDays)};
    const int ms = duration(crash::importProgram(), args);
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        const qint64 before = rows(inst.data() + "Aktien.db", "Aktien");
        const crash::Run run = kill(crash::importProgram(), args, ms);
        const qint64 committed = run.out.count("commit ");
        const qint64 added = rows(inst.data() + "Aktien.db", "Aktien") - before;
        // Every batch reported committed is there, and no batch is there in part.
        EXPECT_GE(added, committed * batch);
        EXPECT_LE(added, (committed + 1) * batch);
        EXPECT_EQ(added % batch, 0);
        everythingWhole(i);
    }
}

namespace {

// The reading jobs: each kill gets a file of new quotes (every security on `days`
// new days, with volumes); after the kill a rerun of the same file completes it, so
// that every quote's price and volume are there, each once.
class ReadingCrash : public CrashHarness {
protected:
    void SetUp() override {
        CrashHarness::SetUp();
        const qtest::CliRun names = qtest::runSqlite3(inst.data() + "Firma.db", "SELECT Firma || '|' || ZDF FROM Firma WHERE Firma > 0;");
        for (const QString& line : names.out.split('\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split('|');
            securities.push_back({f[0].toInt(), f.value(1)});
        }
        // Each quote near its security's last price, so that none is implausible.
        const qtest::CliRun closes = qtest::runSqlite3(
            inst.data() + "Aktien.db", "SELECT Firma || '|' || Kurs FROM Aktien a WHERE Datum = (SELECT max(Datum) FROM Aktien WHERE Firma = a.Firma);");
        for (const QString& line : closes.out.split('\n', Qt::SkipEmptyParts)) close.insert(line.section('|', 0, 0).toInt(), line.section('|', 1).toDouble());
        const qtest::CliRun last = qtest::runSqlite3(inst.data() + "Aktien.db", "SELECT max(Datum) FROM Aktien;");
        day = last.out.trimmed().toDouble() + 1;
        volumes = rows(inst.data() + "Volumen.db", "Volumen");
        ASSERT_FALSE(securities.empty());
    }
    // "dd.mm.yyyy" of day number `n`.
    static QString dateText(double n) { return QDate(1899, 12, 30).addDays(qint64(n)).toString("dd.MM.yyyy"); }

    // The daily file (date lines, then name, price, empty date, volume) of the next
    // `days` days; the quotes' count is added to `expected`.
    QStringList nextQuotes(int days) {
        QStringList lines;
        for (int d = 0; d < days; ++d, ++day) {
            lines << dateText(day);
            for (const auto& [firma, name] : securities)
                lines << QString("%1\t%2\t\t%3").arg(name, QString::number(close.value(firma, 20.0) * (1 + d % 3 / 100.0), 'f', 2).replace('.', ',')).arg(1000 + firma);
            expected += qint64(securities.size());
        }
        return lines;
    }
    void writeFile(const QString& path, const QStringList& lines) {
        QString text = lines.join("\r\n") + "\r\n";
        qtest::writeFile(path, text.toLatin1());
    }
    // The job in the future, so that no day is after tomorrow (200 kills of 20 days
    // each reach about 11 years past the sample).
    QStringList args(const QStringList& job) { return inst.cli(QStringList{"--today", "31.12.2099"} + job); }

    // duration() for a job whose file `prepare` writes anew before each run.
    int measure(const std::function<void()>& prepare, const QStringList& job) {
        qint64 elapsed = 0;
        for (int i = 0; i < 2; ++i) {
            prepare();
            QElapsedTimer t;
            t.start();
            const crash::Run run = crash::runAndKill(crash::cliProgram(), job, -1);
            EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
            elapsed = t.elapsed();
        }
        return std::max(20, static_cast<int>(elapsed));
    }
    void nothingLost(int i) {
        EXPECT_EQ(rows(inst.data() + "Aktien.db", "Aktien"), prices + expected) << job.toStdString() << " Abbruch " << i;
        EXPECT_EQ(rows(inst.data() + "Volumen.db", "Volumen"), volumes + expected) << job.toStdString() << " Abbruch " << i;
        everythingWhole(i);
    }

    std::vector<std::pair<int, QString>> securities;
    QHash<int, double> close;  // last price by security
    double day = 0;
    qint64 expected = 0;
    qint64 volumes = 0;
};

}  // namespace

TEST_F(ReadingCrash, ReadOfTheDailyFile) {
    job = "read";
    const QString file = inst.home() + "aktien.txt";
    const int ms = measure([&] { writeFile(file, nextQuotes(20)); }, args({"read", file}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        writeFile(file, nextQuotes(20));
        kill(crash::cliProgram(), args({"read", file}), ms);
        // A file read to its end is gone; one left is read again.
        if (QFile::exists(file)) {
            const crash::Run again = crash::runAndKill(crash::cliProgram(), args({"read", file}), -1);
            EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
        }
        nothingLost(i);
    }
}

TEST_F(ReadingCrash, ImportOfAPriceTextFile) {
    job = "import-text";
    const QString file = inst.home() + "kurse.txt";
    const int ms = measure([&] { writeFile(file, nextQuotes(20)); }, args({"import-text", file}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        writeFile(file, nextQuotes(20));
        kill(crash::cliProgram(), args({"import-text", file}), ms);
        const crash::Run again = crash::runAndKill(crash::cliProgram(), args({"import-text", file}), -1);
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
        nothingLost(i);
    }
}

TEST_F(ReadingCrash, ImportOfAPriceHistory) {
    job = "import-history";
    const QString file = inst.home() + "verlauf.csv";
    const int firma = securities.front().first;
    auto history = [&](int days) {
        QStringList lines{"Date,Open,High,Low,Close,Volume"};
        for (int d = 0; d < days; ++d, ++day, ++expected)
            lines << QString("%1,1,1,1,%2,%3").arg(QDate(1899, 12, 30).addDays(qint64(day)).toString(Qt::ISODate)).arg(close.value(firma, 20.0)).arg(500 + d);
        return lines;
    };
    const int ms = measure([&] { writeFile(file, history(100)); }, args({"import-history", QString::number(firma), file}));
    for (int i = 0; i < crash::killsPerJob(6) && !HasFailure(); ++i) {
        writeFile(file, history(100));
        kill(crash::cliProgram(), args({"import-history", QString::number(firma), file}), ms);
        const crash::Run again = crash::runAndKill(crash::cliProgram(), args({"import-history", QString::number(firma), file}), -1);
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
        nothingLost(i);
    }
}
