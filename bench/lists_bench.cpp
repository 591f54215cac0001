// The list resolver and the movers on the sample data (2,000 securities over 20
// years unless the arguments say otherwise): a filtered list against reading the
// securities master, and the movers of 60 days against reading those 60 days'
// prices of every security.
//   lists_bench [SECURITIES] [YEARS] [DIRECTORY]
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "overview/list_selection.h"
#include "overview/movers.h"
#include "sample/sample_data.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>

namespace {

using namespace q;

using bench::fail;
using bench::ms;

QString ratio(double a, double b) { return QString::number(b > 0 ? a / b : 0.0, 'f', 2); }

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
        auto firma = store.table(QStringLiteral("Firma.db"));
        if (!firma) return fail(firma.status());
        auto aktien = store.table(QStringLiteral("Aktien.db"));
        if (!aktien) return fail(aktien.status());

        const int repeats = 10;
        QElapsedTimer t;
        double readMs = 0, resolveMs = 0;
        qint64 listed = 0, masters = 0;
        ListSelection filtered;
        filtered.filter = QStringLiteral("(Kennung>'5') AND (Firma<>'3') OR (FirmenName<'M')");
        for (int run = 0; run <= repeats; ++run) {
            t.restart();
            qint64 rows = 0;
            Query byName;
            byName.order = QStringLiteral("IFirma");
            Status read = (*firma)->forEach(byName, [&](const Record& r) {
                rows += r.value(QStringLiteral("Firma")).toInt() > 0;
                return true;
            });
            if (!read) return fail(read);
            const qint64 readNs = t.nsecsElapsed();
            t.restart();
            auto list = resolveList(store, filtered);
            const qint64 resolveNs = t.nsecsElapsed();
            if (!list) return fail(list.status());
            if (run == 0) continue;  // warms the page cache
            masters = rows;
            listed = qint64(list->size());
            readMs += readNs / 1e6 / repeats;
            resolveMs += resolveNs / 1e6 / repeats;
        }
        out << "Gefilterte Liste: " << listed << " von " << masters << " Wertpapieren in " << ms(resolveMs)
            << ", Stamm lesen " << ms(readMs) << ", Verhältnis " << ratio(resolveMs, readMs) << " (Ziel 1,5)\n"
            << Qt::flush;

        auto all = resolveList(store, {});
        if (!all) return fail(all.status());
        MoversOptions o;
        o.from = moversStart(today, 60);
        o.count = 10;
        double pricesMs = 0, moversMs = 0;
        qint64 rowsRead = 0;
        int counted = 0;
        for (int run = 0; run < 3; ++run) {
            t.restart();
            qint64 rows = 0;
            for (const SecurityRecord& s : *all) {
                Query period = Query::detailOf(s.Firma);
                period.rangeField = QStringLiteral("Datum");
                period.from = dayNumber(o.from);
                Status read = (*aktien)->forEach(period, [&](const Record& r) {
                    rows += r.value(QStringLiteral("Kurs")).isValid();
                    return true;
                });
                if (!read) return fail(read);
            }
            const double readNs = t.nsecsElapsed();
            t.restart();
            auto movers = computeMovers(store, *all, o);
            const double moversNs = t.nsecsElapsed();
            if (!movers) return fail(movers.status());
            if (run == 0) continue;
            rowsRead = rows;
            counted = movers->up + movers->down;
            pricesMs += readNs / 1e6 / 2;
            moversMs += moversNs / 1e6 / 2;
        }
        out << "Gewinner und Verlierer (60 Tage): " << counted << " Wertpapiere in " << ms(moversMs) << ", die " << rowsRead
            << " Kurse der 60 Tage lesen " << ms(pricesMs) << ", Verhältnis " << ratio(moversMs, pricesMs) << " (Ziel 1,5)\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 1;
    }
}
