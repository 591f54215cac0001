// Measures the bulk load of the daily prices into a PostgreSQL server through COPY
// (the store's bulk load into its table on the server, and migrate's table copy)
// against the store's bulk load of the same rows into a table file, in the same run:
//   server_bench [SECURITIES [YEARS [ROUNDS [URI]]]]
// (2000 securities, 20 years, 3 rounds; URI from QUINTARA_TEST_DATABASE when not
// given). Both loads read the same rows from one sample Aktien.db, take turns, and
// each is judged by its best round. The server gets schema "quintara" of a database
// made for the run and dropped after it.
#include "bench_support.h"
#include "base/text_files.h"
#include "store/bulk_insert.h"
#include "store/server_connection.h"
#include "store/server_copy.h"
#include "store/server_schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// Loads every row of `source` into a new Aktien.db in `dir` (or, with `server`, into
// the table Aktien there, made anew) with the store's bulk load; seconds, or -1
// (message on stderr).
double storeLoad(const QString& source, const QString& dir, const QString& server = {}) {
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    auto store = std::make_unique<q::Store>(q::StoreDirs{dir, dir, dir, dir});
    if (!server.isEmpty()) store->setServer(server);
    if (q::Status s = store->recreate(QStringLiteral("Aktien.db")); !s) return -bench::fail(s);
    auto src = q::Store::openFile(source, q::layoutForFile(QStringLiteral("Aktien.db")));
    auto dst = store->table(QStringLiteral("Aktien.db"));
    if (!src || !dst) return bench::fail(!src ? src.status() : dst.status()) * -1.0;
    QElapsedTimer t;
    t.start();
    q::BulkInsert insert(**dst);
    if (q::Status s = insert.begin(); !s) return -bench::fail(s);
    q::Status added;
    q::Status walked = (*src)->forEach(q::Query(), [&](const q::Record& r) {
        added = insert.add(r.values());
        return added.isOk();
    });
    if (!walked || !added) return -bench::fail(!walked ? walked : added);
    if (q::Status s = insert.commit(); !s) return -bench::fail(s);
    return t.elapsed() / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    q::sample::Plan plan = bench::samplePlan(args);
    const int rounds = bench::arg(args, 3, 3);
    const QString cluster = args.size() > 4 ? args[4] : qEnvironmentVariable("QUINTARA_TEST_DATABASE");
    if (cluster.isEmpty()) {
        QTextStream(stderr) << "Kein Server: URI als viertes Argument oder QUINTARA_TEST_DATABASE (tools/test-server.sh start DIR)\n";
        return 2;
    }
    QTemporaryDir tmp;
    const QString home = q::withSlash(tmp.path());
    if (!bench::ensureSampleData(home + "Daten/", plan, out)) return 1;
    const QString source = home + "Daten/Aktien.db";

    auto admin = q::ServerConnection::open(cluster);
    if (!admin) return bench::fail(admin.status());
    const QString name = QStringLiteral("quintara_bench_%1").arg(QCoreApplication::applicationPid());
    if (q::Status s = (*admin)->exec(QStringLiteral("CREATE DATABASE %1").arg(name)); !s) return bench::fail(s);
    QUrl url(cluster);
    url.setPath(QLatin1Char('/') + name);
    int code = 0;
    {
        auto server = q::ServerConnection::open(url.toString());
        if (!server) return bench::fail(server.status());
        double best = -1, bestFile = -1, bestStore = -1;
        qint64 rows = 0;
        for (int round = 1; round <= rounds; ++round) {
            const double file = storeLoad(source, home + "Ziel/");
            const double onServer = file < 0 ? -1 : storeLoad(source, home + "ZielServer/", url.toString());
            if (file < 0 || onServer < 0) {
                code = 1;
                break;
            }
            QElapsedTimer t;
            t.start();
            auto copied = q::copyTableToServer(source, QStringLiteral("Aktien"), **server, q::kServerSchema, true);
            const double seconds = t.elapsed() / 1000.0;
            if (!copied) {
                code = bench::fail(copied.status());
                break;
            }
            rows = copied->server;
            bestFile = round == 1 ? file : std::min(bestFile, file);
            bestStore = round == 1 ? onServer : std::min(bestStore, onServer);
            best = round == 1 ? seconds : std::min(best, seconds);
            out << "Runde " << round << ": Tabellendatei " << QString::number(file, 'f', 2) << " s, Tabelle auf dem Server "
                << QString::number(onServer, 'f', 2) << " s, Tabellenkopie (migrate) " << QString::number(seconds, 'f', 2) << " s, "
                << rows << " Zeilen\n"
                << Qt::flush;
        }
        if (code == 0)
            out << "Beste Runden: Tabellendatei " << QString::number(bestFile, 'f', 2) << " s, Server " << QString::number(bestStore, 'f', 2)
                << " s, migrate " << QString::number(best, 'f', 2) << " s\nVerhältnis Server ÷ Tabellendatei: "
                << QString::number(bestStore / bestFile, 'f', 2) << " (Ziel ≤ 1,5); migrate ÷ Tabellendatei: "
                << QString::number(best / bestFile, 'f', 2) << "\n";
    }
    (void)(*admin)->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    return code;
}
