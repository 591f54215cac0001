// quintara-sample: writes the bundled sample data directory.
//   quintara-sample DIR      -> DIR/Daten/ with about 30 fictional securities
//   quintara-sample --teletext FILE -> a transport stream with teletext price pages
// An existing DIR/Daten/Firma.db is left alone, so the command can run on every build.

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
        const QString data = q::withSlash(args[1]) + QStringLiteral("Daten/");
        if (q::fileExists(data, QStringLiteral("Firma.db"))) {
            out << "Beispieldaten vorhanden: " << data << "\n";
            return 0;
        }
        q::NoProgress progress;
        auto stats = q::sample::writeSampleData(data, q::sample::Plan(), progress);
        if (!stats) {
            err << stats.status().message() << "\n";
            return 1;
        }
        out << "Beispieldaten angelegt in " << data << ": " << stats->securities << " Wertpapiere, " << stats->prices
            << " Kurse, " << stats->bookings << " Buchungen\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
