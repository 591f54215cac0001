// Measures the realised gains over SOLD sold lots in a foreign currency, the limit
// scan over SECURITIES securities and the two returns (TTWROR and IRR) over the
// value history of YEARS years of daily values of 500 lots, each beside the time it
// takes merely to read the rows it needs, and prints the ratios.
// Usage: depot_tools_bench [SECURITIES [YEARS [SOLD]]] (defaults 2000 10 20000).
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "portfolio/gains.h"
#include "portfolio/limits.h"
#include "portfolio/performance.h"
#include "portfolio/prices.h"
#include "portfolio/value_history.h"
#include "store/bulk_insert.h"
#include "store/firma_hooks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>
#include <random>

namespace {

using namespace q;

// Each measurement twice; the second counts (the first warms the page cache).
template <class F>
double timed(F&& f) {
    double best = 0;
    for (int run = 0; run < 2; ++run) {
        QElapsedTimer t;
        t.start();
        if (!f()) return -1;
        best = static_cast<double>(t.nsecsElapsed()) / 1e6;
    }
    return best;
}

void ratio(QTextStream& out, const QString& what, double work, double read) {
    out << what << ": " << bench::ms(work) << ", nur Lesen: " << bench::ms(read) << ", Verhältnis "
        << QString::number(read > 0 ? work / read : 0.0, 'f', 2) << "\n"
        << Qt::flush;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        sample::Plan plan = bench::samplePlan(args);
        plan.years = bench::arg(args, 2, 10);
        plan.depot = false;
        const int sold = bench::arg(args, 3, 20000);
        QTemporaryDir tmp;
        const QString data = withSlash(tmp.path()) + QStringLiteral("Daten/");
        setToday(plan.lastDay.addDays(1));
        if (!bench::ensureSampleData(data, plan, out)) return 1;
        Store store(StoreDirs{data, data, data, data});
        if (Status s = store.recreate(kLots); !s) return bench::fail(s);

        // The dollar: security 1 quotes it; every sold lot is of a dollar security.
        {
            auto waehrung = store.table(QStringLiteral("Waehrung.db"));
            if (!waehrung) return bench::fail(waehrung.status());
            Record r = (*waehrung)->newRecord();
            r.set(QStringLiteral("Symbol"), QStringLiteral("USD"));
            r.set(QStringLiteral("Name"), QStringLiteral("Dollarkurs"));
            r.set(QStringLiteral("Faktor"), 0.9);
            r.set(QStringLiteral("Multiplikator"), true);
            r.set(QStringLiteral("Einheit"), 1.0);
            if (auto a = (*waehrung)->append(r); !a) return bench::fail(a.status());
            auto firma = store.table(QStringLiteral("Firma.db"));
            if (!firma) return bench::fail(firma.status());
            auto one = (*firma)->findKey({1});
            if (!one || !one->has_value()) return 1;
            Record renamed = **one;
            renamed.set(QStringLiteral("FirmenName"), QStringLiteral("Dollarkurs"));
            if (Status s = postSecurity(**firma, **one, renamed); !s) return bench::fail(s);
            for (int f = 2; f <= plan.securities; ++f) {
                auto rec = (*firma)->findKey({f});
                if (!rec || !rec->has_value()) continue;
                Record after = **rec;
                after.set(QStringLiteral("Waehrung"), QStringLiteral("USD"));
                if (f % 3 == 0) after.set(QStringLiteral("Oberes_Limit"), 1.0);  // breached
                if (f % 5 == 0) after.set(QStringLiteral("Unteres_Limit"), 0.5);
                if (Status s = postSecurity(**firma, **rec, after); !s) return bench::fail(s);
            }
        }
        {
            auto table = store.table(kLots);
            BulkInsert load(**table);
            if (Status s = load.begin(); !s) return bench::fail(s);
            std::mt19937 random(4711);
            const int first = dayNumber(plan.lastDay.addYears(-plan.years));
            const int span = dayNumber(plan.lastDay) - first;
            for (int i = 0; i < sold; ++i) {
                const int firma = 2 + static_cast<int>(random() % static_cast<unsigned>(plan.securities - 1));
                const int bought = first + static_cast<int>(random() % static_cast<unsigned>(span / 2));
                const int sale = bought + 1 + static_cast<int>(random() % static_cast<unsigned>(span / 2));
                if (Status s = load.add({firma, bought, 10.0, 50.0, sale, 55.0, QStringLiteral("Posten %1").arg(i)}); !s)
                    return bench::fail(s);
            }
            if (Status s = load.commit(); !s) return bench::fail(s);
        }
        PortfolioSettings settings;
        auto converter = CurrencyConverter::load(store, settings);
        if (!converter) return bench::fail(converter.status());
        UnattendedInteraction ui;

        // Gains: the lots, their securities and every rate they convert with.
        const double readGains = timed([&] {
            auto lots = readLots(**store.table(kLots), Query());
            if (!lots) return false;
            auto rates = loadPriceSeries(**store.table(QStringLiteral("Aktien.db")), 1, QDate(), QDate());
            for (int f = 2; f <= plan.securities; ++f) (void)(*store.table(QStringLiteral("Firma.db")))->findKey({f});
            return rates.isOk();
        });
        const double gains = timed([&] {
            auto fresh = CurrencyConverter::load(store, settings);
            return fresh && Gewinnberechnung(store, *fresh, settings.rule, {GainsPeriod::all(), false}, ui).isOk();
        });
        ratio(out, QStringLiteral("Realisierte Gewinne (%1 verkaufte Posten in USD)").arg(sold), gains, readGains);

        // The limit scan: each security's newest price.
        const double readLimits = timed([&] {
            auto aktien = store.table(QStringLiteral("Aktien.db"));
            for (int f = 1; f <= plan.securities; ++f)
                if (!priceOnOrBefore(**aktien, f, QDate(9999, 12, 31))) return false;
            return true;
        });
        LimitScanOptions options;
        const double scan = timed([&] {
            auto subjects = limitSubjects(store);
            if (!subjects) return false;
            LimitScanOptions o = options;
            return !scanLimits(*subjects, o, [](LimitFinding&, LimitScanOptions&) { return LimitAnswer::Nein; }).empty();
        });
        ratio(out, QStringLiteral("Limit-Prüfung (%1 Wertpapiere)").arg(plan.securities), scan, readLimits);

        // The returns over a daily value history of 500 lots.
        double backfillMs = 0;
        {
            if (Status s = store.recreate(kLots); !s) return bench::fail(s);
            auto table = store.table(kLots);
            BulkInsert load(**table);
            if (Status s = load.begin(); !s) return bench::fail(s);
            const int first = dayNumber(plan.lastDay.addYears(-plan.years));
            for (int i = 0; i < 500; ++i)
                if (Status s = load.add({2 + i % (plan.securities - 1), first + i * 7, 10.0, 50.0, QVariant(), QVariant(), QString()}); !s)
                    return bench::fail(s);
            if (Status s = load.commit(); !s) return bench::fail(s);
            NoProgress none;
            auto fresh = CurrencyConverter::load(store, settings);
            if (!fresh) return bench::fail(fresh.status());
            QElapsedTimer t;
            t.start();
            auto backfill = BerechnungAnlagen(store, *fresh, plan.lastDay.addYears(-plan.years), none);
            if (!backfill) return bench::fail(backfill.status());
            backfillMs = static_cast<double>(t.nsecsElapsed()) / 1e6;
        }
        const double readHistory = timed([&] { return q::readHistory(store).isOk(); });
        const double returns = timed([&] {
            auto fresh = CurrencyConverter::load(store, settings);
            return fresh && performance(store, *fresh, QDate(), QDate()).isOk();
        });
        ratio(out, QStringLiteral("Renditen TTWROR und IZF (%1 Jahre, 500 Posten)").arg(plan.years), returns, readHistory);
        out << "  gegen die Berechnung des Depotwert-Verlaufs: " << bench::ms(backfillMs) << ", Verhältnis "
            << QString::number(backfillMs > 0 ? returns / backfillMs : 0.0, 'f', 3) << "\n";
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 3;
    }
}
