#include "portfolio/cash.h"

#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/currency.h"
#include "store/firma_hooks.h"

#include <map>

namespace q {

namespace {

// Builds the generated lots of design notes 1 and 2.
class CashBook {
public:
    explicit CashBook(int cash) : m_cash(cash) {}

    // An entry joined into the day's lot of the same kind (`Ankauf` 1 or 0), or a
    // lot of its own.
    void join(const QDate& day, double amount, int ankauf, const QString& text, const QString& joinedText) {
        auto& targets = ankauf == 1 ? m_withCost : m_results;
        if (auto it = targets.find(day); it != targets.end()) {
            Lot& target = m_lots[it->second];
            target.Anteile += amount;
            target.FirmenName = joinedText;
            return;
        }
        targets[day] = append(day, amount, ankauf, text);
    }
    // An entry of its own that later entries of the day may join.
    void alone(const QDate& day, double amount, const QString& text) {
        const size_t i = append(day, amount, 1, text);
        m_withCost.try_emplace(day, i);
    }
    std::vector<Lot> lots() const { return m_lots; }

private:
    size_t append(const QDate& day, double amount, int ankauf, const QString& text) {
        Lot lot;
        lot.Firma = m_cash;
        lot.Datum = day;
        lot.Anteile = amount;
        lot.Ankauf = ankauf;
        lot.FirmenName = lotText(text);
        m_lots.push_back(lot);
        return m_lots.size() - 1;
    }
    int m_cash;
    std::vector<Lot> m_lots;
    std::map<QDate, size_t> m_withCost;  // day -> first generated lot with `Ankauf` 1
    std::map<QDate, size_t> m_results;   // day -> first generated lot with `Ankauf` 0
};

bool isSavingsPlan(const QString& text) {
    return text.contains(QStringLiteral("Sparplan")) || text.contains(QStringLiteral("SP .."));
}

Result<int> appendCashPrices(Store& store, int cash) {
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query last = Query::detailOf(cash);
    last.reverse = true;
    auto newest = (*aktien)->first(last);
    if (!newest) return newest.status();
    const QDate until = today();
    // The first price of a new cash security is today's: a first price dated
    // tomorrow would leave the cash without a price today.
    QDate day = newest->has_value() ? dateFromDayNumber((*newest)->value(QStringLiteral("Datum")).toDouble()) : QDate();
    Transaction tx((*aktien)->db());
    Q_TRY(tx.begin());
    int added = 0;
    while (!day.isValid() || day < until) {
        day = !day.isValid() ? until : day.addDays(day.dayOfWeek() == Qt::Friday ? 3 : 1);
        Record r = (*aktien)->newRecord();
        r.set(QStringLiteral("Firma"), cash);
        r.set(QStringLiteral("Datum"), dayNumber(day));
        r.set(QStringLiteral("Kurs"), 1.0);
        auto a = (*aktien)->append(r);
        if (!a) return a.status();
        ++added;
    }
    Q_TRY(tx.commit());
    return added;
}

}  // namespace

bool isCashSecurity(const QString& firmenName) { return firmenName == kCashName; }

LotChanges planCashRebuild(const std::vector<Lot>& lots, int cash) {
    LotChanges changes;
    CashBook book(cash);
    for (const Lot& lot : lots) {
        if (lot.Firma == cash) {
            if (lot.FirmenName != kCashName) changes.removals.push_back(lot);
            continue;
        }
        const double cost = lot.buyPrice() * lot.Anteile;
        if (lot.buyPrice() != 0.0 && lot.Datum.isValid())
            book.join(lot.Datum, -cost, 1, QStringLiteral("AK .. ") + lot.FirmenName, QStringLiteral("AK .. Zusammengefasst"));
        if (isSavingsPlan(lot.FirmenName) && lot.Datum.isValid())
            book.alone(lot.Datum, cost, QStringLiteral("EZ .. ") + lot.FirmenName);
        // A lot sold at 0 is sold too: its cost comes back and its loss is booked.
        if (!lot.isSold()) continue;
        if (lot.buyPrice() != 0.0)
            book.join(lot.Verkauf, cost, 1, QStringLiteral("VK .. ") + lot.FirmenName, QStringLiteral("VK .. Zusammengefasst"));
        const double result = (lot.Erloes - lot.buyPrice()) * lot.Anteile;
        book.join(lot.Verkauf, result, 0, (result >= 0 ? QStringLiteral("Gewinn .. ") : QStringLiteral("Verlust .. ")) + lot.FirmenName,
                  QStringLiteral("Erlöse .. Zusammengefasst"));
    }
    changes.appends = book.lots();
    return changes;
}

Result<CashRebuild> rebuildCash(Store& store, Interaction& ui, const QString& homeSymbol) {
    if (ui.ask(QStringLiteral("Neu Berechnen !!!"),
               QStringLiteral("Soll der Barbestand neu Berechnet werden? Es werden alle Buchunge welche nicht die Bezeichnung "
                              "\"Bargeldbestand\" haben gelöscht und neu erzeugt!!!"),
               Answer::No) != Answer::Yes)
        return Status::cancelled(QStringLiteral("Barbestand nicht neu berechnet"));
    CashRebuild out;
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto found = securityNamed(**firma, kCashName);
    if (!found) return found.status();
    if (found->has_value()) {
        out.cash = **found;
    } else {
        Record r = newSecurityRecord(**firma, homeSymbol);
        r.set(QStringLiteral("FirmenName"), kCashName);
        auto added = appendSecurity(**firma, r);
        if (!added) return added.status();
        out.cash = *added;
        out.created = true;
    }
    auto prices = appendCashPrices(store, out.cash);
    if (!prices) return prices.status();
    out.prices = *prices;

    auto table = store.table(kLots);
    if (!table) return table.status();
    Query all;
    all.order = kLotOrder;
    auto lots = readLots(**table, all);
    if (!lots) return lots.status();
    const LotChanges changes = planCashRebuild(*lots, out.cash);
    auto written = writeLots(**table, changes);
    if (!written) return written.status();
    out.removed = static_cast<int>(changes.removals.size());
    out.appended = static_cast<int>(changes.appends.size());
    for (const Lot& lot : *lots)
        if (lot.Firma == out.cash && lot.FirmenName == kCashName) out.balance += lot.Anteile;
    for (const Lot& lot : changes.appends) out.balance += lot.Anteile;
    return out;
}

}  // namespace q
