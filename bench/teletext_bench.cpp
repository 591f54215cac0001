// Measures the teletext reading: booking a daily price file of QUOTES quotes into a
// data directory of SECURITIES securities with YEARS years of prices, and decoding a
// transport stream of MINUTES minutes of teletext (with FILLER picture packets per
// frame beside it).
// Usage: teletext_bench [SECURITIES [YEARS [QUOTES [MINUTES [FILLER [DIR]]]]]]
// Defaults: 2000 securities, 20 years, 5000 quotes, 10 minutes, 20 filler packets.
// Without DIR everything goes to a temporary directory that is removed afterwards.

#include "acquisition/daily_route.h"
#include "acquisition/dvb_source.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "sample/sample_data.h"
#include "sample/teletext_stream.h"
#include "store/wal_checkpoint.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>
#include <unistd.h>


int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        q::sample::Plan plan;
        plan.securities = bench::arg(args, 1, 2000);
        plan.years = bench::arg(args, 2, 20);
        plan.depot = false;
        const int quotes = bench::arg(args, 3, 5000);
        const int minutes = bench::arg(args, 4, 10);
        const int filler = bench::arg(args, 5, 20);
        QTemporaryDir tmp;
        const QString home = q::withSlash(args.size() > 6 ? args[6] : tmp.path());
        const QString data = home + "Daten/";
        bench::PrintProgress progress(500);
        QElapsedTimer t;

        // The data directory.
        if (!q::fileExists(data, "Firma.db")) {
            t.start();
            auto stats = q::sample::writeSampleData(data, plan, progress);
            if (!stats) {
                QTextStream(stderr) << stats.status().message() << "\n";
                return 1;
            }
            out << "\nDatenverzeichnis: " << stats->securities << " Wertpapiere, " << stats->prices << " Kurse in "
                << QString::number(t.elapsed() / 1000.0, 'f', 1) << " s\n";
        }
        q::Store store({data, data, home + "Temp/", home});
        QDir().mkpath(home + "Temp");

        // The daily price file: every security in turn, one day after another, each
        // price a little above the security's last.
        q::Table& firma = **store.table("Firma.db");
        q::Table& aktien = **store.table("Aktien.db");
        struct Security {
            QString match;
            double last;
        };
        std::vector<Security> securities;
        QDate lastDay;
        {
            const auto rows = firma.rows(q::Query());
            for (const q::Record& r : *rows) {
                q::Query last = q::Query::detailOf(r.value("Firma").toInt());
                last.reverse = true;
                const auto price = aktien.first(last);
                if (!price || !price->has_value()) continue;
                securities.push_back({r.value("ZDF").toString(), (*price)->value("Kurs").toDouble()});
                lastDay = std::max(lastDay, q::dateFromDayNumber((*price)->value("Datum").toDouble()));
            }
        }
        if (securities.empty()) {
            QTextStream(stderr) << "Keine Wertpapiere mit Kursen in " << data << "\n";
            return 1;
        }
        QStringList lines;
        QDate day = lastDay;
        for (int i = 0; i < quotes; ++i) {
            Security& s = securities[size_t(i) % securities.size()];
            if (i % int(securities.size()) == 0) {
                day = day.addDays(day.dayOfWeek() == 5 ? 3 : 1);
                lines << q::formatDate(day);
            }
            s.last = q::roundHalfEven(s.last * 1.01, 2);
            lines << s.match + "\t" + q::formatAmount(s.last, 2) + "\t\t" + QString::number(1000 + i);
        }
        q::setToday(day);
        q::ReadingSettings settings;
        settings.vtDatei = home + "aktien.txt";
        settings.workDir = home + "Temp/";
        settings.bestaetigen = false;
        if (q::Status st = q::writeTextLines(settings.vtDatei, lines); !st) {
            QTextStream(stderr) << st.message() << "\n";
            return 1;
        }
        q::ReadingHooks hooks;
        // The data written just now is on disk before the booking is timed: a day's
        // file does not arrive while the system still writes 500 MB of tables.
        q::waitForCheckpoints();
        ::sync();
        t.restart();
        const q::ReadReport report = q::bookDailyFile(store, settings.vtDatei, settings, hooks, progress);
        const double bookSeconds = t.elapsed() / 1000.0;
        // The log's copy into the table files follows in the background.
        q::waitForCheckpoints();
        const double checkpointSeconds = t.elapsed() / 1000.0 - bookSeconds;
        if (!report.status) {
            QTextStream(stderr) << report.status.message() << "\n";
            return 1;
        }
        out << "\nKursdatei: " << quotes << " Kurse, gebucht " << report.counts.booked << ", nicht zugeordnet "
            << report.counts.unmatched << ", unplausibel " << report.counts.implausible << " in " << QString::number(bookSeconds * 1000, 'f', 0)
            << " ms = " << QString::number(quotes / bookSeconds, 'f', 0) << " Kurse/s; Verhältnis zum Ziel von 100 ms "
            << QString::number(bookSeconds * 10, 'f', 2) << " (Ziel ≤ 1); Checkpoint danach im Hintergrund "
            << QString::number(checkpointSeconds * 1000, 'f', 0) << " ms\n";

        // The transport stream: the demonstration pages over and over for MINUTES minutes.
        q::sample::StreamPlan streamPlan = q::sample::demoTeletextPlan(1);
        int packetsPerCycle = 0;
        for (const auto& p : streamPlan.services[0].pages) packetsPerCycle += int(p.rows.size()) + 2;
        // 16 teletext lines a frame, 25 frames a second.
        streamPlan.cycles = std::max(1, minutes * 60 * q::sample::kFramesPerSecond * 16 / packetsPerCycle);
        streamPlan.fillerPackets = filler;
        const QString ts = home + "teletext.ts";
        t.restart();
        if (q::Status st = q::sample::writeTeletextStream(ts, streamPlan); !st) {
            QTextStream(stderr) << st.message() << "\n";
            return 1;
        }
        const double makeSeconds = t.elapsed() / 1000.0;
        const double megabytes = QFileInfo(ts).size() / 1e6;
        q::NoProgress none;
        t.restart();
        auto cache = q::readTransportStream(ts, 1, none);
        const double decodeSeconds = t.elapsed() / 1000.0;
        if (!cache) {
            QTextStream(stderr) << cache.status().message() << "\n";
            return 1;
        }
        int pages = 0;
        for (const auto& s : (*cache)->streams())
            for (const auto& [page, subs] : s.pages) pages += int(subs.size());
        out << "Datenstrom: " << minutes << " min, " << QString::number(megabytes, 'f', 1) << " MB (erzeugt in "
            << QString::number(makeSeconds, 'f', 1) << " s), dekodiert in " << QString::number(decodeSeconds, 'f', 2) << " s = "
            << QString::number(megabytes / decodeSeconds, 'f', 1) << " MB/s, " << QString::number(minutes * 60 / decodeSeconds, 'f', 0)
            << "-fache Echtzeit; " << pages << " Seiten und Unterseiten\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
