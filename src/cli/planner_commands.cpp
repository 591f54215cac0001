// The return planner ("Rendite"), the value development lines ("Wertentwicklung")
// and the realised period both feed on.
#include "cli/portfolio_cli.h"
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "overview/fill_position.h"
#include "portfolio/currencies.h"
#include "portfolio/gains.h"
#include "portfolio/planner_inputs.h"
#include "portfolio/prices.h"
#include "portfolio/value_development.h"

#include <QJsonArray>

namespace q::cli {

namespace {

QJsonObject columnJson(const PlannerColumn& c) {
    return QJsonObject{{QStringLiteral("Ankauf"), c.Ankauf},           {QStringLiteral("Verkauf"), c.Verkauf},
                       {QStringLiteral("Gewinn"), c.Gewinn},           {QStringLiteral("Rendite"), numberOrNull(c.Rendite)},
                       {QStringLiteral("Umsatz"), c.Umsatz},           {QStringLiteral("U-Rendite"), numberOrNull(c.URendite)}};
}

// "1.100,00 EUR" or a percentage "15,00 %"; a figure without a value is not shown.
QString shown(const std::optional<double>& v, bool percent, double f, int decimals, const QString& symbol) {
    if (!v) return QStringLiteral("-");
    return percent ? formatAmount(*v, 2) + QStringLiteral(" %") : formatMoney(*v * f, decimals, symbol);
}

Outcome runReturns(Context& c) {
    Outcome out;
    const bool all = c.args.has(QStringLiteral("--all"));
    if (all == c.args.has(QStringLiteral("--year")))
        return failed(Status::invalid(QStringLiteral("Zeitraum fehlt: genau eines von --year JJJJ oder --all")));
    if (c.args.has(QStringLiteral("--wish")) && c.args.has(QStringLiteral("--target")))
        return failed(Status::invalid(QStringLiteral("--wish und --target schließen sich aus")));
    std::optional<int> year;
    if (!all) {
        auto y = c.args.integer(QStringLiteral("--year"));
        if (!y) return failed(y.status());
        if (**y < 1900 || **y > 2099)
            return failed(Status::invalid(QStringLiteral("Das Jahr muss zwischen 1900 und 2099 liegen: %1").arg(**y)));
        year = static_cast<int>(**y);
    }
    const PlannerPeriod period = PlannerPeriod::of(year, today());
    std::optional<std::pair<PlannerTarget, double>> target;
    if (c.args.has(QStringLiteral("--target"))) {
        const QString t = c.args.value(QStringLiteral("--target"));
        const int eq = t.indexOf(QLatin1Char('='));
        const auto field = plannerTargetNamed(t.left(eq));
        if (eq < 0 || !field)
            return failed(Status::invalid(QStringLiteral("--target erwartet FELD=WERT mit FELD aus %1: %2")
                                              .arg(plannerTargetNames().join(QStringLiteral(", ")), t)));
        const auto value = parseNumber(t.mid(eq + 1).trimmed());
        if (!value) return failed(Status::invalid(QStringLiteral("Das Ziel ist keine Zahl: %1").arg(t.mid(eq + 1))));
        target = {{*field, *value}};
    }
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    PortfolioSettings settings;
    auto converter = refreshedConverter(c, settings);
    if (!converter) return failed(converter.status());
    auto inputs = plannerInputs(s.store, *converter, settings.rule, period, c.ui);
    if (!inputs) return failed(inputs.status());

    const bool second = c.args.has(QStringLiteral("--second-currency"));
    PlannerInputs in = *inputs;
    in.f = second ? settings.wechselkurs : 1.0;
    const QString symbol = second && !settings.secondSymbol.isEmpty() ? settings.secondSymbol : settings.homeSymbol;
    const DepotPlan plan = readDepotPlan(s.dirs.depot);
    auto capital = c.args.number(QStringLiteral("--capital"));
    if (!capital) return failed(capital.status());
    if (capital->has_value() && in.f == 0) return failed(Status::invalid(QStringLiteral("Der Wechselkurs ist 0")));
    // The capital is entered in the display currency and kept in the home currency.
    in.K = capital->has_value() ? **capital / in.f : plan.capital.value_or(in.minimumCapital());

    double wish = plan.wish >= 0 && plan.wish <= kWishMax ? plan.wish : 0.0;
    auto wishArg = c.args.number(QStringLiteral("--wish"));
    if (!wishArg) return failed(wishArg.status());
    if (wishArg->has_value()) target = {{PlannerTarget::Wish, **wishArg}};
    if (target) {
        const bool percent = target->first == PlannerTarget::Wish || target->first == PlannerTarget::AnlageProzent ||
                             target->first == PlannerTarget::GesamtProzent || target->first == PlannerTarget::DifferenzRendite;
        auto found = wishFor(in, target->first, percent || in.f == 0 ? target->second : target->second / in.f);
        if (!found) return failed(found.status());
        wish = found->wish;
        if (found->clamped)
            out.lines << QStringLiteral("Das Ziel liegt außerhalb von -100 % bis 1000 %: die Wunschrendite bleibt bei %1 %")
                             .arg(formatAmount(wish, 2));
        out.json[QStringLiteral("clamped")] = found->clamped;
    }
    const PlannerFigures fig = plannerFigures(in);
    const PlannerTargets t = plannerTargets(in, wish);

    if (c.args.has(QStringLiteral("--save")))
        if (Status w = writeDepotPlan(s.dirs.depot, in.K, wish); !w) return failed(w);
    if (c.args.has(QStringLiteral("--companion-file")))
        if (Status w = writeCompanionFile(c.args.value(QStringLiteral("--companion-file")), in); !w) return failed(w);

    out.lines << (all ? QStringLiteral("Renditeanalyse für die gesamte Depotentwicklung")
                      : QStringLiteral("Renditeanalyse für das Jahr %1").arg(*year));
    const int d = settings.decimals;
    auto money = [&](double x) { return shown(x, false, in.f, d, symbol); };
    auto pct = [&](const std::optional<double>& x) { return shown(x, true, 1, d, symbol); };
    out.lines << QStringLiteral("\tAnlagen\tGewinne\tGesamt");
    const std::pair<const char*, std::function<QString(const PlannerColumn&)>> rows[] = {
        {"Ankauf", [&](const PlannerColumn& col) { return money(col.Ankauf); }},
        {"Verkauf", [&](const PlannerColumn& col) { return money(col.Verkauf); }},
        {"Gewinn", [&](const PlannerColumn& col) { return money(col.Gewinn); }},
        {"Rendite", [&](const PlannerColumn& col) { return pct(col.Rendite); }},
        {"Umsatz", [&](const PlannerColumn& col) { return money(col.Umsatz); }},
        {"U-Rendite", [&](const PlannerColumn& col) { return pct(col.URendite); }},
    };
    for (const auto& [caption, cell] : rows)
        out.lines << QStringLiteral("%1\t%2\t%3\t%4").arg(QString::fromLatin1(caption), cell(fig.Anlagen), cell(fig.Gewinne), cell(fig.Gesamt));
    out.lines << QStringLiteral("Kapital: %1").arg(money(in.K)) << QStringLiteral("Cash: %1").arg(money(fig.Cash))
              << QStringLiteral("Depotwert: %1").arg(money(fig.Depotwert))
              << QStringLiteral("Kapitalrendite: %1").arg(pct(fig.Kapitalrendite))
              << QStringLiteral("Depotzuwachs: %1").arg(money(fig.Depotzuwachs)) << QStringLiteral("Einsatz: %1").arg(money(fig.Einsatz))
              << QStringLiteral("Wunschrendite: %1").arg(pct(t.wish))
              << QStringLiteral("GeplantesErgebnis: %1").arg(money(t.GeplantesErgebnis))
              << QStringLiteral("GeplanterGewinn: %1").arg(money(t.GeplanterGewinn))
              << QStringLiteral("AnlageWunsch: %1").arg(money(t.AnlageWunsch)) << QStringLiteral("ANLAGEGEWINN: %1").arg(money(t.ANLAGEGEWINN))
              << QStringLiteral("AnlageProzent: %1").arg(pct(t.AnlageProzent))
              << QStringLiteral("GesamtWunsch: %1").arg(money(t.GesamtWunsch)) << QStringLiteral("GesamtGEWINN: %1").arg(money(t.GesamtGEWINN))
              << QStringLiteral("GesamtProzent: %1").arg(pct(t.GesamtProzent))
              << QStringLiteral("DifferenzVerkauf: %1").arg(money(t.DifferenzVerkauf))
              << QStringLiteral("DifferenzRendite: %1").arg(pct(t.DifferenzRendite));

    // JSON: amounts in the display currency, unrounded.
    const auto amount = [&](double x) { return QJsonValue(x * in.f); };
    auto scaled = [&](PlannerColumn col) {
        col.Ankauf *= in.f;
        col.Verkauf *= in.f;
        col.Gewinn *= in.f;
        col.Umsatz *= in.f;
        return columnJson(col);
    };
    out.json[QStringLiteral("Cash")] = amount(fig.Cash);
    out.json[QStringLiteral("Depotwert")] = amount(fig.Depotwert);
    out.json[QStringLiteral("Kapitalrendite")] = numberOrNull(fig.Kapitalrendite);
    out.json[QStringLiteral("Depotzuwachs")] = amount(fig.Depotzuwachs);
    out.json[QStringLiteral("Einsatz")] = amount(fig.Einsatz);
    out.json[QStringLiteral("GeplantesErgebnis")] = amount(t.GeplantesErgebnis);
    out.json[QStringLiteral("GeplanterGewinn")] = amount(t.GeplanterGewinn);
    out.json[QStringLiteral("AnlageWunsch")] = amount(t.AnlageWunsch);
    out.json[QStringLiteral("ANLAGEGEWINN")] = amount(t.ANLAGEGEWINN);
    out.json[QStringLiteral("AnlageProzent")] = numberOrNull(t.AnlageProzent);
    out.json[QStringLiteral("GesamtWunsch")] = amount(t.GesamtWunsch);
    out.json[QStringLiteral("GesamtGEWINN")] = amount(t.GesamtGEWINN);
    out.json[QStringLiteral("GesamtProzent")] = numberOrNull(t.GesamtProzent);
    out.json[QStringLiteral("DifferenzVerkauf")] = amount(t.DifferenzVerkauf);
    out.json[QStringLiteral("DifferenzRendite")] = numberOrNull(t.DifferenzRendite);
    out.json[QStringLiteral("Anlagen")] = scaled(fig.Anlagen);
    out.json[QStringLiteral("Gewinne")] = scaled(fig.Gewinne);
    out.json[QStringLiteral("Gesamt")] = scaled(fig.Gesamt);
    out.json[QStringLiteral("A")] = in.A;
    out.json[QStringLiteral("V")] = in.V;
    out.json[QStringLiteral("B")] = in.B;
    out.json[QStringLiteral("P")] = in.P;
    out.json[QStringLiteral("K")] = in.K;
    out.json[QStringLiteral("f")] = in.f;
    out.json[QStringLiteral("wish")] = wish;
    return out;
}

Outcome runValueTrial(Context& c) {
    Outcome out;
    auto percent = c.args.number(QStringLiteral("--percent"));
    if (!percent) return failed(percent.status());
    if (!percent->has_value()) return failed(Status::invalid(QStringLiteral("--percent fehlt")));
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto lotsTable = s.store.table(kLots);
    if (!lotsTable) return failed(lotsTable.status());
    auto lots = lotsOf(**lotsTable, *firma);
    if (!lots) return failed(lots.status());
    auto aktien = s.store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return failed(aktien.status());
    auto newest = priceOnOrBefore(**aktien, *firma, QDate(9999, 12, 31));
    if (!newest) return failed(newest.status());
    std::vector<int> days;
    std::vector<double> prices;
    if (newest->has_value()) {
        days.push_back(dayNumber((*newest)->datum));
        prices.push_back((*newest)->kurs);
    }
    const Position p = openPosition(QString(), positionLots(*lots), days, prices);
    const double current = prices.empty() ? 0.0 : prices.back();
    const int position = static_cast<int>(roundHalfEven(**percent * 10.0, 0));
    const ValueDevelopment vd = valueDevelopment(p.shares, p.meanBuyPrice, current, position);
    out.lines << vd.gain.text << vd.current.text;
    out.json[QStringLiteral("shares")] = p.shares;
    out.json[QStringLiteral("meanBuy")] = p.meanBuyPrice;
    out.json[QStringLiteral("current")] = current;
    out.json[QStringLiteral("gain")] = QJsonObject{{QStringLiteral("text"), vd.gain.text}, {QStringLiteral("red"), vd.gain.red}};
    out.json[QStringLiteral("currentLine")] =
        QJsonObject{{QStringLiteral("text"), vd.current.text}, {QStringLiteral("red"), vd.current.red}};
    return out;
}

}  // namespace

std::vector<Command> plannerCommands() {
    return {
        {"returns", "Renditeplanung (Rendite)",
         "returns (--year JJJJ | --all) [--capital K] [--wish W | --target FELD=WERT] [--second-currency]\n"
         "        [--save] [--companion-file DATEI]\n"
         "Stellt Anlagen (Depotbewertung am 31.12. des Jahres oder heute) und realisierte Gewinne\n"
         "des Jahres (oder aller Jahre) dem Kapital gegenüber und berechnet die Ziele der\n"
         "Wunschrendite W in %. --target rechnet ein Ziel (GeplantesErgebnis, AnlageWunsch, …)\n"
         "in die Wunschrendite um. Kapital und Wunschrendite kommen sonst aus Depot.ini (ohne\n"
         "Kapital: der Mindesteinsatz); --save schreibt sie dorthin.",
         runReturns,
         ArgSpec{{{"--year", true},
                  {"--all", false},
                  {"--capital", true},
                  {"--wish", true},
                  {"--target", true},
                  {"--second-currency", false},
                  {"--save", false},
                  {"--companion-file", true}},
                 0,
                 0}},
        {"value-trial", "Wertentwicklung eines Wertpapiers",
         "value-trial WERTPAPIER --percent D\n"
         "Die zwei Zeilen der Wertentwicklung: Gewinn der gehaltenen Anteile, wenn der Kurs um D %\n"
         "über dem mittleren Kaufkurs stünde, und der Abstand zum aktuellen Kurs.",
         runValueTrial, ArgSpec{{{"--percent", true}}, 1, 1}},
    };
}

}  // namespace q::cli
