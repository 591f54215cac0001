// The one price look-up of the portfolio: the price of a security on a day is the
// `Kurs` of its newest daily price dated on or before that day, and that row's date
// is the price date. Valuation, history, exchange rates and the dialogs all ask here.
#pragma once

#include "store/table.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <optional>
#include <vector>

namespace q {

struct PricePoint {
    QDate datum;
    double kurs = 0;
};

// The daily prices of one security over a span of days, in date order, with the
// newest price before the span so that every day of the span can be priced.
class PriceSeries {
public:
    void add(int dayNumber, double kurs);  // in ascending date order
    // The newest price dated on or before `day`; nullopt when there is none.
    std::optional<PricePoint> onOrBefore(const QDate& day) const;
    // The same for days asked in ascending order (a day number): `cursor` starts at 0
    // and moves forward with the days, so a walk over every day of the span reads each
    // price once. nullopt when there is no price on or before the day.
    std::optional<double> kursOnOrBefore(int dayNumber, size_t& cursor) const;
    // The oldest price dated after `day`; nullopt when there is none.
    std::optional<PricePoint> firstAfter(const QDate& day) const;
    bool empty() const { return m_days.empty(); }
    qint64 size() const { return static_cast<qint64>(m_days.size()); }

private:
    std::vector<int> m_days;  // day numbers
    std::vector<double> m_kurse;
};

// Reads the prices of `firma` dated `from` … `to` from `aktien` (Aktien.db), and the
// newest one before `from`. An invalid `from` reads from the first price, an invalid
// `to` up to the last. Fails with the store's message.
Result<PriceSeries> loadPriceSeries(Table& aktien, int firma, const QDate& from, const QDate& to);

// The newest price of `firma` on or before `day`.
Result<std::optional<PricePoint>> priceOnOrBefore(Table& aktien, int firma, const QDate& day);
// The same for many securities in one query: the price of each of `firmen` that has
// one on or before `day`.
Result<QHash<int, PricePoint>> pricesOnOrBefore(Table& aktien, const QList<int>& firmen, const QDate& day);

}  // namespace q
