// Measures the exports and the single-security import: the text export of all prices
// ("/E") over SECURITIES securities × 1 year against reading those rows from the
// store, and import-security of ROWS CSV rows against the store's bulk insert of them.
// Usage: exchange_bench [SECURITIES [ROWS]]
// Defaults: 2,000 securities, 5,000 rows.
// Goals: the export within 1.5 × the reading; the import within 2 × the bulk insert.

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "bench_support.h"
#include "exchange/price_text_export.h"
#include "exchange/security_import.h"
#include "store/bulk_insert.h"
#include "store/firma_hooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <exception>
#include <stdexcept>

namespace {

using namespace q;

using bench::freshStore;

void check(const Status& s) {
    if (!s) throw std::runtime_error(s.message().toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        const QStringList args = app.arguments();
        QTextStream out(stdout);
        const int securities = bench::arg(args, 1, 2000);
        const int rows = bench::arg(args, 2, 5000);
        QTemporaryDir tmp;
        NoProgress quiet;

        // Export: every price of one year, against a plain walk of the same rows.
        {
            const QString data = tmp.path() + "/export/";
            QDir().mkpath(data);
            q::sample::Plan plan;
            plan.securities = securities;
            plan.years = 1;
            plan.depot = false;
            if (!bench::ensureSampleData(data, plan, out)) return 1;
            Store store(StoreDirs{data, data, data, data});
            const QDate from = plan.lastDay.addYears(-1).addDays(1);
            // Best of three alternating rounds: other work on the machine slows a
            // single round by more than the difference measured.
            double readMs = 1e300;
            double exportMs = 1e300;
            qint64 read = 0;
            PriceTextReport exported;
            for (int round = 0; round < 3; ++round) {
                QElapsedTimer t;
                t.start();
                Table& aktien = **store.table("Aktien.db");
                read = 0;
                double sum = 0;
                check((*store.table("Firma.db"))->forEach(Query{}, [&](const Record& f) {
                    Query q = Query::detailOf(f.value("Firma").toInt());
                    q.rangeField = "Datum";
                    q.from = dayNumber(from);
                    q.to = dayNumber(plan.lastDay);
                    check(aktien.forEach(q, [&](const Record& r) {
                        sum += r.values()[2].toDouble();
                        ++read;
                        return true;
                    }));
                    return true;
                }));
                readMs = std::min<double>(readMs, std::max<qint64>(1, t.elapsed()));
                t.start();
                auto r = runPriceTextJob(store, from, plan.lastDay, tmp.path(), 2, quiet);
                if (!r) return bench::fail(r.status());
                exportMs = std::min<double>(exportMs, t.elapsed());
                exported = *r;
            }
            out << "Export Kurse -> Text: " << exported.prices << " Kurse (" << read << " gelesen) in " << exportMs << " ms; Lesen " << readMs
                << " ms; Verhältnis " << QString::number(exportMs / readMs, 'f', 2) << " (Ziel ≤ 1,5; jeweils bester von 3 Läufen)\n";
        }

        // Import: ROWS CSV rows of one security, against the bulk insert of its prices and
        // volumes; best of three alternating rounds, each into empty tables.
        {
            QStringList text{"\"Datum\";\"Kurs\";\"Volumen\""};
            std::vector<QVariantList> prices, volumes;
            const QDate first(2000, 1, 3);
            for (int i = 0; i < rows; ++i) {
                const QDate day = first.addDays(i);
                const double kurs = 10.0 + (i % 500) * 0.01;
                text << QStringLiteral("\"%1\";\"%2\";\"%3\"").arg(formatDate(day), formatAmount(kurs, 2)).arg(100 + i);
                prices.push_back({1, dayNumber(day), kurs});
                volumes.push_back({1, dayNumber(day), 100 + i});
            }
            const QString file = tmp.path() + "/kurse.csv";
            check(writeTextLines(file, text));
            double importMs = 1e300;
            double bulkMs = 1e300;
            qint64 booked = 0;
            for (int round = 0; round < 3; ++round) {
                const QString dir = tmp.path() + QStringLiteral("/runde%1/").arg(round);
                auto store = freshStore(dir + "import/");
                if (!store) throw std::runtime_error("Tabellen nicht angelegt");
                Table& firmen = **store->table("Firma.db");
                Record s = newSecurityRecord(firmen, "EUR");
                s.set("FirmenName", "Zander AG");
                const int firma = *appendSecurity(firmen, s);
                QElapsedTimer t;
                t.start();
                auto r = importSecurity(*store, firma, file, SecurityImportOptions{}, quiet);
                if (!r) return bench::fail(r.status());
                importMs = std::min<double>(importMs, t.elapsed());
                booked = r->booked;

                auto bulk = freshStore(dir + "bulk/");
                t.start();
                for (auto [name, list] : {std::pair{"Aktien.db", &prices}, std::pair{"Volumen.db", &volumes}}) {
                    BulkInsert insert(**bulk->table(name));
                    check(insert.begin());
                    for (const QVariantList& row : *list) check(insert.add(row));
                    check(insert.commit());
                }
                bulkMs = std::min<double>(bulkMs, std::max<qint64>(1, t.elapsed()));
            }
            out << "import-security: " << rows << " Zeilen, " << booked << " gespeichert in " << importMs << " ms; Masseneinfügen " << bulkMs
                << " ms; Verhältnis " << QString::number(importMs / bulkMs, 'f', 2) << " (Ziel ≤ 2; jeweils bester von 3 Läufen)\n";
        }
        return 0;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "Interner Fehler: " << e.what() << "\n";
        return 70;
    }
}
