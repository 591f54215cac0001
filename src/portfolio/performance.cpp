#include "portfolio/performance.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace q {

namespace {

using Values = std::vector<std::pair<QDate, double>>;

// The end value of every day of [from, to] (index: days after `from`), carried
// forward over days without a record; before the first record 0.
std::vector<double> dailyValues(const Values& values, const QDate& from, const QDate& to) {
    std::vector<double> out(static_cast<size_t>(from.daysTo(to) + 1), 0.0);
    double last = 0;
    size_t i = 0;
    while (i < values.size() && values[i].first < from) last = values[i++].second;
    QDate d = from;
    for (double& v : out) {
        while (i < values.size() && values[i].first <= d) last = values[i++].second;
        v = last;
        d = d.addDays(1);
    }
    return out;
}

double valueBefore(const Values& values, const QDate& day) {
    const auto it = std::lower_bound(values.begin(), values.end(), day, [](const auto& v, const QDate& d) { return v.first < d; });
    return it == values.begin() ? 0.0 : std::prev(it)->second;
}

std::map<QDate, DayFlow> byDay(const std::vector<DayFlow>& flows) {
    std::map<QDate, DayFlow> out;
    for (const DayFlow& f : flows) {
        DayFlow& d = out[f.day];
        d.day = f.day;
        d.purchases += f.purchases;
        d.proceeds += f.proceeds;
    }
    return out;
}

double npv(const std::vector<std::pair<double, double>>& flows, double r) {
    double sum = 0;
    for (const auto& [days, amount] : flows) sum += amount * std::pow(1.0 + r, -days / 365.0);
    return sum;
}

double npvSlope(const std::vector<std::pair<double, double>>& flows, double r) {
    double sum = 0;
    for (const auto& [days, amount] : flows) sum += amount * (-days / 365.0) * std::pow(1.0 + r, -days / 365.0 - 1.0);
    return sum;
}

}  // namespace

std::optional<double> ttwror(const Values& values, const std::vector<DayFlow>& flows, const QDate& from, const QDate& to) {
    if (!from.isValid() || !to.isValid() || to < from) return std::nullopt;
    const std::vector<double> days = dailyValues(values, from, to);
    // The day's net flow, by the same index.
    std::vector<double> net(days.size(), 0.0);
    for (const DayFlow& f : flows)
        if (f.day >= from && f.day <= to) net[static_cast<size_t>(from.daysTo(f.day))] += f.proceeds - f.purchases;
    double previous = valueBefore(values, from);
    double product = 1;
    bool any = false;
    for (size_t i = 0; i < days.size(); ++i) {
        const double end = days[i];
        any = any || end != 0 || previous != 0;
        if (previous != 0) product *= (end + net[i]) / previous;
        previous = end;
    }
    if (!any) return std::nullopt;
    return (product - 1.0) * 100.0;
}

std::optional<double> solveRate(const std::vector<std::pair<double, double>>& flows) {
    bool negative = false, positive = false;
    for (const auto& [days, amount] : flows) {
        negative = negative || amount < 0;
        positive = positive || amount > 0;
    }
    if (!negative || !positive) return std::nullopt;
    // Zero within rounding of the amounts summed.
    double scale = 0;
    for (const auto& [days, amount] : flows) scale += std::abs(amount);
    const double tolerance = scale * 1e-12;
    // Newton from 10 %, kept inside the bracket.
    double r = 0.1;
    for (int i = 0; i < 50; ++i) {
        const double f = npv(flows, r);
        if (std::abs(f) <= tolerance) return r;
        const double slope = npvSlope(flows, r);
        if (slope == 0 || !std::isfinite(slope)) break;
        const double next = r - f / slope;
        if (!std::isfinite(next) || next <= -0.9999 || next > 1e4) break;
        if (std::abs(next - r) < 1e-11) return next;
        r = next;
    }
    // Bisection over a bracket where the sum changes sign.
    double lo = -0.9999, hi = 1e4;
    double flo = npv(flows, lo), fhi = npv(flows, hi);
    if (!std::isfinite(flo) || !std::isfinite(fhi) || (flo > 0) == (fhi > 0)) {
        // Look for a sign change on a coarse grid first.
        bool found = false;
        double prev = lo, fprev = flo;
        for (double x = -0.99; x <= 1e4; x = x < 1 ? x + 0.01 : x * 1.5) {
            const double fx = npv(flows, x);
            if (std::isfinite(fprev) && std::isfinite(fx) && (fprev > 0) != (fx > 0)) {
                lo = prev;
                hi = x;
                flo = fprev;
                found = true;
                break;
            }
            prev = x;
            fprev = fx;
        }
        if (!found) return std::nullopt;
    }
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        const double fm = npv(flows, mid);
        if (std::abs(fm) <= tolerance || hi - lo < 1e-13) return mid;
        if ((fm > 0) == (flo > 0)) {
            lo = mid;
            flo = fm;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2;
}

std::optional<double> irr(const Values& values, const std::vector<DayFlow>& flows, const QDate& from, const QDate& to) {
    if (!from.isValid() || !to.isValid() || to < from) return std::nullopt;
    std::vector<std::pair<double, double>> cash;
    const double start = valueBefore(values, from);
    if (start != 0) cash.push_back({0.0, -start});
    for (const auto& [day, f] : byDay(flows)) {
        if (day < from || day > to) continue;
        const double days = static_cast<double>(from.daysTo(day));
        if (f.purchases != 0) cash.push_back({days, -f.purchases});
        if (f.proceeds != 0) cash.push_back({days, f.proceeds});
    }
    const double end = valueBefore(values, to.addDays(1));
    if (end != 0) cash.push_back({static_cast<double>(from.daysTo(to)), end});
    const auto r = solveRate(cash);
    if (!r) return std::nullopt;
    return *r * 100.0;
}

Result<std::vector<DayFlow>> bookingFlows(Store& store, CurrencyConverter& converter) {
    std::vector<DayFlow> flows;
    if (!store.exists(kLots)) return flows;
    auto table = store.table(kLots);
    if (!table) return table.status();
    auto lots = readLots(**table, Query());
    if (!lots) return lots.status();
    // Every security's currency in one pass over the master.
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    std::map<int, QString> currency;
    Q_TRY((*firma)->forEach(Query(), [&](const Record& r) {
        currency[r.value(QStringLiteral("Firma")).toInt()] = r.value(QStringLiteral("Waehrung")).toString();
        return true;
    }));
    for (const Lot& lot : *lots) {
        if (lot.Firma <= 0 || !lot.Datum.isValid()) continue;
        const QString& c = currency[lot.Firma];
        auto fb = converter.factor(c, lot.Datum, false);
        if (!fb) return fb.status();
        flows.push_back({lot.Datum, lot.buyPrice() * lot.Anteile * *fb, 0});
        if (lot.isSold()) {
            auto fs = converter.factor(c, lot.Verkauf, false);
            if (!fs) return fs.status();
            flows.push_back({lot.Verkauf, 0, lot.Erloes * lot.Anteile * *fs});
        }
    }
    return flows;
}

Result<Performance> performance(Store& store, CurrencyConverter& converter, const QDate& from, const QDate& to) {
    auto records = readHistory(store);
    if (!records) return records.status();
    auto flows = bookingFlows(store, converter);
    if (!flows) return flows.status();
    Values values;
    for (const HistoryRecord& r : *records) values.push_back({r.DATUM, r.value()});
    Performance p;
    if (values.empty()) return p;
    p.from = from.isValid() ? from : values.front().first;
    p.to = to.isValid() ? to : values.back().first;
    if (p.to < p.from) return Status::invalid(QStringLiteral("Das Ende liegt vor dem Beginn"));
    p.ttwror = ttwror(values, *flows, p.from, p.to);
    if (p.ttwror) {
        const double days = static_cast<double>(p.from.daysTo(p.to) + 1);
        const double growth = 1.0 + *p.ttwror / 100.0;
        if (growth >= 0) p.ttwrorAnnualised = (std::pow(growth, 365.0 / days) - 1.0) * 100.0;
    }
    p.irr = irr(values, *flows, p.from, p.to);
    for (int y = p.from.year(); y <= p.to.year(); ++y) {
        const QDate a = std::max(p.from, QDate(y, 1, 1));
        const QDate b = std::min(p.to, QDate(y, 12, 31));
        p.years.push_back({y, ttwror(values, *flows, a, b), irr(values, *flows, a, b)});
    }
    return p;
}

}  // namespace q
