// What the measuring programs share: progress on stderr and their numeric arguments.
#pragma once

#include "base/interaction.h"
#include "sample/sample_data.h"
#include "store/catalogue.h"
#include "store/store.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <ctime>

namespace bench {

// "done/total" on stderr every `every` steps, on one line.
class PrintProgress final : public q::Progress {
public:
    explicit PrintProgress(int every) : m_every(every) {}
    void step(const QString&, qint64 done, qint64 total) override {
        if (total > 0 && done % m_every == 0) QTextStream(stderr) << "\r" << done << "/" << total << Qt::flush;
    }

private:
    int m_every;
};

// The CPU time this thread has used, in milliseconds: on a machine busy with other
// work the wall clock of one round says little, the thread's own time stays.
inline double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A store in `dir` (made when missing) with every table of the start-up, empty;
// nullptr when one cannot be made.
inline std::unique_ptr<q::Store> freshStore(const QString& dir) {
    QDir().mkpath(dir);
    auto store = std::make_unique<q::Store>(q::StoreDirs{dir, dir, dir, dir});
    for (const QString& f : q::startupTableOrder())
        if (!store->ensure(f)) return nullptr;
    return store;
}

// A duration in milliseconds with one decimal, "12.3 ms".
inline QString ms(double n) { return QString::number(n, 'f', 1) + QStringLiteral(" ms"); }

// Says the failure on stderr; the exit code of a failed measurement.
inline int fail(const q::Status& s) {
    QTextStream(stderr) << s.message() << "\n";
    return 1;
}

// Argument `i` as a number, `fallback` when it is not given.
inline int arg(const QStringList& args, int i, int fallback) { return args.size() > i ? args[i].toInt() : fallback; }

// The sample plan of arguments 1 and 2: securities and years (2000 and 20 when not
// given).
inline q::sample::Plan samplePlan(const QStringList& args) {
    q::sample::Plan plan;
    plan.securities = arg(args, 1, 2000);
    plan.years = arg(args, 2, 20);
    return plan;
}

// Writes the plan's sample data into `data` unless it holds Aktien.db already, and
// says how long that took; false (the message on stderr) when it fails.
inline bool ensureSampleData(const QString& data, const q::sample::Plan& plan, QTextStream& out) {
    if (QFile::exists(data + QStringLiteral("Aktien.db"))) return true;
    PrintProgress progress(200);
    QElapsedTimer t;
    t.start();
    auto stats = q::sample::writeSampleData(data, plan, progress);
    if (!stats) {
        QTextStream(stderr) << stats.status().message() << "\n";
        return false;
    }
    out << "\nDaten: " << stats->securities << " Wertpapiere, " << stats->prices << " Kurse in "
        << QString::number(t.elapsed() / 1000.0, 'f', 1) << " s\n"
        << Qt::flush;
    return true;
}

}  // namespace bench
