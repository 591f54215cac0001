// The currency subcommands: the currency table, the factor refresh and the regional
// settings (home and second currency, decimals, speculation periods).
#include "cli/portfolio_cli.h"
#include "app/portfolio_binding.h"
#include "base/formats.h"
#include "portfolio/currencies.h"

#include <QJsonArray>

namespace q::cli {

namespace {

QString currencyLine(const CurrencyRecord& r) {
    return QStringLiteral("%1\t%2\t%3\t%4 %5")
        .arg(r.Symbol.isEmpty() ? QStringLiteral("-") : r.Symbol, r.Name, number(r.Faktor),
             r.Multiplikator ? QStringLiteral("Multiplikator") : QStringLiteral("Divisor"), number(r.Einheit));
}

Outcome runCurrencies(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto table = c.session.store.table(kCurrencies);
    if (!table) return failed(table.status());
    auto records = readCurrencies(**table);
    if (!records) return failed(records.status());
    QJsonArray list;
    for (const CurrencyRecord& r : *records) {
        out.lines << currencyLine(r);
        list.append(QJsonObject{{QStringLiteral("symbol"), r.Symbol},
                                {QStringLiteral("name"), r.Name},
                                {QStringLiteral("factor"), r.Faktor},
                                {QStringLiteral("multiply"), r.Multiplikator},
                                {QStringLiteral("unit"), r.Einheit}});
    }
    out.json[QStringLiteral("currencies")] = list;
    return out;
}

Outcome runCurrencyAdd(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const QStringList p = c.args.positional();
    auto factor = parseNumber(p.value(2));
    if (!factor) return failed(Status::invalid(QStringLiteral("Ungültige Zahl für den Wechselkurs: %1").arg(p.value(2))));
    auto unit = c.args.number(QStringLiteral("--unit"));
    if (!unit) return failed(unit.status());
    const CurrencyRecord r{p.value(0), p.value(1), *factor, !c.args.has(QStringLiteral("--divide")), unit->value_or(1.0)};
    if (Status s = addCurrency(c.session.store, r); !s) return failed(s);
    out.lines << QStringLiteral("Währung eingetragen: %1").arg(currencyLine(r));
    return out;
}

Outcome runCurrencyDelete(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto gone = deleteCurrency(c.session.store, c.args.positional().value(0));
    if (!gone) return failed(gone.status());
    out.lines << QStringLiteral("Währung gelöscht: %1").arg(currencyLine(*gone));
    return out;
}

Outcome runCurrencyRefresh(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    PortfolioSettings settings = portfolioSettings(c.session);
    auto changes = refreshFactors(c.session.store, settings);
    if (!changes) return failed(changes.status());
    QJsonArray list;
    for (const FactorChange& f : *changes) {
        out.lines << QStringLiteral("%1: %2 -> %3").arg(f.symbol, number(f.before), number(f.after));
        list.append(QJsonObject{{QStringLiteral("symbol"), f.symbol}, {QStringLiteral("before"), f.before}, {QStringLiteral("after"), f.after}});
    }
    if (changes->empty()) out.lines << QStringLiteral("Keine Faktoren geändert");
    out.json[QStringLiteral("changes")] = list;
    out.json[QStringLiteral("rate")] = settings.wechselkurs;
    return out;
}

void describe(const RegionalSettings& r, Outcome& out) {
    out.lines << QStringLiteral("Standard-Währung: %1").arg(r.homeSymbol) << QStringLiteral("2. Währung: %1").arg(r.secondSymbol)
              << QStringLiteral("Wechselkurs: %1").arg(number(r.wechselkurs)) << QStringLiteral("Dezimalstellen: %1").arg(r.decimals)
              << QStringLiteral("Spekulationsfrist: %1 Tage").arg(r.rule.tage)
              << QStringLiteral("Spekulationsfrist: %1 Tage ab dem %2").arg(r.rule.tageNeu).arg(formatDate(r.rule.ab));
    out.json[QStringLiteral("home")] = r.homeSymbol;
    out.json[QStringLiteral("second")] = r.secondSymbol;
    out.json[QStringLiteral("rate")] = r.wechselkurs;
    out.json[QStringLiteral("decimals")] = r.decimals;
    out.json[QStringLiteral("period")] = r.rule.tage;
    out.json[QStringLiteral("periodNew")] = r.rule.tageNeu;
    out.json[QStringLiteral("periodFrom")] = formatDate(r.rule.ab);
}

Outcome runRegional(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    RegionalSettings r = regionalSettings(c.session);
    const Args& a = c.args;
    const bool change = !a.positional().isEmpty() || a.has(QStringLiteral("--home")) || a.has(QStringLiteral("--second")) ||
                        a.has(QStringLiteral("--rate")) || a.has(QStringLiteral("--decimals")) || a.has(QStringLiteral("--period")) ||
                        a.has(QStringLiteral("--period-new")) || a.has(QStringLiteral("--period-from"));
    if (a.has(QStringLiteral("--home"))) r.homeSymbol = a.value(QStringLiteral("--home"));
    if (a.has(QStringLiteral("--second"))) r.secondSymbol = a.value(QStringLiteral("--second"));
    auto rate = a.number(QStringLiteral("--rate"));
    if (!rate) return failed(rate.status());
    r.wechselkurs = rate->value_or(r.wechselkurs);
    for (auto [option, target] : {std::pair{"--decimals", &r.decimals}, std::pair{"--period", &r.rule.tage},
                                  std::pair{"--period-new", &r.rule.tageNeu}}) {
        auto n = a.integer(QLatin1String(option));
        if (!n) return failed(n.status());
        if (n->has_value()) *target = static_cast<int>(**n);
    }
    auto from = dateArg(a, QStringLiteral("--period-from"), r.rule.ab);
    if (!from) return failed(from.status());
    r.rule.ab = *from;
    if (change) {
        if (Status s = storeRegional(c.session, r); !s) return failed(s);
        out.lines << QStringLiteral("Ländereinstellung gespeichert");
    }
    describe(r, out);
    return out;
}

}  // namespace

std::vector<Command> currencyCommands() {
    return {
        {"currencies", "Währungen zeigen", "currencies\nSymbol, Bezeichnung, Wechselkurs, Multiplikator oder Divisor und Einheit.",
         runCurrencies},
        {"currency-add", "Währung eintragen",
         "currency-add SYMBOL NAME KURS [--unit U] [--divide]\n"
         "NAME: heißt ein Wertpapier so, werden seine Kurse als Wechselkurs verwendet. U: die\n"
         "Einheit, auf die sich der Kurs bezieht (z.B. 100); --divide: Beträge werden geteilt.",
         runCurrencyAdd, ArgSpec{{{"--unit", true}, {"--divide", false}}, 3, 3}},
        {"currency-delete", "Währung löschen", "currency-delete SYMBOL", runCurrencyDelete, ArgSpec{{}, 1, 1}},
        {"currency-refresh", "Wechselkurse aus den Kursen der Währungs-Wertpapiere übernehmen", "currency-refresh",
         runCurrencyRefresh},
        {"regional", "Ländereinstellung zeigen oder ändern",
         "regional [--home SYMBOL] [--second SYMBOL] [--rate R] [--decimals N] [--period TAGE]\n"
         "         [--period-new TAGE] [--period-from TT.MM.JJJJ]\n"
         "Standard-Währung, 2. Währung mit ihrem Wechselkurs, Dezimalstellen und die\n"
         "Spekulationsfristen (vor und ab dem Datum). Ohne Optionen: die Einstellung zeigen.",
         runRegional,
         ArgSpec{{{"--home", true}, {"--second", true}, {"--rate", true}, {"--decimals", true}, {"--period", true},
                  {"--period-new", true}, {"--period-from", true}},
                 0, 0}},
    };
}

}  // namespace q::cli
