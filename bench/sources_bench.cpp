// Measures the further price sources: an Internet run over SECURITIES securities
// against a server on 127.0.0.1 that answers each request after DELAY ms, and a
// price text file of LINES lines booked by "&Textdatei einlesen" against the
// store's bulk insert of the same rows.
// Usage: sources_bench [SECURITIES [DELAY [LINES]]]
// Defaults: 200 securities, 50 ms, 50,000 lines.
// Goals: the Internet run within 1.5 × SECURITIES × DELAY ÷ parallel requests; the
// text import within 1.5 × the bulk insert.

#include "acquisition/internet_source.h"
#include "acquisition/text_import.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "sample/quote_server.h"
#include "store/bulk_insert.h"
#include "store/firma_hooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>

namespace {

using namespace q;

using bench::freshStore;

// `count` securities named "WERT <n>" with that match text.
std::vector<int> addSecurities(Store& store, int count, const std::function<QString(int)>& internet) {
    Table& firma = **store.table("Firma.db");
    std::vector<int> out;
    for (int i = 0; i < count; ++i) {
        Record r = newSecurityRecord(firma, "EUR");
        r.set("FirmenName", QStringLiteral("WERT %1").arg(i));
        for (const char* c : {"ZDF", "N-TV", "SF1", "Sender4"}) r.set(QLatin1String(c), QStringLiteral("WERT %1").arg(i));
        r.set("Internet", internet(i));
        out.push_back(*appendSecurity(firma, r));
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        const int securities = bench::arg(args, 1, 200);
        const int delay = bench::arg(args, 2, 50);
        const int lines = bench::arg(args, 3, 50000);
        QTemporaryDir tmp;
        setToday(QDate(2026, 12, 7));
        NoProgress quiet;
        ReadingHooks hooks;
        ReadingSettings settings;
        settings.bestaetigen = false;
        settings.workDir = tmp.path() + "/";

        // Internet: every answer after `delay` ms, four requests at a time.
        {
            ::sample::QuoteServer server;
            if (!server.listen()) throw std::runtime_error("kein Port frei");
            server.setFallback({200, "Date,Close\n2026-12-07,12.5\n", "text/csv", delay});
            auto store = freshStore(tmp.path() + "/internet/");
            addSecurities(*store, securities, [&](int i) { return server.url(QStringLiteral("/kurs%1.csv").arg(i)); });
            InternetSettings internet;
            auto list = internetSecurities(*store, {}, QString(), false);
            QElapsedTimer t;
            t.start();
            const InternetReport r = internetRun(*store, *list, settings, internet, {}, hooks, quiet);
            const double ms = t.elapsed();
            const double goal = double(securities) * delay / internet.parallel;
            out << "Internet: " << securities << " Wertpapiere, " << r.read.counts.booked << " gebucht in " << ms << " ms; "
                << "Ziel " << goal << " ms × 1,5; Verhältnis " << QString::number(ms / goal, 'f', 2) << "\n";
        }

        // Text import: LINES lines, 100 securities a day, against the bulk insert of those rows.
        {
            const int perDay = 100;
            const int days = std::max(1, lines / (perDay + 1));
            QStringList text;
            std::vector<QVariantList> rows;
            const QDate first = QDate(2026, 12, 7).addDays(-days);
            for (int d = 0; d < days; ++d) {
                const QDate day = first.addDays(d);
                text << formatDate(day);
                for (int i = 0; i < perDay; ++i) {
                    const double kurs = 10.0 + i + (d % 10) * 0.01;
                    text << QStringLiteral("WERT %1\t%2").arg(i).arg(formatAmount(kurs, 2));
                    rows.push_back({i + 1, dayNumber(day), kurs});
                }
            }
            const QString file = tmp.path() + "/kurse.txt";
            if (!writeTextLines(file, text)) throw std::runtime_error("Datei nicht geschrieben");
            // Best of seven alternating rounds, each into empty tables: other work on
            // the machine slows a single round by more than the difference measured.
            double importMs = 1e300;
            double bulkMs = 1e300;
            double importCpu = 1e300;
            double bulkCpu = 1e300;
            ReadReport r;
            for (int round = 0; round < 7; ++round) {
                const QString dir = tmp.path() + QStringLiteral("/runde%1/").arg(round);
                auto store = freshStore(dir + "text/");
                addSecurities(*store, perDay, [](int) { return QString(); });
                // Both sides start with their tables open, as in the window.
                for (const char* name : {"Aktien.db", "Volumen.db"})
                    if (!store->table(QString::fromLatin1(name))) throw std::runtime_error("Tabelle nicht geöffnet");
                QElapsedTimer t;
                t.start();
                double cpu = bench::threadCpuMs();
                r = importPriceText(*store, file, TextLayout::Names, settings, hooks, quiet);
                importMs = std::min<double>(importMs, t.elapsed());
                importCpu = std::min(importCpu, bench::threadCpuMs() - cpu);
                if (!r.status) break;

                auto bulkStore = freshStore(dir + "bulk/");
                Table& aktien = **bulkStore->table("Aktien.db");
                t.start();
                cpu = bench::threadCpuMs();
                BulkInsert insert(aktien);
                if (!insert.begin()) throw std::runtime_error("begin");
                for (const QVariantList& row : rows)
                    if (!insert.add(row)) throw std::runtime_error("add");
                if (!insert.commit()) throw std::runtime_error("commit");
                bulkMs = std::min<double>(bulkMs, std::max<qint64>(1, t.elapsed()));
                bulkCpu = std::min(bulkCpu, bench::threadCpuMs() - cpu);
            }
            out << "Textdatei: " << text.size() << " Zeilen, " << r.counts.booked << " gebucht in " << importMs << " ms; "
                << "Masseneinfügen " << bulkMs << " ms; Verhältnis " << QString::number(importMs / bulkMs, 'f', 2)
                << " (Ziel ≤ 1,5; jeweils bester von 7 Läufen); Rechenzeit " << QString::number(importCpu, 'f', 0) << " / "
                << QString::number(bulkCpu, 'f', 0) << " ms, Verhältnis " << QString::number(importCpu / bulkCpu, 'f', 2) << "\n";
            if (!r.status) out << "  " << r.status.message() << "\n";
        }
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 70;
    }
}
