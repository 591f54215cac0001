// Measures the holdings valuation of a depot of LOTS lots over SECURITIES
// securities × YEARS years of daily prices, and the value-history backfill over
// HISTORY years, each beside the time it takes merely to read the rows it reads (the
// lots, the securities' records, the prices), and prints the ratio.
// Usage: portfolio_bench [SECURITIES [YEARS [LOTS [HISTORY [DIR [URI]]]]]]
// (defaults 2000 20 500 5). Without DIR (or with "-") the data go to a temporary
// directory; with a DIR that holds the data already (Daten/Aktien.db), they are used
// as they are. With URI (a PostgreSQL server; QUINTARA_TEST_DATABASE when only that
// is set) the same tables are copied into a database made for the run, the
// valuation is measured there as well, and the ratio server ÷ table files printed.

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "portfolio/currency.h"
#include "portfolio/lot.h"
#include "portfolio/valuation.h"
#include "portfolio/value_history.h"
#include "app/server_migration.h"
#include "sample/sample_data.h"
#include "store/bulk_insert.h"
#include "store/server_connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>
#include <exception>
#include <functional>
#include <random>
#include <set>

namespace {

using namespace q;

// LOTS purchases spread over the securities, bought before the history span begins;
// every tenth is sold within it, so that the backfill sees lots close.
Status writeLots(Store& store, const sample::Plan& plan, int lots, const QDate& historyStart) {
    auto table = store.table(kLots);
    if (!table) return table.status();
    BulkInsert load(**table);
    Q_TRY(load.begin());
    std::mt19937 random(4711);
    const int firstDay = dayNumber(historyStart) - 400;
    for (int i = 0; i < lots; ++i) {
        const int firma = 1 + static_cast<int>(random() % static_cast<unsigned>(plan.securities));
        const int bought = firstDay + static_cast<int>(random() % 380);
        QVariant sold, erloes;
        if (i % 10 == 0) {
            sold = dayNumber(historyStart) + static_cast<int>(random() % 300);
            erloes = 60.0;
        }
        Q_TRY(load.add({firma, bought, double(10 + i % 90), 50.0, sold, erloes, QStringLiteral("Posten %1").arg(i)}));
    }
    return load.commit();
}

// Reads the lots `query` finds and the record of each of their securities, and
// what `prices` reads of each security's prices; returns the rows read.
Result<qint64> readLotsAndSecurities(Store& store, const Query& query, const std::function<Result<qint64>(int firma)>& prices) {
    qint64 rows = 0;
    std::set<int> securities;
    Q_TRY((*store.table(kLots))->forEach(query, [&](const Record& r) {
        securities.insert(r.value(QStringLiteral("Firma")).toInt());
        ++rows;
        return true;
    }));
    for (int firma : securities) {
        auto record = (*store.table(QStringLiteral("Firma.db")))->findKey({firma});
        if (!record) return record.status();
        auto read = prices(firma);
        if (!read) return read.status();
        rows += 1 + *read;
    }
    return rows;
}

// What the valuation reads: the lots bought by the day, and for each security its
// record and its newest price on or before the day.
Result<qint64> readValuationRows(Store& store, const QDate& day) {
    Query lots;
    lots.order = kLotOrder;
    lots.rangeField = QStringLiteral("Datum");
    lots.to = dayNumber(day);
    return readLotsAndSecurities(store, lots, [&](int firma) -> Result<qint64> {
        Query price = Query::detailOf(firma);
        price.rangeField = QStringLiteral("Datum");
        price.to = dayNumber(day);
        price.reverse = true;
        price.limit = 1;
        auto p = (*store.table(QStringLiteral("Aktien.db")))->first(price);
        if (!p) return p.status();
        return qint64(1);
    });
}

// What the backfill reads: the lots, and for each security its record and its
// prices over the span with the one before it.
Result<qint64> readHistoryRows(Store& store, const QDate& from, const QDate& to) {
    Query lots;
    lots.order = kLotOrder;
    return readLotsAndSecurities(store, lots, [&](int firma) -> Result<qint64> {
        auto series = loadPriceSeries(**store.table(QStringLiteral("Aktien.db")), firma, from, to);
        if (!series) return series.status();
        return series->size();
    });
}

QString ms(qint64 n) { return QString::number(n) + QStringLiteral(" ms"); }

// The best of `rounds` valuations of `store` on `day`, in milliseconds; -1 when one fails.
double bestValuation(Store& store, const PortfolioSettings& settings, const QDate& day, int rounds, Valuation* result) {
    auto converter = CurrencyConverter::load(store, settings);
    if (!converter) return -bench::fail(converter.status());
    double best = -1;
    for (int run = 0; run < rounds; ++run) {
        QElapsedTimer t;
        t.start();
        auto valued = AnlagenBerechnung(store, *converter, settings.rule, {day, false});
        const double took = t.nsecsElapsed() / 1e6;
        if (!valued) return -bench::fail(valued.status());
        if (result) *result = *valued;
        best = best < 0 ? took : std::min(best, took);
    }
    return best;
}

// The valuation on the server `cluster`: the data directory's tables go into a
// database made for the run (dropped after it), and the valuation of the same depot
// is timed there. Prints both and their ratio; the exit code.
int compareOnServer(const QString& cluster, const QString& data, const PortfolioSettings& settings, const QDate& day,
                    double fileMs, QTextStream& out) {
    auto admin = ServerConnection::open(cluster);
    if (!admin) return bench::fail(admin.status());
    const QString name = QStringLiteral("quintara_bench_%1").arg(QCoreApplication::applicationPid());
    if (Status s = (*admin)->exec(QStringLiteral("CREATE DATABASE %1").arg(name)); !s) return bench::fail(s);
    QUrl url(cluster);
    url.setPath(QLatin1Char('/') + name);
    int code = 0;
    {
        NoProgress none;
        Directories dirs{data, data, data, data, data, data};
        auto moved = migrateToServer(dirs, {data}, url.toString(), false, none);
        if (!moved) code = bench::fail(moved.status());
        Store store(StoreDirs{data, data, data, data});
        store.setServer(url.toString());
        Valuation v;
        const double serverMs = code ? -1 : bestValuation(store, settings, day, 20, &v);
        if (serverMs < 0) code = 1;
        if (!code)
            out << "Bewertung auf dem Server: " << v.total.lots << " offene Posten: " << bench::ms(serverMs) << ", Tabellendateien "
                << bench::ms(fileMs) << ", Verhältnis Server ÷ Tabellendateien "
                << QString::number(fileMs > 0 ? double(serverMs) / fileMs : 0.0, 'f', 2) << " (Ziel ≤ 2)\n";
    }
    (void)(*admin)->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        sample::Plan plan = bench::samplePlan(args);
        plan.depot = false;
        const int lots = bench::arg(args, 3, 500);
        const int historyYears = bench::arg(args, 4, 5);
        QTemporaryDir tmp;
        const QString data = withSlash(args.size() > 5 && args[5] != QLatin1String("-") ? args[5] : tmp.path()) + QStringLiteral("Daten/");
        const QString cluster = args.size() > 6 ? args[6] : qEnvironmentVariable("QUINTARA_TEST_DATABASE");
        const QDate stichtag = plan.lastDay;
        const QDate historyStart = stichtag.addYears(-historyYears);
        setToday(stichtag.addDays(1));

        if (!bench::ensureSampleData(data, plan, out)) return 1;
        Store store(StoreDirs{data, data, data, data});
        Q_UNUSED(store.recreate(kLots));
        if (Status w = writeLots(store, plan, lots, historyStart); !w) {
            QTextStream(stderr) << w.message() << "\n";
            return 1;
        }
        PortfolioSettings settings;
        auto converter = CurrencyConverter::load(store, settings);
        if (!converter) return 1;

        QElapsedTimer t;
        // Each measured twice, the second run counts: the first warms the page cache.
        qint64 readMs = 0, valueMs = 0;
        qint64 rowsRead = 0;
        Valuation v;
        for (int run = 0; run < 2; ++run) {
            t.restart();
            auto read = readValuationRows(store, stichtag);
            readMs = t.elapsed();
            if (!read) return 1;
            rowsRead = *read;
            t.restart();
            auto valued = AnlagenBerechnung(store, *converter, settings.rule, {stichtag, false});
            valueMs = t.elapsed();
            if (!valued) {
                QTextStream(stderr) << valued.status().message() << "\n";
                return 1;
            }
            v = *valued;
        }
        out << "Bewertung: " << v.total.lots << " offene Posten in " << v.securities.size() << " Wertpapieren: " << ms(valueMs)
            << ", nur Lesen (" << rowsRead << " Zeilen): " << ms(readMs) << ", Verhältnis "
            << QString::number(readMs > 0 ? double(valueMs) / readMs : 0.0, 'f', 2) << "\n"
            << Qt::flush;
        if (!cluster.isEmpty()) {
            const double fileMs = bestValuation(store, settings, stichtag, 20, nullptr);
            if (fileMs < 0) return 1;
            if (int code = compareOnServer(cluster, data, settings, stichtag, fileMs, out)) return code;
        }

        qint64 historyMs = 0;
        int written = 0;
        for (int run = 0; run < 2; ++run) {
            store.close(kHistory);
            QFile::remove(data + kHistory);
            t.restart();
            auto read = readHistoryRows(store, historyStart, stichtag);
            readMs = t.elapsed();
            if (!read) return 1;
            rowsRead = *read;
            NoProgress none;
            t.restart();
            auto backfill = BerechnungAnlagen(store, *converter, historyStart, none);
            historyMs = t.elapsed();
            if (!backfill) {
                QTextStream(stderr) << backfill.status().message() << "\n";
                return 1;
            }
            written = backfill->written;
        }
        out << "Depotwert-Verlauf: " << written << " Tage in " << ms(historyMs) << ", nur Lesen (" << rowsRead
            << " Zeilen): " << ms(readMs) << ", Verhältnis " << QString::number(readMs > 0 ? double(historyMs) / readMs : 0.0, 'f', 2)
            << "\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
