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
#include "portfolio/gains_report.h"
#include "portfolio/holdings_report.h"
#include "portfolio/performance.h"
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

// The period of --year, --all or --from/--to; exactly one way.
Result<GainsPeriod> gainsPeriod(const Args& args) {
    const int ways = int(args.has(QStringLiteral("--year"))) + int(args.has(QStringLiteral("--all"))) +
                     int(args.has(QStringLiteral("--from")) || args.has(QStringLiteral("--to")));
    if (ways != 1)
        return Status::invalid(QStringLiteral("Zeitraum fehlt: genau eines von --year JJJJ, --all oder --from/--to TT.MM.JJJJ"));
    if (args.has(QStringLiteral("--all"))) return GainsPeriod::all();
    if (args.has(QStringLiteral("--year"))) {
        auto year = args.integer(QStringLiteral("--year"));
        if (!year) return year.status();
        if (**year < 1900 || **year > 2099)
            return Status::invalid(QStringLiteral("Das Jahr muss zwischen 1900 und 2099 liegen: %1").arg(**year));
        return GainsPeriod::year(static_cast<int>(**year));
    }
    auto from = dateArg(args, QStringLiteral("--from"), QDate());
    if (!from) return from.status();
    auto to = dateArg(args, QStringLiteral("--to"), QDate());
    if (!to) return to.status();
    if (*to < *from)
        return Status::invalid(QStringLiteral("Das Ende %1 liegt vor dem Beginn %2").arg(formatDate(*to), formatDate(*from)));
    return GainsPeriod{*from, *to};
}

QJsonObject gainsSumsJson(const Sums& s) {
    return QJsonObject{{QStringLiteral("invested"), s.invested},
                       {QStringLiteral("proceeds"), s.value},
                       {QStringLiteral("gain"), s.gain()}};
}

QString gainsLine(const Sums& s, int decimals, const QString& symbol) {
    return QStringLiteral("Anteile %1, Ankauf %2, Verkauf %3, Gewinn %4, %5%")
        .arg(reportShares(s.shares).trimmed(), reportMoney(s.invested, 10, decimals, symbol),
             reportMoney(s.value, 10, decimals, symbol), reportMoney(s.gain(), 8, decimals, symbol),
             reportPercent(s.percent()));
}

Outcome runGains(Context& c) {
    Outcome out;
    auto period = gainsPeriod(c.args);
    if (!period) return failed(period.status());
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    PortfolioSettings settings;
    auto converter = refreshedConverter(c, settings);
    if (!converter) return failed(converter.status());
    auto g = Gewinnberechnung(s.store, *converter, settings.rule, {*period, c.args.has(QStringLiteral("--second-currency"))}, c.ui);
    if (!g) return failed(g.status());

    const QString path = filePath(s.dirs.work, kGainsReport);
    out.json[QStringLiteral("from")] = formatDate(period->from);
    out.json[QStringLiteral("to")] = formatDate(period->to);
    out.json[QStringLiteral("symbol")] = g->symbol;
    const QJsonObject total = gainsSumsJson(g->total);
    for (auto it = total.begin(); it != total.end(); ++it) out.json[it.key()] = it.value();
    out.json[QStringLiteral("percent")] = g->total.percent();
    out.json[QStringLiteral("taxFree")] = gainsSumsJson(g->taxFree());
    QJsonObject taxable = gainsSumsJson(g->taxable);
    taxable[QStringLiteral("estimate")] = g->estimateAmount();
    out.json[QStringLiteral("taxable")] = taxable;
    QJsonArray lots;
    for (const SoldSecurity& sec : g->securities)
        for (const SoldLot& l : sec.lots) {
            QJsonObject o = lotJson(l.lot);
            o[QStringLiteral("name")] = sec.name;
            o[QStringLiteral("invested")] = l.buy * l.fb * l.lot.Anteile;
            o[QStringLiteral("proceeds")] = l.lot.Erloes * l.fs * l.lot.Anteile;
            o[QStringLiteral("held")] = l.held;
            o[QStringLiteral("taxable")] = l.taxable;
            lots.append(o);
        }
    out.json[QStringLiteral("lots")] = lots;

    if (g->empty()) {
        QFile::remove(path);
        out.lines << QStringLiteral("Keine Verkäufe vom %1 bis %2: %3")
                         .arg(formatDate(period->from), formatDate(period->to), kNoGains);
        return out;
    }
    GainsReportOptions options;
    options.details = c.args.has(QStringLiteral("--details")) || s.values.truth(QStringLiteral("GewinnDetail"));
    options.decimals = settings.decimals;
    options.today = today();
    if (Status w = report::writeRtf(gainsReport(*g, options), path); !w) return failed(w);
    out.json[QStringLiteral("report")] = path;

    out.lines << QStringLiteral("Realisierte Gewinne vom %1 bis %2").arg(formatDate(period->from), formatDate(period->to));
    for (const SoldSecurity& sec : g->securities)
        out.lines << QStringLiteral("%1: %2").arg(sec.name, gainsLine(sec.sums, settings.decimals, g->symbol));
    out.lines << QStringLiteral("Summe aller Verkäufe: %1").arg(gainsLine(g->total, settings.decimals, g->symbol));
    const Sums free = g->taxFree();
    if (free.shares > 0 && !isZeroShares(free.shares))
        out.lines << QStringLiteral("Gewinne ausserhalb der Spekulationsfrist: %1").arg(gainsLine(free, settings.decimals, g->symbol));
    if (g->taxable.shares > 0)
        out.lines << QStringLiteral("Gewinne für die Spekulationssteuern/Abgeltungssteuer anfallen %1: %2")
                         .arg(g->estimate(), gainsLine(g->taxable, settings.decimals, g->symbol));
    out.lines << QStringLiteral("Bericht: %1").arg(path);
    return out;
}

QString percentText(const std::optional<double>& v) {
    return v ? formatAmount(*v, 2) + QStringLiteral(" %") : QStringLiteral("keine Lösung");
}

Outcome runPerformance(Context& c) {
    Outcome out;
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return failed(from.status());
    auto to = c.args.date(QStringLiteral("--to"));
    if (!to) return failed(to.status());
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    auto converter = CurrencyConverter::load(s.store, portfolioSettings(s));
    if (!converter) return failed(converter.status());
    auto p = performance(s.store, *converter, from->value_or(QDate()), to->value_or(QDate()));
    if (!p) return failed(p.status());
    if (!p->from.isValid()) {
        out.lines << QStringLiteral("Kein Depotwert-Verlauf (Anlagen.DB): erst history oder depot ausführen");
        return out;
    }
    out.lines << QStringLiteral("Rendite vom %1 bis %2").arg(formatDate(p->from), formatDate(p->to))
              << QStringLiteral("Zeitgewichtete Rendite (TTWROR): %1, jährlich %2").arg(percentText(p->ttwror), percentText(p->ttwrorAnnualised))
              << QStringLiteral("Interner Zinsfuß (IZF): %1 pro Jahr").arg(percentText(p->irr));
    QJsonArray years;
    for (const PerformanceYear& y : p->years) {
        out.lines << QStringLiteral("%1: TTWROR %2, IZF %3").arg(y.year).arg(percentText(y.ttwror), percentText(y.irr));
        years.append(QJsonObject{{QStringLiteral("year"), y.year}, {QStringLiteral("ttwror"), numberOrNull(y.ttwror)},
                                 {QStringLiteral("irr"), numberOrNull(y.irr)}});
    }
    out.json[QStringLiteral("from")] = formatDate(p->from);
    out.json[QStringLiteral("to")] = formatDate(p->to);
    out.json[QStringLiteral("ttwror")] = numberOrNull(p->ttwror);
    out.json[QStringLiteral("ttwrorAnnualised")] = numberOrNull(p->ttwrorAnnualised);
    out.json[QStringLiteral("irr")] = numberOrNull(p->irr);
    out.json[QStringLiteral("years")] = years;
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
        {"gains", "Realisierte Gewinne (gewinn.rtf)",
         "gains (--year JJJJ | --all | --from TT.MM.JJJJ --to TT.MM.JJJJ) [--second-currency] [--details]\n"
         "Alle im Zeitraum verkauften Posten (Verkaufsdatum von Beginn bis Ende, beide Tage\n"
         "eingeschlossen) je Wertpapier mit Ankaufs- und Verkaufssumme, Gewinn und Haltedauer,\n"
         "getrennt nach steuerfreien und steuerpflichtigen Gewinnen; schreibt gewinn.rtf ins\n"
         "Arbeitsverzeichnis. --details: auch die einzelnen Posten (sonst Einstellung GewinnDetail).",
         runGains,
         ArgSpec{{{"--year", true}, {"--all", false}, {"--from", true}, {"--to", true}, {"--second-currency", false}, {"--details", false}},
                 0, 0}},
        {"performance", "Zeitgewichtete Rendite und interner Zinsfuß",
         "performance [--from TT.MM.JJJJ] [--to TT.MM.JJJJ]\n"
         "Aus dem Depotwert-Verlauf und den Buchungen: die zeitgewichtete Rendite (TTWROR, Tagesfaktoren\n"
         "verkettet) gesamt und jährlich, und der interne Zinsfuß der Zahlungen, je Kalenderjahr.",
         runPerformance, ArgSpec{{{"--from", true}, {"--to", true}}, 0, 0}},
        {"bookings-text", "Buchungen als Text (Depot.txt)",
         "bookings-text\nSchreibt alle Buchungen nach Kaufdatum (neueste zuerst) mit ihrer Summe nach\nDepot.txt im Arbeitsverzeichnis.",
         runBookingsText},
    };
}

}  // namespace q::cli
