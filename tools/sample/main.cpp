// quintara-sample: writes the bundled sample data directory.
//   quintara-sample DIR      -> DIR/Daten/ with about 30 fictional securities, and
//                               DIR/Beispielkurse.txt with their next day's prices
//   quintara-sample --teletext FILE -> a transport stream with teletext price pages
// An existing DIR/Daten/Firma.db or price file is left alone, so the command can run
// on every build.

#include "base/text_files.h"
#include "sample/sample_data.h"
#include "sample/teletext_stream.h"

#include <QCoreApplication>
#include <QTextStream>
#include <exception>

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        const QStringList args = app.arguments();
        if (args.size() == 3 && args[1] == QLatin1String("--teletext")) {
            if (q::Status st = q::sample::writeTeletextStream(args[2], q::sample::demoTeletextPlan()); !st) {
                err << st.message() << "\n";
                return 1;
            }
            out << "Videotext-Datenstrom geschrieben: " << args[2] << "\n";
            return 0;
        }
        if (args.size() != 2) {
            err << "Aufruf: quintara-sample VERZEICHNIS | --teletext DATEI\n";
            return 2;
        }
        const QString home = q::withSlash(args[1]);
        const QString data = home + QStringLiteral("Daten/");
        const q::sample::Plan plan;
        if (q::fileExists(data, QStringLiteral("Firma.db"))) {
            out << "Beispieldaten vorhanden: " << data << "\n";
        } else {
            q::NoProgress progress;
            auto stats = q::sample::writeSampleData(data, plan, progress);
            if (!stats) {
                err << stats.status().message() << "\n";
                return 1;
            }
            out << "Beispieldaten angelegt in " << data << ": " << stats->securities << " Wertpapiere, " << stats->prices
                << " Kurse, " << stats->bookings << " Buchungen\n";
        }
        // The price file is offered again after the user read and deleted it.
        if (!q::fileExists(home, q::sample::kSamplePriceFile)) {
            const QString file = home + q::sample::kSamplePriceFile;
            if (q::Status st = q::sample::writeSamplePriceText(file, plan); !st) {
                err << st.message() << "\n";
                return 1;
            }
            out << "Kurs-Textdatei geschrieben: " << file << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
