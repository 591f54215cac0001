// crash_import: the bulk load the crash harness kills. Appends daily prices for every
// security of the data directory, day after day, in batches of one transaction each,
// and prints "commit <rows>" once a batch is committed, so the harness knows which
// rows must survive a kill. With URI the tables are those of the PostgreSQL server.
//   crash_import DATADIR BATCHES DAYS_PER_BATCH [URI]

#include "store/bulk_insert.h"
#include "store/store.h"

#include <QCoreApplication>
#include <QTextStream>
#include <exception>

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (args.size() != 4 && args.size() != 5) {
            err << "Aufruf: crash_import DATENVERZEICHNIS STAPEL TAGE_JE_STAPEL [URI]\n";
            return 2;
        }
        const QString dir = args[1].endsWith(QLatin1Char('/')) ? args[1] : args[1] + QLatin1Char('/');
        const int batches = args[2].toInt();
        const int days = args[3].toInt();
        q::Store store({dir, dir, dir, dir});
        if (args.size() == 5) store.setServer(args[4]);
        auto firma = store.table(QStringLiteral("Firma.db"));
        auto aktien = store.table(QStringLiteral("Aktien.db"));
        if (!firma || !aktien) {
            err << (firma ? aktien.status() : firma.status()).message() << "\n";
            return 1;
        }
        auto numbers = (*firma)->db().texts(QStringLiteral("SELECT \"Firma\" FROM \"Firma\" ORDER BY \"Firma\""));
        auto last = (*aktien)->db().texts(QStringLiteral("SELECT max(\"Datum\") FROM \"Aktien\""));
        if (!numbers || !last) return 1;
        int day = last->value(0).toInt() + 1;
        for (int b = 0; b < batches; ++b) {
            q::BulkInsert load(**aktien);
            if (q::Status s = load.begin(); !s) {
                err << s.message() << "\n";
                return 1;
            }
            for (int d = 0; d < days; ++d, ++day)
                for (const QString& n : *numbers)
                    if (q::Status s = load.add({n.toInt(), day, 10.0 + d}); !s) {
                        err << s.message() << "\n";
                        return 1;
                    }
            if (q::Status s = load.commit(); !s) {
                err << s.message() << "\n";
                return 1;
            }
            out << "commit " << load.added() << Qt::endl;
        }
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
