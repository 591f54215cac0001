// quintara-cli: the quote overview of one security and the rating run.
#include "analysis/rating_run.h"
#include "app/analysis_binding.h"
#include "cli/commands.h"
#include "cli/list_options.h"
#include "cli/portfolio_cli.h"
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "overview/overview_figures.h"

namespace q::cli {

namespace {

QJsonValue figureJson(const Figure& f) {
    QJsonObject o;
    o[QStringLiteral("text")] = f.text;
    o[QStringLiteral("value")] = f.value ? QJsonValue(*f.value) : QJsonValue();
    return o;
}

Outcome runOverview(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional().first());
    if (!firma) return failed(firma.status());
    auto analysed = analyseStored(c.session.store, *firma, analysisSettings(c.session.values), today(), false);
    if (!analysed) return failed(analysed.status());
    const SecurityAnalysis& a = *analysed;
    const SecurityRecord* security = &a.fill.security;
    const FillResult& f = a.fill;

    out.lines << QStringLiteral("Wertpapier: %1 (%2)").arg(security->FirmenName).arg(security->Firma);
    out.json[QStringLiteral("firma")] = security->Firma;
    out.json[QStringLiteral("name")] = security->FirmenName;
    out.json[QStringLiteral("prices")] = f.count();
    // Read-only: the rows the window's fill and the rating run delete are only named.
    const qsizetype zeroRows = qsizetype(f.maintenance.remove.size());
    if (zeroRows > 0)
        out.lines << QStringLiteral("%1 Kurszeilen mit Kurs oder Datum 0 übersprungen (nicht gelöscht)").arg(zeroRows);
    out.json[QStringLiteral("skippedZeroRows")] = zeroRows;
    if (!f.enoughPrices) {
        out.lines << QStringLiteral("Zu wenige Kurse für eine Auswertung");
        out.json[QStringLiteral("rated")] = false;
        return out;
    }
    out.lines << QStringLiteral("Kurs: %1 vom %2").arg(formatGeneral(f.lastPrice), formatDate(f.lastDate))
              << QStringLiteral("1. Gl.Durchschnitt: %1").arg(formatSignificant(f.gl1, 15, 2))
              << QStringLiteral("2. Gl.Durchschnitt: %1").arg(formatSignificant(f.gl2, 15, 2));
    out.json[QStringLiteral("lastPrice")] = f.lastPrice;
    out.json[QStringLiteral("lastDate")] = formatDate(f.lastDate);
    out.json[QStringLiteral("shortAverage")] = f.gl1;
    out.json[QStringLiteral("longAverage")] = f.gl2;
    for (const ShownFigure& s : shownFigures(f)) {
        if (!s.figure->text.isEmpty()) out.lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(s.caption), s.figure->text);
        out.json[QLatin1String(s.key)] = figureJson(*s.figure);
    }
    if (f.limit != LimitNotice::None) {
        out.lines << QStringLiteral("Limit erreicht");
        out.json[QStringLiteral("limitReached")] = f.limit == LimitNotice::AboveUpper ? QStringLiteral("upper") : QStringLiteral("lower");
    }
    if (!f.position.line.isEmpty()) out.lines << f.position.line.trimmed();
    out.json[QStringLiteral("position")] = f.position.line;
    const Rating& r = *a.rating;
    const QString index = formatSignificant(r.index, 18, 0);
    out.lines << QStringLiteral("Bewertung: %1 (Bild %2)").arg(r.R).arg(r.picture) << QStringLiteral("Index: %1").arg(index);
    out.json[QStringLiteral("rated")] = true;
    out.json[QStringLiteral("rating")] = r.R;
    out.json[QStringLiteral("picture")] = r.picture;
    out.json[QStringLiteral("index")] = QJsonObject{{QStringLiteral("text"), index}, {QStringLiteral("value"), r.index}};
    out.json[QStringLiteral("ratingSteps")] = toJson(r.steps);
    return out;
}

QJsonArray entriesJson(const std::vector<RatingEntry>& entries) {
    QJsonArray list;
    for (const RatingEntry& e : entries)
        list.append(QJsonObject{{QStringLiteral("firma"), e.firma},
                                {QStringLiteral("name"), e.name},
                                {QStringLiteral("price"), e.price},
                                {QStringLiteral("date"), formatDate(e.priceDate)},
                                {QStringLiteral("low"), e.low},
                                {QStringLiteral("high"), e.high},
                                {QStringLiteral("stochastic"), e.stoch},
                                {QStringLiteral("index"), e.index}});
    return list;
}

QString entryLine(const RatingEntry& e) {
    return QStringLiteral("  %1\t%2\t%3\t%4").arg(e.name, formatDate(e.priceDate), formatGeneral(e.price),
                                                   formatSignificant(e.index, 18, 2));
}

Outcome runRate(Context& c) {
    Outcome out;
    auto top = c.args.integer(QStringLiteral("--top"));
    if (!top) return failed(top.status());
    if (*top && (**top < 1 || **top > 500))
        return failed(Status::invalid(QStringLiteral("--top muss zwischen 1 und 500 liegen: %1").arg(**top)));
    if (!startForJob(c, out, true)) return out;

    AnalysisSettings settings = analysisSettings(c.session.values);
    if (*top) settings.BewertTage = static_cast<int>(**top);
    RatingRunOptions o;
    o.analysisTable = c.args.has(QStringLiteral("--analysis-table"));
    auto list = listSelectionOf(c);
    if (!list) return failed(list.status());
    o.list = *list;
    o.today = today();
    const PortfolioSettings money = portfolioSettings(c.session);
    o.homeSymbol = money.homeSymbol;
    o.decimals = money.decimals;
    auto run = ANALYSEBERECHNUNG(c.session.store, settings, o, c.progress);
    if (!run) return failed(run.status());

    out.lines << run->notes;
    out.lines << QStringLiteral("%1 von %2 Wertpapieren bewertet").arg(run->rated).arg(run->total);
    out.json[QStringLiteral("total")] = run->total;
    out.json[QStringLiteral("rated")] = run->rated;
    out.json[QStringLiteral("analysisTable")] = run->analysisTable;
    out.json[QStringLiteral("notes")] = toJson(run->notes);
    if (run->analysisTable) {
        const QString path = c.session.store.path(QStringLiteral("Analyse.db"));
        out.lines << QStringLiteral("Analyse.db geschrieben: %1").arg(path);
        out.json[QStringLiteral("table")] = path;
        return out;
    }
    out.lines << QStringLiteral("Diese Aktien könnten Sie kaufen: %1").arg(run->buyCount);
    for (const RatingEntry& e : run->buys) out.lines << entryLine(e);
    out.lines << QStringLiteral("Vorsicht bei diesen Aktien im Augenblick: %1").arg(run->sellCount);
    for (const RatingEntry& e : run->cautions) out.lines << entryLine(e);
    const QString report = c.session.store.dirs().work + kRecommendationReport;
    out.lines << QStringLiteral("%1 geschrieben").arg(report);
    out.json[QStringLiteral("buyCount")] = run->buyCount;
    out.json[QStringLiteral("sellCount")] = run->sellCount;
    out.json[QStringLiteral("buys")] = entriesJson(run->buys);
    out.json[QStringLiteral("cautions")] = entriesJson(run->cautions);
    out.json[QStringLiteral("report")] = report;
    return out;
}

}  // namespace

std::vector<Command> analysisCommands() {
    return {
        {"overview", "Kursübersicht eines Wertpapiers",
         "overview WERTPAPIER\n"
         "WERTPAPIER: Nummer oder genauer Name. Zeigt die Werte der Kursübersicht: Durchschnitte,\n"
         "Stochastik, Stärke, Kurs- und Volumenstatistik, Tarnfaktor, Infotexte, Limit, offene\n"
         "Position und Bewertung, formatiert wie im Fenster (mit --json zusätzlich ungerundet).",
         runOverview, ArgSpec{{}, 1, 1}},
        {"rate", "Bewertung aller Wertpapiere berechnen",
         "rate [--list NAME] [--favourites] [--branch NAME] [--feature NAME] [--filter TEXT]\n"
         "     [--analysis-table] [--top N]\n"
         "Bewertet alle Wertpapiere (mit --list nur die der Liste NAME) nach den Analyse-\n"
         "Einstellungen. Schreibt Empfehl.rtf, Gewinner.db und Verlierer.db ins Arbeitsverzeichnis\n"
         "und zeigt die Kauf- und Vorsichtsliste (je höchstens --top N Einträge, sonst BewertTage);\n"
         "mit --analysis-table stattdessen Analyse.db mit einem Satz je Wertpapier.",
         runRate, withListOptions(ArgSpec{{{"--analysis-table", false}, {"--top", true}}, 0, 0})},
    };
}

}  // namespace q::cli
