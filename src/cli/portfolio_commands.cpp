// The booking subcommands: purchases and sales with or without fees, the lots,
// splits, dividends, reinvestments, payments, moving lots and the cash rebuild.
#include "cli/portfolio_cli.h"
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/bookings.h"
#include "portfolio/currencies.h"
#include "portfolio/cash.h"
#include "portfolio/fees.h"
#include "portfolio/income.h"
#include "portfolio/splits.h"
#include "store/firma_hooks.h"

#include <QJsonArray>

namespace q::cli {

namespace {

// Shares, price and, with --fees, the fee summary of a trade.
struct Trade {
    double shares = 0;
    double price = 0;  // per share as booked
    std::optional<FeeCalculation> fees;
};

Result<Trade> tradeArgs(Context& c, q::Trade kind) {
    Trade t;
    auto shares = requiredNumber(c.args, QStringLiteral("--shares"));
    if (!shares) return shares.status();
    Q_TRY(checkShares(*shares));
    t.shares = *shares;
    auto price = priceArg(c.args, t.shares);
    if (!price) return price.status();
    t.price = *price;
    if (c.args.has(QStringLiteral("--fees"))) {
        t.fees = calculateFees(kind, *price, t.shares, portfolioSettings(c.session).fees);
        t.price = t.fees->perShare;
    }
    return t;
}

void describeFees(const Trade& t, q::Trade kind, Outcome& out) {
    if (!t.fees) return;
    const FeeCalculation& f = *t.fees;
    auto euro = [](double x) { return formatAmount(x, 2) + QStringLiteral(" Euro"); };
    out.lines << QStringLiteral("Aktienwert: %1").arg(euro(f.gross)) << QStringLiteral("Gebühren: %1").arg(euro(f.costs))
              << (kind == q::Trade::Purchase ? QStringLiteral("Kosten: %1") : QStringLiteral("Erlös: %1")).arg(euro(f.net))
              << QStringLiteral("pro Anteil: %1").arg(euro(f.perShare));
    out.json[QStringLiteral("fees")] = QJsonObject{{QStringLiteral("gross"), f.gross},
                                                   {QStringLiteral("costs"), f.costs},
                                                   {QStringLiteral("net"), f.net},
                                                   {QStringLiteral("perShare"), f.perShare}};
}

Outcome booked(const Lot& lot, const QString& what) {
    Outcome out;
    out.lines << QStringLiteral("%1: %2").arg(what, lotLine(lot));
    out.json[QStringLiteral("lot")] = lotJson(lot);
    return out;
}

Outcome runBuy(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto trade = tradeArgs(c, q::Trade::Purchase);
    if (!trade) return failed(trade.status());
    auto datum = dateArg(c.args, QStringLiteral("--date"), today());
    if (!datum) return failed(datum.status());
    auto lot = buy(c.session.store, {*firma, *datum, trade->shares, trade->price, c.args.value(QStringLiteral("--text"))});
    if (!lot) return failed(lot.status());
    Outcome done = booked(*lot, QStringLiteral("Gekauft"));
    describeFees(*trade, q::Trade::Purchase, done);
    // The booking keeps what fits its field; the rest must not go unseen.
    const QString text = c.args.value(QStringLiteral("--text"));
    if (lotText(text) != text)
        done.lines << QStringLiteral("Hinweis: Der Text hat mehr als 30 Zeichen und wurde gekürzt auf \"%1\"").arg(lotText(text));
    return done;
}

Outcome runSell(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto trade = tradeArgs(c, q::Trade::Sale);
    if (!trade) return failed(trade.status());
    auto datum = dateArg(c.args, QStringLiteral("--date"), QDate());
    if (!datum) return failed(datum.status());
    auto lotId = c.args.integer(QStringLiteral("--lot"));
    if (!lotId) return failed(lotId.status());
    const Sale sale{*firma, trade->shares, *datum, trade->price, lotId->value_or(-1), trade->fees.has_value()};
    auto r = sell(c.session.store, sale);
    if (!r) return failed(r.status());
    out.status = Status::ok();
    if (!r->plan.changes.empty())
        out.lines << QStringLiteral("Verkauft: %1 Anteile am %2 zu %3 je Anteil")
                         .arg(number(trade->shares - r->plan.excess), formatDate(*datum), number(trade->price));
    QJsonArray sold, remainder;
    for (const auto& [before, after] : r->plan.changes.updates) {
        out.lines << QStringLiteral("Verkauft: %1").arg(lotLine(after));
        sold.append(lotJson(after));
    }
    for (const Lot& rest : r->plan.changes.appends) {
        out.lines << QStringLiteral("Rest: %1").arg(lotLine(rest));
        remainder.append(lotJson(rest));
    }
    if (!r->linkedDepot.isEmpty()) out.lines << QStringLiteral("Auch gebucht in: %1").arg(r->linkedDepot);
    if (!r->warning.isEmpty()) c.ui.tell(r->warning);
    out.json[QStringLiteral("sold")] = sold;
    out.json[QStringLiteral("remainder")] = remainder;
    out.json[QStringLiteral("excess")] = r->plan.excess;
    out.json[QStringLiteral("linkedDepot")] = r->linkedDepot;
    describeFees(*trade, q::Trade::Sale, out);
    return out;
}

Outcome runLots(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Query q;
    q.order = kLotOrder;
    if (!c.args.positional().isEmpty()) {
        auto firma = securityArg(c, c.args.positional().first());
        if (!firma) return failed(firma.status());
        q = Query::detailOf(*firma);
        q.order = kLotOrder;
    }
    auto table = c.session.store.table(kLots);
    if (!table) return failed(table.status());
    auto lots = readLots(**table, q);
    if (!lots) return failed(lots.status());
    const bool all = c.args.has(QStringLiteral("--all"));
    QJsonArray list;
    for (const Lot& lot : *lots) {
        if (lot.isSold() && !all) continue;
        out.lines << lotLine(lot);
        list.append(lotJson(lot));
    }
    if (list.isEmpty()) out.lines << (all ? QStringLiteral("Keine Buchungen") : QStringLiteral("Keine offenen Posten"));
    out.json[QStringLiteral("lots")] = list;
    return out;
}

Outcome runSplit(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto ratio = requiredNumber(c.args, QStringLiteral("--ratio"));
    if (!ratio) return failed(ratio.status());
    auto ende = dateArg(c.args, QStringLiteral("--end"), QDate());
    if (!ende) return failed(ende.status());
    auto r = splitSecurity(c.session.store, {*firma, *ratio, *ende});
    if (!r) return failed(r.status());
    out.lines << QStringLiteral("Aktiensplit 1:%1 bis %2: %3 Kurse, %4 Posten geändert")
                     .arg(number(*ratio), formatDate(*ende))
                     .arg(r->prices)
                     .arg(r->lots);
    for (const QString& depot : r->linkedDepots) out.lines << QStringLiteral("Auch geändert in: %1").arg(depot);
    out.json[QStringLiteral("prices")] = r->prices;
    out.json[QStringLiteral("lots")] = r->lots;
    out.json[QStringLiteral("linkedDepots")] = toJson(r->linkedDepots);
    return out;
}

Outcome runDividend(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto shares = requiredNumber(c.args, QStringLiteral("--shares"));
    if (!shares) return failed(shares.status());
    auto perShare = c.args.number(QStringLiteral("--per-share"));
    if (!perShare) return failed(perShare.status());
    auto amount = c.args.number(QStringLiteral("--amount"));
    if (!amount) return failed(amount.status());
    if (perShare->has_value() == amount->has_value())
        return failed(Status::invalid(QStringLiteral("Geben Sie entweder --per-share oder --amount an")));
    auto datum = dateArg(c.args, QStringLiteral("--date"), QDate());
    if (!datum) return failed(datum.status());
    auto lot = bookDividend(c.session.store, {*firma, *shares, *perShare, *amount, *datum, c.args.value(QStringLiteral("--text"))});
    if (!lot) return failed(lot.status());
    return booked(*lot, QStringLiteral("Dividende"));
}

Outcome runReinvest(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional().value(0));
    if (!firma) return failed(firma.status());
    auto amount = requiredNumber(c.args, QStringLiteral("--amount"));
    if (!amount) return failed(amount.status());
    auto price = requiredNumber(c.args, QStringLiteral("--price"));
    if (!price) return failed(price.status());
    auto datum = dateArg(c.args, QStringLiteral("--date"), QDate());
    if (!datum) return failed(datum.status());
    auto lot = bookReinvestment(c.session.store, {*firma, *amount, *price, *datum, c.args.value(QStringLiteral("--text"))});
    if (!lot) return failed(lot.status());
    return booked(*lot, QStringLiteral("Wiederanlage"));
}

Outcome runPayment(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto amount = requiredNumber(c.args, QStringLiteral("--amount"));
    if (!amount) return failed(amount.status());
    auto datum = dateArg(c.args, QStringLiteral("--date"), QDate());
    if (!datum) return failed(datum.status());
    auto lot = bookPayment(c.session.store, *amount, *datum, c.args.value(QStringLiteral("--text")));
    if (!lot) return failed(lot.status());
    return booked(*lot, QStringLiteral("Zahlung"));
}

Outcome runMoveLots(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto from = securityArg(c, c.args.positional().value(0));
    if (!from) return failed(from.status());
    if (!c.args.has(QStringLiteral("--to"))) return failed(Status::invalid(QStringLiteral("--to fehlt")));
    auto to = securityArg(c, c.args.value(QStringLiteral("--to")));
    if (!to) return failed(to.status());
    auto moved = moveLots(c.session.store, *from, *to);
    if (!moved) return failed(moved.status());
    out.lines << QStringLiteral("Übertragen: %1 Posten").arg(*moved);
    out.json[QStringLiteral("moved")] = *moved;
    return out;
}

Outcome runCashRebuild(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto r = rebuildCash(c.session.store, c.ui, portfolioSettings(c.session).homeSymbol);
    if (!r) {
        if (r.status().category() == Category::Cancelled)
            return failed(Status::cancelled(QStringLiteral("Barbestand nicht neu berechnet (mit --yes bestätigen)")));
        return failed(r.status());
    }
    if (r->created) out.lines << QStringLiteral("Wertpapier angelegt: %1").arg(kCashName);
    out.lines << QStringLiteral("Kurse von 1 angefügt: %1").arg(r->prices)
              << QStringLiteral("Buchungen gelöscht: %1, neu erzeugt: %2").arg(r->removed).arg(r->appended)
              << QStringLiteral("Bargeldbestand: %1").arg(formatMoney(r->balance, portfolioSettings(c.session).decimals,
                                                                      portfolioSettings(c.session).homeSymbol));
    out.json[QStringLiteral("cash")] = r->cash;
    out.json[QStringLiteral("created")] = r->created;
    out.json[QStringLiteral("prices")] = r->prices;
    out.json[QStringLiteral("removed")] = r->removed;
    out.json[QStringLiteral("appended")] = r->appended;
    out.json[QStringLiteral("balance")] = r->balance;
    return out;
}

}  // namespace

Result<int> securityArg(Context& c, const QString& text) {
    if (text.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Kein Wertpapier angegeben"));
    auto firma = c.session.store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    return findSecurity(**firma, text);
}

Result<double> requiredNumber(const Args& args, const QString& option) {
    auto n = args.number(option);
    if (!n) return n.status();
    if (!n->has_value()) return Status::invalid(QStringLiteral("%1 fehlt").arg(option));
    return **n;
}

Result<QDate> dateArg(const Args& args, const QString& option, const QDate& fallback) {
    auto d = args.date(option);
    if (!d) return d.status();
    if (d->has_value()) return **d;
    if (!fallback.isValid()) return Status::invalid(QStringLiteral("%1 fehlt").arg(option));
    return fallback;
}

Result<double> priceArg(const Args& args, double shares) {
    const bool price = args.has(QStringLiteral("--price"));
    if (price == args.has(QStringLiteral("--total")))
        return Status::invalid(QStringLiteral("Geben Sie entweder --price oder --total an"));
    if (price) return requiredNumber(args, QStringLiteral("--price"));
    auto total = requiredNumber(args, QStringLiteral("--total"));
    if (!total) return total.status();
    return *total / shares;
}

QString number(double value) { return formatGeneral(value); }

Result<CurrencyConverter> refreshedConverter(Context& c, PortfolioSettings& settings) {
    settings = portfolioSettings(c.session);
    auto refreshed = refreshFactors(c.session.store, settings);
    if (!refreshed) return refreshed.status();
    return CurrencyConverter::load(c.session.store, settings);
}

QJsonValue numberOrNull(const std::optional<double>& value) { return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null); }

QJsonObject lotJson(const Lot& lot) {
    return QJsonObject{{QStringLiteral("id"), lot.id},
                       {QStringLiteral("firma"), lot.Firma},
                       {QStringLiteral("text"), lot.FirmenName},
                       {QStringLiteral("shares"), lot.Anteile},
                       {QStringLiteral("buyDate"), formatDate(lot.Datum)},
                       {QStringLiteral("buyPrice"), lot.Ankauf},
                       {QStringLiteral("saleDate"), formatDate(lot.Verkauf)},
                       {QStringLiteral("salePrice"), lot.isSold() ? lot.Erloes : 0.0}};
}

QString lotLine(const Lot& lot) {
    QString line = QStringLiteral("Posten %1: %2 Anteile %3, gekauft am %4 zu %5")
                       .arg(lot.id)
                       .arg(number(lot.Anteile), lot.FirmenName, formatDate(lot.Datum), number(lot.Ankauf));
    if (lot.isSold()) line += QStringLiteral(", verkauft am %1 zu %2").arg(formatDate(lot.Verkauf), number(lot.Erloes));
    return line;
}

std::vector<Command> portfolioCommands() {
    std::vector<Command> all;
    // The lots' commands need the depot opened (and its password); currencies and
    // limits live in the data directory.
    using Part = std::vector<Command> (*)();
    const std::pair<Part, bool> parts[] = {{bookingCommands, true},     {currencyCommands, false}, {depotReportCommands, true},
                                           {limitCommands, false},      {plannerCommands, true},   {depotCommands, false}};
    for (auto [part, depot] : parts) {
        std::vector<Command> more = part();
        for (Command& c : more) c.depot = c.depot || depot;
        all.insert(all.end(), more.begin(), more.end());
    }
    return all;
}

std::vector<Command> bookingCommands() {
    return {
        {"buy", "Kauf buchen (Ankaufs-Assistent)",
         "buy WERTPAPIER --shares N (--price P | --total T) [--date TT.MM.JJJJ] [--fees] [--text TEXT]\n"
         "WERTPAPIER: Nummer oder genauer Name. Ohne --fees der kurze Ankauf (Preis P oder T ÷ N),\n"
         "mit --fees der Ankaufs-Assistent: Gebühren aus Bank, Makler und Clearing werden auf\n"
         "den Preis je Anteil geschlagen. Ohne --date gilt heute.",
         runBuy, ArgSpec{{{"--shares", true}, {"--price", true}, {"--total", true}, {"--date", true}, {"--fees", false}, {"--text", true}}, 1, 1}},
        {"sell", "Verkauf buchen (Verkaufs-Assistent)",
         "sell WERTPAPIER --shares N (--price P | --total T) --date TT.MM.JJJJ [--lot ID] [--fees]\n"
         "Verkauft die ältesten offenen Posten zuerst; --lot wählt den Posten (hat er genau N\n"
         "Anteile, wird er verkauft). Mit --fees werden die Gebühren vom Erlös abgezogen.",
         runSell, ArgSpec{{{"--shares", true}, {"--price", true}, {"--total", true}, {"--date", true}, {"--lot", true}, {"--fees", false}}, 1, 1}},
        {"lots", "Offene Posten zeigen",
         "lots [WERTPAPIER] [--all]\nDie offenen Posten (mit --all auch die verkauften) des Depots oder eines Wertpapiers.",
         runLots, ArgSpec{{{"--all", false}}, 0, 1}},
        {"split", "Aktiensplit buchen",
         "split WERTPAPIER --ratio X --end TT.MM.JJJJ\n"
         "Teilt die Kurse bis zum Enddatum durch X; Posten, die dann gehalten wurden, erhalten\n"
         "X-mal so viele Anteile zum X-ten Teil des Preises.",
         runSplit, ArgSpec{{{"--ratio", true}, {"--end", true}}, 1, 1}},
        {"dividend", "Dividende buchen",
         "dividend WERTPAPIER --shares N (--per-share D | --amount B) --date TT.MM.JJJJ [--text TEXT]",
         runDividend, ArgSpec{{{"--shares", true}, {"--per-share", true}, {"--amount", true}, {"--date", true}, {"--text", true}}, 1, 1}},
        {"reinvest", "Wiederanlage einer Ausschüttung buchen",
         "reinvest WERTPAPIER --amount B --price P --date TT.MM.JJJJ [--text TEXT]\n"
         "Bucht B ÷ P neue Anteile, die ohne Ankaufskosten bewertet werden.",
         runReinvest, ArgSpec{{{"--amount", true}, {"--price", true}, {"--date", true}, {"--text", true}}, 1, 1}},
        {"payment", "Zahlung ins oder aus dem Depot buchen",
         "payment --amount B --date TT.MM.JJJJ [--text TEXT]\nEin negativer Betrag ist eine Auszahlung (etwa eine Gebühr).",
         runPayment, ArgSpec{{{"--amount", true}, {"--date", true}, {"--text", true}}, 0, 0}},
        {"move-lots", "Alle Posten auf ein anderes Wertpapier übertragen",
         "move-lots WERTPAPIER --to WERTPAPIER2", runMoveLots, ArgSpec{{{"--to", true}}, 1, 1}},
        {"cash-rebuild", "Bargeldbestand neu berechnen (nur mit --yes)",
         "cash-rebuild --yes\nLöscht alle Buchungen des Bargeldbestands außer den von Hand eingetragenen\n"
         "\"Bargeldbestand\" und erzeugt sie aus Käufen und Verkäufen neu.",
         runCashRebuild},
    };
}

}  // namespace q::cli
