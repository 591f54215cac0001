#include "portfolio/prices.h"

#include "base/formats.h"
#include "store/daily_prices.h"

#include <algorithm>

namespace q {

void PriceSeries::add(int dayNumber, double kurs) {
    Q_ASSERT(m_days.empty() || m_days.back() < dayNumber);
    m_days.push_back(dayNumber);
    m_kurse.push_back(kurs);
}

std::optional<PricePoint> PriceSeries::onOrBefore(const QDate& day) const {
    const auto it = std::upper_bound(m_days.begin(), m_days.end(), dayNumber(day));
    if (it == m_days.begin()) return std::nullopt;
    const auto i = static_cast<size_t>(it - m_days.begin()) - 1;
    return PricePoint{dateFromDayNumber(m_days[i]), m_kurse[i]};
}

std::optional<double> PriceSeries::kursOnOrBefore(int day, size_t& cursor) const {
    Q_ASSERT(cursor == 0 || cursor > m_days.size() || m_days[cursor - 1] <= day);
    while (cursor < m_days.size() && m_days[cursor] <= day) ++cursor;
    if (cursor == 0) return std::nullopt;
    return m_kurse[cursor - 1];
}

std::optional<PricePoint> PriceSeries::firstAfter(const QDate& day) const {
    const auto it = std::upper_bound(m_days.begin(), m_days.end(), dayNumber(day));
    if (it == m_days.end()) return std::nullopt;
    const auto i = static_cast<size_t>(it - m_days.begin());
    return PricePoint{dateFromDayNumber(m_days[i]), m_kurse[i]};
}

Result<PriceSeries> loadPriceSeries(Table& aktien, int firma, const QDate& from, const QDate& to) {
    PriceSeries series;
    auto add = [&series](const Record& r) {
        bool ok = false;
        const int day = static_cast<int>(r.value(QStringLiteral("Datum")).toDouble(&ok));
        if (ok) series.add(day, r.value(QStringLiteral("Kurs")).toDouble());
        return true;
    };
    if (from.isValid()) {
        Query before = Query::detailOf(firma);
        before.rangeField = QStringLiteral("Datum");
        before.to = dayNumber(from) - 1;
        before.reverse = true;
        before.limit = 1;
        Q_TRY(aktien.forEach(before, add));
    }
    Query span = Query::detailOf(firma);
    span.rangeField = QStringLiteral("Datum");
    if (from.isValid()) span.from = dayNumber(from);
    if (to.isValid()) span.to = dayNumber(to);
    Q_TRY(aktien.forEach(span, add));
    return series;
}

Result<std::optional<PricePoint>> priceOnOrBefore(Table& aktien, int firma, const QDate& day) {
    // One row read backwards from the day: what onOrBefore() finds in a series.
    Query newest = Query::detailOf(firma);
    newest.rangeField = QStringLiteral("Datum");
    newest.to = dayNumber(day);
    newest.reverse = true;
    auto row = aktien.first(newest);
    if (!row) return row.status();
    if (!row->has_value()) return std::optional<PricePoint>();
    return std::optional<PricePoint>(
        PricePoint{dateFromDayNumber((*row)->value(QStringLiteral("Datum")).toDouble()), (*row)->value(QStringLiteral("Kurs")).toDouble()});
}

Result<QHash<int, PricePoint>> pricesOnOrBefore(Table& aktien, const QList<int>& firmen, const QDate& day) {
    auto newest = newestOnOrBefore(aktien, firmen, dayNumber(day));
    if (!newest) return newest.status();
    QHash<int, PricePoint> out;
    for (auto it = newest->cbegin(); it != newest->cend(); ++it) out.insert(it.key(), PricePoint{dateFromDayNumber(it->day), it->kurs});
    return out;
}

}  // namespace q
