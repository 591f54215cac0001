// What the crash harness and the disk-full runs share: a sample installation, the
// jobs run as processes, and the checks that every table is whole afterwards.
#pragma once

#include "support/test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <random>

namespace crash {

// A temporary installation: sample data in Daten/, the settings file beside it.
class Installation {
public:
    // `securities` sample securities with `years` of prices in `root` (or a new
    // temporary directory when empty).
    explicit Installation(int securities = 30, int years = 10, const QString& root = {});
    bool ok() const { return m_ok; }
    QString home() const { return m_home; }
    QString data() const { return m_home + "Daten/"; }
    QString settings() const { return m_home + "Quintara.conf"; }
    // Writes one value of the main settings key.
    void setSetting(const QString& name, int value) const;
    // The arguments that point quintara-cli at this installation, then `args`.
    QStringList cli(const QStringList& args) const;

private:
    QTemporaryDir m_tmp;
    QString m_home;
    bool m_ok = false;
};

// One run of a job: finished on its own or killed.
struct Run {
    bool killed = false;
    int exitCode = -1;
    QString out;
    QString err;
};

// Starts `program` and kills it with SIGKILL after `killAfterMs` when it is still
// running then (< 0: never). `setup` may prepare the child process (limits).
Run runAndKill(const QString& program, const QStringList& args, int killAfterMs,
               const std::function<void(QProcess&)>& setup = {});

// Every SQLite file under `dir` (tables, copies, generations, archives; not the
// ".neu" files a stopped job leaves, which no one reads): passes SQLite's integrity
// check. Returns the failures, "<file>: <finding>", empty when all are whole.
QStringList damagedFiles(const QString& dir);

// The rows of `table` in `database`; -1 when it cannot be read.
qint64 rows(const QString& database, const QString& table);

// The programs under test: QUINTARA_CRASH_CLI and QUINTARA_CRASH_IMPORTER when set
// (a long run works on copies, so that a build meanwhile cannot change them), else
// the ones of this build.
QString cliProgram();
QString importProgram();

// The kills per job: QUINTARA_CRASH_KILLS, else `fallback`.
int killsPerJob(int fallback);
// The random generator of the harness, seeded from QUINTARA_CRASH_SEED or the
// clock; the seed is printed so that a failing run can be repeated.
std::mt19937& random();

}  // namespace crash
