#include "crash/crash_support.h"

#include "settings/settings_store.h"
#include "sample/sample_data.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <sqlite3.h>

#include <cstdio>

namespace crash {

Installation::Installation(int securities, int years, const QString& root) {
    m_home = (root.isEmpty() ? m_tmp.path() : root) + "/";
    q::sample::Plan plan;
    plan.securities = securities;
    plan.years = years;
    q::NoProgress none;
    m_ok = (root.isEmpty() ? m_tmp.isValid() : true) && q::sample::writeSampleData(data(), plan, none).isOk();
}

void Installation::setSetting(const QString& name, int value) const {
    q::SettingsStore s;
    if (!s.load(settings())) return;
    s.writeInteger(q::SettingsStore::kMainKey, name, value);
    (void)s.save();
}

QStringList Installation::cli(const QStringList& args) const {
    return QStringList{"--home", m_home, "--settings", settings()} + args;
}

Run runAndKill(const QString& program, const QStringList& args, int killAfterMs, const std::function<void(QProcess&)>& setup) {
    QProcess p;
    if (setup) setup(p);
    p.start(program, args);
    Run run;
    if (!p.waitForStarted(10000)) return run;
    if (killAfterMs >= 0 && !p.waitForFinished(killAfterMs)) {
        p.kill();  // SIGKILL: no clean-up of any kind
        run.killed = true;
    }
    p.waitForFinished(120000);
    run.exitCode = run.killed ? -1 : p.exitCode();
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

QStringList damagedFiles(const QString& dir) {
    QStringList failures;
    QDirIterator it(dir, {"*.db", "*.DB", "*.db~", "*.DB~"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).size() == 0) {
            failures << path + ": leer";
            continue;
        }
        sqlite3* db = nullptr;
        // Read-write, so that a WAL a killed writer left is recovered as any
        // program opening the file would.
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 10000);
        sqlite3_stmt* st = nullptr;
        QString verdict;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) != SQLITE_OK)
            verdict = QString::fromUtf8(sqlite3_errmsg(db));
        else if (sqlite3_step(st) != SQLITE_ROW)
            verdict = QString::fromUtf8(sqlite3_errmsg(db));
        else
            verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        if (verdict != "ok") failures << path + ": " + verdict;
    }
    return failures;
}

qint64 rows(const QString& database, const QString& table) {
    return qtest::sqlNumber(database, QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
}

QString cliProgram() {
    const QString set = qEnvironmentVariable("QUINTARA_CRASH_CLI");
    return set.isEmpty() ? QStringLiteral(QUINTARA_CLI) : set;
}

QString importProgram() {
    const QString set = qEnvironmentVariable("QUINTARA_CRASH_IMPORTER");
    return set.isEmpty() ? QStringLiteral(QUINTARA_CRASH_IMPORT) : set;
}

int killsPerJob(int fallback) {
    bool ok = false;
    const int n = qEnvironmentVariable("QUINTARA_CRASH_KILLS").toInt(&ok);
    return ok && n > 0 ? n : fallback;
}

std::mt19937& random() {
    static std::mt19937 generator = [] {
        bool ok = false;
        unsigned seed = qEnvironmentVariable("QUINTARA_CRASH_SEED").toUInt(&ok);
        if (!ok) seed = static_cast<unsigned>(QDateTime::currentMSecsSinceEpoch() & 0xffffffff);
        std::printf("Zufallsstartwert (QUINTARA_CRASH_SEED): %u\n", seed);
        std::fflush(stdout);
        return std::mt19937(seed);
    }();
    return generator;
}

}  // namespace crash
