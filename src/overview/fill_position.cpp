#include "overview/fill_position.h"

#include "base/formats.h"

#include <algorithm>

namespace q {

std::vector<Lot> positionLots(const std::vector<Lot>& lots) {
    std::vector<Lot> kept;
    for (const Lot& lot : lots)
        if (lot.Firma > 0 && !lot.FirmenName.contains(QStringLiteral("Optionsschein")) &&
            !lot.FirmenName.contains(QStringLiteral("Zertifikat")))
            kept.push_back(lot);
    return kept;
}

Position openPosition(const QString& firmenName, const std::vector<Lot>& all, std::span<const int> days,
                      std::span<const double> prices) {
    Position p;
    const std::vector<Lot> lots = positionLots(all);
    if (lots.empty()) return p;
    p.hasLots = true;
    p.chartTitle = firmenName + QStringLiteral("(Gewinn)");
    p.calculatorCaption = firmenName + QStringLiteral(" Gewinnberechnung");
    const double last = prices.empty() ? 0.0 : prices.back();

    int firstBought = 0, end = 0;
    bool held = false;
    for (const Lot& lot : lots) {
        const int bought = lot.Datum.isValid() ? dayNumber(lot.Datum) : 0;
        if (firstBought == 0 || bought < firstBought) firstBought = bought;
        if (lot.isSold()) {
            end = std::max(end, dayNumber(lot.Verkauf));
        } else {
            held = true;
            p.shares += lot.Anteile;
            p.cost += lot.buyPrice() * lot.Anteile;
        }
    }
    // While a lot is held the bars reach the newest price.
    if (held && !days.empty()) end = std::max(end, days.back());
    p.showProfitPage = prices.size() > 1 && std::any_of(lots.begin(), lots.end(), [](const Lot& l) { return l.Anteile > 0; });

    for (size_t i = 0; i < days.size(); ++i) {
        const int day = days[i];
        if (day < firstBought || day > end) continue;
        double profit = 0;
        for (const Lot& lot : lots) {
            if (!lot.Datum.isValid() || dayNumber(lot.Datum) > day) continue;
            const int sold = lot.isSold() ? dayNumber(lot.Verkauf) : 0;
            if (sold != 0 && sold < day) continue;
            const double price = sold == day ? lot.Erloes : prices[i];
            profit += lot.Anteile * (price - lot.buyPrice());
        }
        if (profit != 0) p.bars.push_back({day, profit});
    }

    p.value = last * p.shares;
    if (p.cost != 0) {
        const auto fixed = [](double x) { return formatSignificant(x, 8, 2); };
        p.line = QStringLiteral("        Anteile: ") + fixed(p.shares) + QStringLiteral("  Ankauf: ") + fixed(p.cost) +
                 QStringLiteral("  Wert: ") + fixed(p.value) + QStringLiteral("  Differenz: ") + fixed(p.value - p.cost) +
                 QStringLiteral("  Prozent: ") + fixed(p.value * 100 / p.cost - 100) + QStringLiteral("%");
    }
    p.meanBuyPrice = isZeroShares(p.shares) ? 0.0 : p.cost / p.shares;
    if (p.meanBuyPrice != 0)
        p.slider = static_cast<int>(roundHalfEven((last * 100 / p.meanBuyPrice - 100) * 10, 0));
    return p;
}

}  // namespace q
