// quintara-cli chart: a chart as a picture file, drawn as the window draws it. Built
// with the chart library (QUINTARA_CHARTS); without it the command says so.
#include "cli/commands.h"
#include "cli/portfolio_cli.h"
#include "base/clock.h"
#include "base/formats.h"

#ifdef QUINTARA_CHARTS
#include "charts/chart_render.h"
#endif

namespace q::cli {

namespace {

#ifdef QUINTARA_CHARTS
Result<charts::ChartType> chartType(const QString& text) {
    const QString& t = text;
    if (t.isEmpty()) return charts::ChartType::Stored;
    if (t == QLatin1String("line")) return charts::ChartType::Line;
    if (t == QLatin1String("candle")) return charts::ChartType::Candle;
    if (t == QLatin1String("renko")) return charts::ChartType::Renko;
    if (t == QLatin1String("compare")) return charts::ChartType::Compare;
    if (t == QLatin1String("intraday")) return charts::ChartType::Intraday;
    return Status::invalid(QStringLiteral("Unbekannte Diagrammart \"%1\" (line, candle, renko, compare, intraday)").arg(t));
}

Outcome runChart(Context& c) {
    Outcome out;
    charts::ChartRequest r;
    r.out = c.args.value(QStringLiteral("--out"));
    if (r.out.isEmpty()) return failed(Status::invalid(QStringLiteral("--out fehlt")));
    auto type = chartType(c.args.value(QStringLiteral("--type")));
    if (!type) return failed(type.status());
    r.type = *type;
    for (auto [option, target] : {std::pair{"--from", &r.from}, std::pair{"--to", &r.to}, std::pair{"--day", &r.day}}) {
        auto d = c.args.date(QString::fromLatin1(option));
        if (!d) return failed(d.status());
        if (*d) *target = **d;
    }
    if (c.args.has(QStringLiteral("--compare")))
        r.compare = c.args.value(QStringLiteral("--compare")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (c.args.has(QStringLiteral("--size"))) {
        const QStringList wh = c.args.value(QStringLiteral("--size")).split(QLatin1Char('x'));
        bool okW = false, okH = false;
        r.width = wh.value(0).toInt(&okW);
        r.height = wh.value(1).toInt(&okH);
        if (wh.size() != 2 || !okW || !okH || r.width < 100 || r.height < 100 || r.width > 10000 || r.height > 10000)
            return failed(Status::invalid(QStringLiteral("--size erwartet BREITExHÖHE, z.B. 1200x700")));
    }
    if (!startForJob(c, out, true)) return out;
    if (r.type != charts::ChartType::Compare || !c.args.positional().isEmpty()) {
        if (c.args.positional().isEmpty()) return failed(Status::invalid(QStringLiteral("Wertpapier fehlt")));
        auto firma = securityArg(c, c.args.positional().first());
        if (!firma) return failed(firma.status());
        r.firma = *firma;
    }
    auto drawn = charts::renderChart(c.session, r, today());
    if (!drawn) return failed(drawn.status());
    out.lines << QStringLiteral("Diagramm %1 gespeichert: %2").arg(drawn->title, r.out);
    out.lines << drawn->notices;
    out.json[QStringLiteral("file")] = r.out;
    out.json[QStringLiteral("title")] = drawn->title;
    out.json[QStringLiteral("points")] = drawn->points;
    out.json[QStringLiteral("notices")] = toJson(drawn->notices);
    return out;
}
#else
Outcome runChart(Context&) {
    return failed(Status::invalid(QStringLiteral("Diagramme sind in dieser Ausgabe von quintara-cli nicht enthalten "
                                                 "(ohne Fensterprogramm gebaut)")));
}
#endif

}  // namespace

std::vector<Command> chartCommands() {
    return {
        {"chart", "Diagramm als Bild speichern (PNG oder PDF)",
         "chart FIRMA --out DATEI [--type line|candle|renko|compare|intraday] [--from TT.MM.JJJJ]\n"
         "      [--to TT.MM.JJJJ] [--day TT.MM.JJJJ] [--compare FIRMA,…] [--size BREITExHÖHE]\n\n"
         "Zeichnet das Kursdiagramm (line: die Kurslinie, candle: die Kerzen, renko: die\n"
         "Renko-Steine; ohne --type wie gespeichert), den Vergleich (compare; FIRMA\n"
         "entfällt, --compare statt Vergleich1 … Vergleich5, --from als Startdatum) oder\n"
         "das Intraday-Diagramm eines Tages (--day, sonst heute) mit den gespeicherten\n"
         "Diagrammeinstellungen. Das Format folgt der Endung der Datei: .png oder .pdf.\n"
         "Ohne Bildschirm wird ohne Anzeige gezeichnet.",
         runChart,
         ArgSpec{{{"--out", true}, {"--type", true}, {"--from", true}, {"--to", true}, {"--day", true}, {"--compare", true},
                  {"--size", true}},
                 0,
                 1}},
    };
}

}  // namespace q::cli
