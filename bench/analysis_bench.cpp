// Measures the fill pass of the quote overview for one security with YEARS years of
// daily prices, and the rating run over SECURITIES securities × YEARS years beside
// the time it takes merely to read the rows it reads (each security's record,
// prices, volumes and lots), and prints the ratio.
// Usage: analysis_bench [SECURITIES [YEARS [DIR]]] (defaults 2000 20). Without DIR
// the data go to a temporary directory; with a DIR that holds the data already
// (Daten/Aktien.db), they are used as they are.

#include "analysis/rating_run.h"
#include "base/clock.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "sample/sample_data.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>

namespace {

using namespace q;

using bench::fail;
using bench::ms;

// Reads what the rating run reads of every listed security; returns the rows read.
Result<qint64> readAll(Store& store, const AnalysisSettings& settings, const QDate& today) {
    auto list = resolveList(store, {});
    if (!list) return list.status();
    qint64 rows = 0;
    for (const SecurityRecord& s : *list) {
        auto in = readFillInput(store, s, displayStartOf(settings.fill, today));
        if (!in) return in.status();
        rows += 1 + qint64(in->prices.size() + in->volumes.size() + in->lots.size());
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        sample::Plan plan = bench::samplePlan(args);
        QTemporaryDir tmp;
        const QString data = withSlash(args.size() > 3 ? args[3] : tmp.path()) + QStringLiteral("Daten/");
        const QDate today = plan.lastDay;
        setToday(today);

        if (!bench::ensureSampleData(data, plan, out)) return 1;
        Store store(StoreDirs{data, data, data, data});
        AnalysisSettings settings;

        // The fill pass of the overview for the first security: read its rows, then
        // fill, draw the indicator lines and rate, as picking it in the window does.
        auto first = readSecurity(store, 1);
        if (!first) return fail(first.status());
        QElapsedTimer t;
        const int repeats = 10;
        double readMs = 0, fillMs = 0;
        int rows = 0;
        for (int run = 0; run <= repeats; ++run) {
            t.restart();
            auto in = readFillInput(store, *first, displayStartOf(settings.fill, today));
            if (!in) return fail(in.status());
            const qint64 read = t.nsecsElapsed();
            t.restart();
            const SecurityAnalysis a = analyseSecurity(*in, settings, today, 0);
            const qint64 filled = t.nsecsElapsed();
            rows = a.fill.count();
            if (run == 0) continue;  // warms the page cache
            readMs += read / 1e6 / repeats;
            fillMs += filled / 1e6 / repeats;
        }
        out << "Kursübersicht (" << rows << " Kurse): Lesen " << ms(readMs) << ", Füllen mit Indikatoren und Bewertung "
            << ms(fillMs) << "\n"
            << Qt::flush;

        // The rating run beside merely reading its rows; each twice, the second counts.
        RatingRunOptions options;
        options.today = today;
        qint64 runMs = 0, onlyReadMs = 0, rowsRead = 0;
        int rated = 0;
        for (int run = 0; run < 2; ++run) {
            t.restart();
            auto read = readAll(store, settings, today);
            onlyReadMs = t.elapsed();
            if (!read) return fail(read.status());
            rowsRead = *read;
            bench::PrintProgress progress(200);
            t.restart();
            auto rating = ANALYSEBERECHNUNG(store, settings, options, progress);
            runMs = t.elapsed();
            if (!rating) return fail(rating.status());
            rated = rating->rated;
        }
        out << "\nBewertungslauf: " << rated << " Wertpapiere in " << runMs << " ms, nur Lesen (" << rowsRead
            << " Zeilen): " << onlyReadMs << " ms, Verhältnis "
            << QString::number(onlyReadMs > 0 ? double(runMs) / onlyReadMs : 0.0, 'f', 2) << "\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 1;
    }
}
