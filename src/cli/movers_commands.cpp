// The reports of the page "Plus/Minus" and of the daily routine: the movers
// (gewinner.rtf), the missing prices (Wasfehlt.txt) and the price table
// (Uebersicht.txt).
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "cli/list_options.h"
#include "overview/movers.h"
#include "overview/price_reports.h"

namespace q::cli {

namespace {

QJsonArray moversJson(const std::vector<MoverEntry>& entries) {
    QJsonArray list;
    for (const MoverEntry& e : entries)
        list.append(QJsonObject{{QStringLiteral("name"), e.name},
                                {QStringLiteral("firstDate"), formatDate(e.firstDate)},
                                {QStringLiteral("firstPrice"), e.firstPrice},
                                {QStringLiteral("lastDate"), formatDate(e.lastDate)},
                                {QStringLiteral("lastPrice"), e.lastPrice},
                                {QStringLiteral("change"), e.change},
                                {QStringLiteral("currency"), e.currency}});
    return list;
}

QString moverLine(const MoverEntry& e) {
    return QStringLiteral("  %1\t%2\t%3\t%4\t%5\t%6")
        .arg(e.name, formatDate(e.firstDate), formatGeneral(e.firstPrice), formatDate(e.lastDate), formatGeneral(e.lastPrice),
             moverChangeText(e.change));
}

Outcome runMovers(Context& c) {
    Outcome out;
    auto days = c.args.integer(QStringLiteral("--days"));
    if (!days) return failed(days.status());
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return failed(from.status());
    auto to = c.args.date(QStringLiteral("--to"));
    if (!to) return failed(to.status());
    auto count = c.args.integer(QStringLiteral("--count"));
    if (!count) return failed(count.status());
    if (days->has_value() == (from->has_value() || to->has_value()))
        return failed(Status::invalid(QStringLiteral("Entweder --days N oder --from TT.MM.JJJJ --to TT.MM.JJJJ angeben")));
    if (from->has_value() != to->has_value())
        return failed(Status::invalid(QStringLiteral("--from und --to gehören zusammen")));
    if (*days && (**days < 1 || **days > 1000))
        return failed(Status::invalid(QStringLiteral("--days muss zwischen 1 und 1000 liegen: %1").arg(**days)));
    if (!startForJob(c, out, true)) return out;

    MoversOptions o;
    const QDate now = today();
    o.from = *days ? moversStart(now, int(**days)) : **from;
    if (*to) o.to = **to;
    o.count = count->has_value() ? int(std::clamp<qint64>(**count, -1, 100000)) : c.session.values.integer(QStringLiteral("GUVZahl"));
    const PortfolioSettings money = portfolioSettings(c.session);
    o.homeSymbol = money.homeSymbol;
    o.decimals = money.decimals;
    auto list = listedSecurities(c);
    if (!list) return failed(list.status());
    auto r = writeMoversReport(c.session.store, *list, o);
    if (!r) return failed(r.status());

    out.lines << QStringLiteral("Gewinner & Verlierer seit dem %1").arg(formatDate(o.from));
    out.lines << QStringLiteral("Gewinner\t%1").arg(r->up);
    for (const MoverEntry& e : r->winners) out.lines << moverLine(e);
    out.lines << QStringLiteral("Verlierer\t%1").arg(r->down);
    for (const MoverEntry& e : r->losers) out.lines << moverLine(e);
    const QString report = c.session.store.dirs().work + kMoversReport;
    out.lines << QStringLiteral("%1 geschrieben").arg(report);
    out.json[QStringLiteral("from")] = formatDate(o.from);
    out.json[QStringLiteral("to")] = formatDate(o.to.isValid() ? o.to : now);
    out.json[QStringLiteral("up")] = r->up;
    out.json[QStringLiteral("down")] = r->down;
    out.json[QStringLiteral("winners")] = moversJson(r->winners);
    out.json[QStringLiteral("losers")] = moversJson(r->losers);
    out.json[QStringLiteral("report")] = report;
    return out;
}

Outcome runMissing(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto list = listedSecurities(c);
    if (!list) return failed(list.status());
    const QString path = c.session.store.dirs().work + kMissingPricesFile;
    auto r = writeMissingPrices(c.session.store, *list, today(), path);
    if (!r) return failed(r.status());
    out.lines << r->lines;
    out.lines << QStringLiteral("%1 geschrieben").arg(path);
    reportUnmappable(r->unmappable, out);
    out.json[QStringLiteral("missing")] = r->missing;
    out.json[QStringLiteral("file")] = path;
    return out;
}

Outcome runPriceTable(Context& c) {
    Outcome out;
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return failed(from.status());
    auto to = c.args.date(QStringLiteral("--to"));
    if (!to) return failed(to.status());
    if (!*from || !*to) return failed(Status::invalid(QStringLiteral("--from TT.MM.JJJJ und --to TT.MM.JJJJ fehlen")));
    if (!startForJob(c, out, true)) return out;
    const QString path = c.args.positional()[0];
    auto r = writePriceTable(c.session.store, **from, **to, path);
    if (!r) return failed(r.status());
    out.lines << QStringLiteral("%1 Wertpapiere an %2 Tagen nach %3 geschrieben").arg(r->securities).arg(r->dates).arg(path);
    reportUnmappable(r->unmappable, out);
    out.json[QStringLiteral("securities")] = r->securities;
    out.json[QStringLiteral("dates")] = r->dates;
    out.json[QStringLiteral("file")] = path;
    return out;
}


}  // namespace

std::vector<Command> moversCommands() {
    return {
        {"movers", "Gewinner und Verlierer (Plus/Minus)",
         "movers [--list NAME …] (--days 1|30|60|N | --from TT.MM.JJJJ --to TT.MM.JJJJ) [--count N]\n"
         "Vergleicht den ersten Kurs ab dem Anfangstag (höchstens 4 Tage danach) mit dem letzten.\n"
         "--days 1: seit dem letzten Börsentag (montags seit Freitag). --count: 5 bis 1000 Einträge\n"
         "je Liste (sonst GUVZahl). Schreibt gewinner.rtf ins Arbeitsverzeichnis.",
         runMovers, withListOptions(ArgSpec{{{"--days", true}, {"--from", true}, {"--to", true}, {"--count", true}}, 0, 0})},
        {"missing", "Fehlende Kurswerte (Wasfehlt.txt)",
         "missing [--list NAME …]\n"
         "Schreibt Wasfehlt.txt ins Arbeitsverzeichnis: jedes Wertpapier der Liste, dessen neuester Kurs\n"
         "vor heute liegt oder das noch keinen Kurs hat.",
         runMissing, withListOptions(ArgSpec{{}, 0, 0})},
        {"price-table", "Kursübersicht aller Gruppen (Uebersicht.txt)",
         "price-table --from TT.MM.JJJJ --to TT.MM.JJJJ DATEI\n"
         "Eine Zeile je Wertpapier, nach Gruppen: ZDF, WKN, Name und die Kurse jedes Tages der\n"
         "Kopfzeile (leer, wo ein Kurs fehlt); Windows-1252 mit Tabulatoren.",
         runPriceTable, ArgSpec{{{"--from", true}, {"--to", true}}, 1, 1}},
    };
}

}  // namespace q::cli
