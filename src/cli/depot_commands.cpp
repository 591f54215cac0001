// The depot's reports: the valuation with anlagen.rtf and the day's value-history
// record, the value history with its backfill, and the bookings text Depot.txt.
#include "cli/portfolio_cli.h"
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/report_rtf.h"
#include "base/text_files.h"
#include "portfolio/bookings_view.h"
#include "portfolio/currencies.h"
#include "portfolio/holdings_report.h"
#include "portfolio/value_history.h"

#include <QFile>
#include <QJsonArray>

namespace q::cli {

namespace {

QJsonObject sumsJson(const Sums& s) {
    return QJsonObject{{QStringLiteral("invested"), s.invested},
                       {QStringLiteral("value"), s.value},
                       {QStringLiteral("gain"), s.gain()},
                       {QStringLiteral("percent"), s.percent()}};
}

QString sumsLine(const Sums& s, const PortfolioSettings& p, const QString& symbol) {
    return QStringLiteral("Anlagesumme %1, Depotsumme %2, Gewinn %3, %4%")
        .arg(reportMoney(s.invested, 10, p.decimals, symbol), reportMoney(s.value, 10, p.decimals, symbol),
             reportMoney(s.gain(), 8, p.decimals, symbol), reportPercent(s.percent()));
}

Outcome runDepot(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    PortfolioSettings settings = portfolioSettings(s);
    auto refreshed = refreshFactors(s.store, settings);
    if (!refreshed) return failed(refreshed.status());
    auto stichtag = dateArg(c.args, QStringLiteral("--date"), today());
    if (!stichtag) return failed(stichtag.status());
    auto converter = CurrencyConverter::load(s.store, settings);
    if (!converter) return failed(converter.status());
    auto v = AnlagenBerechnung(s.store, *converter, settings.rule, {*stichtag, c.args.has(QStringLiteral("--second-currency"))});
    if (!v) return failed(v.status());

    const QString path = filePath(s.dirs.work, kHoldingsReport);
    out.json[QStringLiteral("date")] = formatDate(v->stichtag);
    out.json[QStringLiteral("symbol")] = v->symbol;
    if (v->empty()) {
        // No report of an empty depot: the window then says that nothing is entered yet.
        QFile::remove(path);
        out.lines << QStringLiteral("Keine Wertpapiere im Depot am %1").arg(formatDate(v->stichtag));
        out.json[QStringLiteral("securities")] = QJsonArray();
        return out;
    }
    HoldingsReportOptions options;
    options.details = s.values.truth(QStringLiteral("AnlageDetail"));
    options.decimals = settings.decimals;
    options.homeSymbol = settings.homeSymbol;
    options.today = today();
    if (Status w = report::writeRtf(holdingsReport(*v, options), path); !w) return failed(w);
    if (Status h = writeHistoryRecord(s.store, historyRecord(v->stichtag, v->homeTotal)); !h) return failed(h);

    out.lines << QStringLiteral("Depotbewertung am %1").arg(formatDate(v->stichtag));
    QJsonArray securities;
    for (const SecurityValue& sv : v->securities) {
        out.lines << QStringLiteral("%1: %2 Anteile, %3%4")
                         .arg(sv.name, number(sv.sums.shares), sumsLine(sv.sums, settings, v->symbol),
                              sv.noPrice ? QStringLiteral(" (kein Kurs bis zum %1)").arg(formatDate(v->stichtag)) : QString());
        QJsonObject o = sumsJson(sv.sums);
        o[QStringLiteral("firma")] = sv.firma;
        o[QStringLiteral("name")] = sv.name;
        o[QStringLiteral("shares")] = sv.sums.shares;
        o[QStringLiteral("priceDate")] = formatDate(sv.priceDate);
        o[QStringLiteral("currency")] = sv.waehrung;
        securities.append(o);
    }
    out.lines << QStringLiteral("Summe aller Wertpapiere: %1").arg(sumsLine(v->total, settings, v->symbol));
    const Sums free = v->taxFree();
    if (free.lots > 0)
        out.lines << QStringLiteral("Gewinne ausserhalb der Spekulationsfrist bzw. ohne Abgeltungssteuer: %1")
                         .arg(sumsLine(free, settings, v->symbol));
    if (v->taxable.lots > 0)
        out.lines << QStringLiteral("Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen würden %1: %2")
                         .arg(v->estimate(), sumsLine(v->taxable, settings, v->symbol));
    out.lines << QStringLiteral("Bericht: %1").arg(path);

    const QJsonObject total = sumsJson(v->total);
    for (auto it = total.begin(); it != total.end(); ++it) out.json[it.key()] = it.value();
    out.json[QStringLiteral("taxFree")] = sumsJson(free);
    QJsonObject taxable = sumsJson(v->taxable);
    taxable[QStringLiteral("estimate")] = roundHalfEven(v->taxable.gain() * 27.0, 0) / 100.0;
    taxable[QStringLiteral("estimateText")] = v->estimate();
    out.json[QStringLiteral("taxable")] = taxable;
    out.json[QStringLiteral("securities")] = securities;
    out.json[QStringLiteral("report")] = path;
    return out;
}

Outcome runHistory(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return failed(from.status());
    const PortfolioSettings settings = portfolioSettings(s);
    auto converter = CurrencyConverter::load(s.store, settings);
    if (!converter) return failed(converter.status());
    auto backfill = BerechnungAnlagen(s.store, *converter, *from, c.progress);
    if (!backfill) {
        if (backfill.status().category() == Category::Cancelled && !from->has_value())
            return failed(Status::invalid(QStringLiteral("Beginn der Depotberechnung fehlt (--from TT.MM.JJJJ)")));
        return failed(backfill.status());
    }
    auto records = readHistory(s.store, from->value_or(QDate()));
    if (!records) return failed(records.status());
    out.lines << QStringLiteral("Neu berechnet: %1 Tage").arg(backfill->written);
    QJsonArray list;
    for (const HistoryRecord& r : *records) {
        out.lines << QStringLiteral("%1\tAnlagesumme %2\tDepotwert %3\tGewinn %4")
                         .arg(formatDate(r.DATUM), reportMoney(r.invested(), 10, settings.decimals, settings.homeSymbol),
                              reportMoney(r.value(), 10, settings.decimals, settings.homeSymbol),
                              reportMoney(r.value() - r.invested(), 8, settings.decimals, settings.homeSymbol));
        list.append(QJsonObject{{QStringLiteral("date"), formatDate(r.DATUM)},
                                {QStringLiteral("shares"), r.Anteile},
                                {QStringLiteral("invested"), r.invested()},
                                {QStringLiteral("value"), r.value()}});
    }
    out.json[QStringLiteral("written")] = backfill->written;
    out.json[QStringLiteral("records")] = list;
    return out;
}

Outcome runBookingsText(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const PortfolioSettings settings = portfolioSettings(c.session);
    auto text = writeBookingsText(c.session.store, c.session.dirs.work, kBookingsOrder, bookingsColumns(), settings.homeSymbol);
    if (!text) return failed(text.status());
    out.lines << QStringLiteral("Geschrieben: %1").arg(text->path) << text->sumLine;
    out.json[QStringLiteral("file")] = text->path;
    out.json[QStringLiteral("sum")] = text->sum;
    out.json[QStringLiteral("sumLine")] = text->sumLine;
    return out;
}

}  // namespace

std::vector<Command> depotReportCommands() {
    return {
        {"depot", "Depot bewerten (anlagen.rtf)",
         "depot [--date TT.MM.JJJJ] [--second-currency]\n"
         "Bewertet die am Stichtag (ohne --date heute) offenen Posten zum letzten Kurs bis zu\n"
         "diesem Tag, schreibt anlagen.rtf ins Arbeitsverzeichnis und den Depotwert des Tages\n"
         "in Anlagen.DB. --second-currency: Beträge in der 2. Währung.",
         runDepot, ArgSpec{{{"--date", true}, {"--second-currency", false}}, 0, 0}},
        {"history", "Depotwert-Verlauf berechnen und zeigen",
         "history [--from TT.MM.JJJJ]\n"
         "Berechnet den Depotwert für jeden Tag nach dem letzten gespeicherten bis gestern\n"
         "(ohne Anlagen.DB ab --from) und zeigt die Tage ab --from.",
         runHistory, ArgSpec{{{"--from", true}}, 0, 0}},
        {"bookings-text", "Buchungen als Text (Depot.txt)",
         "bookings-text\nSchreibt alle Buchungen nach Kaufdatum (neueste zuerst) mit ihrer Summe nach\nDepot.txt im Arbeitsverzeichnis.",
         runBookingsText},
    };
}

}  // namespace q::cli
