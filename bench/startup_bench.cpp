// Measures bulk insertion of daily prices and volumes and the start-up to ready on a
// large data directory: by default 2,000 securities x 20 years (about 10 million
// price rows). Usage: startup_bench [SECURITIES [YEARS [DIR]]]
// Without DIR the data go to a temporary directory that is removed afterwards.

#include "app/startup.h"
#include "bench_support.h"
#include "base/text_files.h"
#include "sample/sample_data.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>


int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        q::sample::Plan plan;
        plan.securities = bench::arg(args, 1, 2000);
        plan.years = bench::arg(args, 2, 20);
        plan.depot = true;
        QTemporaryDir tmp;
        const QString home = q::withSlash(args.size() > 3 ? args[3] : tmp.path());

        bench::PrintProgress progress(200);
        QElapsedTimer t;
        t.start();
        auto stats = q::sample::writeSampleData(home + "Daten/", plan, progress);
        const double insertSeconds = t.elapsed() / 1000.0;
        if (!stats) {
            QTextStream(stderr) << stats.status().message() << "\n";
            return 1;
        }
        const qint64 rows = stats->prices + stats->volumes;
        out << "\nEinfügen: " << stats->securities << " Wertpapiere, " << stats->prices << " Kurse, " << stats->volumes
            << " Volumen in " << QString::number(insertSeconds, 'f', 1) << " s = "
            << QString::number(rows / insertSeconds, 'f', 0) << " Zeilen/s\n";

        for (int run = 1; run <= 3; ++run) {
            q::Session session;
            q::UnattendedInteraction ui;
            q::NoProgress none;
            t.restart();
            q::Status st = q::startUp(session, {QString(), home, home + "Quintara.conf"}, ui, none);
            const qint64 ms = t.elapsed();
            if (!st) {
                QTextStream(stderr) << st.message() << "\n";
                return 1;
            }
            out << "Start bis bereit (Lauf " << run << "): " << ms << " ms"
                << (session.autoBackupRan ? " (mit automatischer Sicherung)" : "") << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
