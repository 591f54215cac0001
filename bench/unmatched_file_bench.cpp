// Measures "&Textdatei einlesen" over a large file whose names match no security:
// the time and the peak memory of reading MEGABYTES of such lines, every name a
// different one, into a data directory of 100 securities.
// Usage: unmatched_file_bench [MEGABYTES [DIR]]
// Default: 50 MB. Goals: at most 10 s and 100 MB of memory for 50 MB.

#include "acquisition/text_import.h"
#include "base/clock.h"
#include "bench_support.h"
#include "store/catalogue.h"
#include "store/firma_hooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>

#include <sys/resource.h>

namespace {

// The peak resident memory of this process so far, in MB.
double peakMegabytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        const qint64 megabytes = bench::arg(args, 1, 50);
        QTemporaryDir tmp;
        const QString home = (args.size() > 2 ? args[2] : tmp.path()) + "/";
        const QString data = home + "Daten/";
        QDir().mkpath(data);
        QDir().mkpath(home + "Temp");
        q::Store store({data, data, home + "Temp/", home});
        for (const QString& f : q::startupTableOrder())
            if (q::Status s = store.ensure(f); !s) return bench::fail(s);
        q::Table& firma = **store.table("Firma.db");
        for (int i = 0; i < 100; ++i) {
            q::Record r = q::newSecurityRecord(firma, "EUR");
            r.set("FirmenName", QStringLiteral("WERT %1").arg(i));
            for (const char* c : {"ZDF", "N-TV", "SF1", "Sender4"}) r.set(QLatin1String(c), QStringLiteral("WERT %1").arg(i));
            if (auto added = q::appendSecurity(firma, r); !added) return bench::fail(added.status());
        }

        // Written in pieces, so that the bench itself does not hold the file.
        const QString file = home + "unbekannt.txt";
        {
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly)) return 1;
            QByteArray piece;
            qint64 written = 0;
            for (qint64 n = 0; written < megabytes * 1024 * 1024; ++n) {
                piece += "UNBEKANNT " + QByteArray::number(n) + "\t12,34\t\t100\r\n";
                if (piece.size() > (1 << 20)) {
                    written += f.write(piece);
                    piece.clear();
                }
            }
            f.write(piece);
        }
        const double before = peakMegabytes();
        q::ReadingSettings settings;
        settings.workDir = home + "Temp/";
        settings.bestaetigen = false;
        q::ReadingHooks hooks;
        q::NoProgress quiet;
        QElapsedTimer t;
        t.start();
        const q::ReadReport r = q::importPriceText(store, file, q::TextLayout::Names, settings, hooks, quiet);
        const double seconds = t.elapsed() / 1000.0;
        if (!r.status) return bench::fail(r.status);
        out << "Unbekannte Namen: " << megabytes << " MB, " << r.counts.lines << " Zeilen, nicht zugeordnet " << r.counts.unmatched
            << " in " << QString::number(seconds, 'f', 2) << " s (Ziel ≤ 10 s); Speicher höchstens " << QString::number(peakMegabytes(), 'f', 0)
            << " MB, vor dem Einlesen " << QString::number(before, 'f', 0) << " MB (Ziel ≤ 100 MB)\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
