// Measures bulk insertion of daily prices and volumes against the best plain loop
// over the SQLite C API with the same rows into the same tables, and the start-up
// to ready on the data directory written: by default 2,000 securities x 20 years
// (about 10 million price rows).
// Usage: startup_bench [SECURITIES [YEARS [DIR]]]
// Without DIR the data go to a temporary directory that is removed afterwards.

#include "app/startup.h"
#include "bench_support.h"
#include "base/text_files.h"
#include "sample/sample_data.h"
#include "store/catalogue.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>
#include <sqlite3.h>

namespace {

bool ok(sqlite3* db, int rc, const char* what) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE) return true;
    QTextStream(stderr) << what << ": " << sqlite3_errmsg(db) << "\n";
    return false;
}

// One table file loaded the fastest plain way: the table made without its
// secondary indexes, every row through one prepared statement in one transaction,
// the indexes made after the load. The file settings are the program's (WAL,
// synchronous NORMAL) with the same page cache as its bulk loads.
struct RawTable {
    sqlite3* db = nullptr;
    sqlite3_stmt* insert = nullptr;
    QStringList indexes;

    bool open(const QString& path, const q::Layout& layout) {
        if (!ok(db, sqlite3_open(path.toUtf8().constData(), &db), "open")) return false;
        const QStringList statements = q::createStatements(layout);
        indexes = statements.mid(1);
        const QByteArray setup = QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-262144; "
                                                "%1; BEGIN;")
                                     .arg(statements.first())
                                     .toUtf8();
        if (!ok(db, sqlite3_exec(db, setup.constData(), nullptr, nullptr, nullptr), "create")) return false;
        const QByteArray sql = QStringLiteral("INSERT INTO \"%1\" VALUES (?, ?, ?)").arg(layout.table).toUtf8();
        return ok(db, sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr), "prepare");
    }
    bool finish() {
        sqlite3_finalize(insert);
        const QByteArray sql = (indexes.join(QStringLiteral("; ")) + QStringLiteral("; COMMIT;")).toUtf8();
        const bool done = ok(db, sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), "commit");
        sqlite3_close(db);
        return done;
    }
};

// The raw loop over the plan's rows; returns the seconds it took, < 0 on failure.
double rawLoad(const QString& dir, const q::sample::Plan& plan) {
    QDir().mkpath(dir);
    QElapsedTimer t;
    t.start();
    RawTable prices, volumes;
    if (!prices.open(dir + "Aktien.db", q::layoutForFile(QStringLiteral("Aktien.db")))) return -1;
    if (!volumes.open(dir + "Volumen.db", q::layoutForFile(QStringLiteral("Volumen.db")))) return -1;
    q::sample::Generator generator(plan);
    const std::vector<int>& days = generator.days();
    for (int firma = 1; firma <= plan.securities; ++firma) {
        const q::sample::Security s = generator.next();
        for (size_t d = 0; d < days.size(); ++d) {
            sqlite3_bind_int(prices.insert, 1, firma);
            sqlite3_bind_int(prices.insert, 2, days[d]);
            sqlite3_bind_double(prices.insert, 3, s.prices[d]);
            if (!ok(prices.db, sqlite3_step(prices.insert), "insert")) return -1;
            sqlite3_reset(prices.insert);
            sqlite3_bind_int(volumes.insert, 1, firma);
            sqlite3_bind_int(volumes.insert, 2, days[d]);
            sqlite3_bind_int64(volumes.insert, 3, s.volumes[d]);
            if (!ok(volumes.db, sqlite3_step(volumes.insert), "insert")) return -1;
            sqlite3_reset(volumes.insert);
        }
    }
    if (!prices.finish() || !volumes.finish()) return -1;
    return t.elapsed() / 1000.0;
}

}  // namespace

// Three start-ups of the installation `home` (on the server `uri` when given), each timed.
bool timeStarts(const QString& home, const QString& uri, QTextStream& out) {
    QElapsedTimer t;
    for (int run = 1; run <= 3; ++run) {
        q::Session session;
        q::UnattendedInteraction ui;
        q::NoProgress none;
        q::StartOptions options;
        options.homeDir = home;
        options.settingsPath = home + "Quintara.conf";
        options.database = uri;
        t.start();
        q::Status st = q::startUp(session, options, ui, none);
        const qint64 ms = t.elapsed();
        if (!st) {
            QTextStream(stderr) << st.message() << "\n";
            return false;
        }
        out << "Start bis bereit (Lauf " << run << "): " << ms << " ms" << (uri.isEmpty() ? "" : " (Datenbankserver)")
            << (session.autoBackupRan ? " (mit automatischer Sicherung)" : "") << "\n"
            << Qt::flush;
    }
    return true;
}

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        // startup_bench --start DIR [URI]: only the start-up on an existing installation,
        // with URI on the tables of that server.
        if (args.value(1) == QLatin1String("--start")) return timeStarts(q::withSlash(args.value(2)), args.value(3), out) ? 0 : 1;
        q::sample::Plan plan;
        plan.securities = bench::arg(args, 1, 2000);
        plan.years = bench::arg(args, 2, 20);
        plan.depot = true;
        QTemporaryDir tmp;
        const QString home = q::withSlash(args.size() > 3 ? args[3] : tmp.path());
        const qint64 rows = 2 * plan.securities * static_cast<qint64>(q::sample::Generator(plan).days().size());

        // The two loads take turns, three rounds, and each is judged by its best round:
        // the machine's other work then weighs on both alike.
        constexpr int kRounds = 3;
        double rawSeconds = 0, insertSeconds = 0;
        q::sample::Stats stats;
        bench::PrintProgress progress(200);
        QElapsedTimer t;
        for (int round = 1; round <= kRounds; ++round) {
            const double raw = rawLoad(home + "roh/", plan);
            if (raw < 0) return 1;
            QDir(home + "roh/").removeRecursively();
            rawSeconds = round == 1 ? raw : std::min(rawSeconds, raw);
            out << "SQLite-C-Schleife (Runde " << round << "): " << rows << " Zeilen in " << QString::number(raw, 'f', 1) << " s\n"
                << Qt::flush;

            // Each round writes the data directory anew; the last one's stays for the start-up below.
            if (round > 1) QDir(home + "Daten/").removeRecursively();
            t.start();
            auto written = q::sample::writeSampleData(home + "Daten/", plan, progress);
            const double seconds = t.elapsed() / 1000.0;
            if (!written) {
                QTextStream(stderr) << written.status().message() << "\n";
                return 1;
            }
            stats = *written;
            insertSeconds = round == 1 ? seconds : std::min(insertSeconds, seconds);
            out << "\nEinfügen (Runde " << round << "): " << stats.securities << " Wertpapiere, " << stats.prices << " Kurse, "
                << stats.volumes << " Volumen in " << QString::number(seconds, 'f', 1) << " s\n"
                << Qt::flush;
        }
        const double rawRate = rows / rawSeconds;
        const double rate = (stats.prices + stats.volumes) / insertSeconds;
        out << "Beste Runden: SQLite-C-Schleife " << QString::number(rawRate, 'f', 0) << " Zeilen/s, Einfügen "
            << QString::number(rate, 'f', 0) << " Zeilen/s\n";
        out << "Verhältnis zur SQLite-C-Schleife: " << QString::number(rate / rawRate, 'f', 2) << " (Ziel ≥ 0,95)\n" << Qt::flush;

        return timeStarts(home, QString(), out) ? 0 : 1;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
