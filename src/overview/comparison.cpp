#include "overview/comparison.h"

#include "base/formats.h"
#include "portfolio/currency.h"

namespace q {

std::optional<std::vector<ChartPoint>> percentSince(std::span<const int> days, std::span<const double> prices, int startDay) {
    std::vector<ChartPoint> points;
    std::optional<double> base;
    for (size_t i = 0; i < prices.size(); ++i) {
        if (days[i] < startDay) continue;
        if (!base) {
            if (prices[i] <= 0) return std::nullopt;
            base = prices[i];
        }
        points.push_back({double(days[i]), prices[i] * 100 / *base - 100});
    }
    return points;
}

std::vector<ChartPoint> depotPercent(const std::vector<HistoryRecord>& records, const QDate& start) {
    std::vector<ChartPoint> points;
    std::optional<double> base;
    for (const HistoryRecord& r : records) {
        if (r.DATUM < start || r.KursKauf == 0) continue;
        const double value = r.KursIst * 100 / r.KursKauf - 100;
        if (!base) base = value;
        points.push_back({double(dayNumber(r.DATUM)), value - *base});
    }
    return points;
}

bool ComparisonChart::legend() const {
    // Two lines already need their names to be told apart; a line without a
    // point (a depot without a history yet) draws nothing.
    auto drawn = [](const ComparisonLine& l) { return l.active && !l.points.empty() ? 1 : 0; };
    int count = drawn(depot);
    for (const ComparisonLine& l : lines) count += drawn(l);
    return count >= 2;
}

Result<ComparisonChart> readComparison(Store& store, const QStringList& names, const QDate& start, bool withDepot) {
    ComparisonChart chart;
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    const int startDay = dayNumber(start);
    for (const QString& name : names) {
        ComparisonLine line;
        line.name = name.trimmed();
        if (!line.name.isEmpty()) {
            auto found = securityNamed(**firma, line.name);
            if (!found) return found.status();
            if (*found) {
                std::vector<int> days;
                std::vector<double> prices;
                Query q = Query::detailOf(**found);
                q.rangeField = QStringLiteral("Datum");
                q.from = startDay;
                Q_TRY((*aktien)->forEach(q, [&](const Record& r) {
                    days.push_back(static_cast<int>(r.value(QStringLiteral("Datum")).toDouble()));
                    prices.push_back(r.value(QStringLiteral("Kurs")).toDouble());
                    return true;
                }));
                if (auto points = percentSince(days, prices, startDay)) {
                    line.points = std::move(*points);
                    line.active = true;
                } else {
                    chart.notices << QStringLiteral("%1: erster Kurs 0, nicht verglichen").arg(line.name);
                }
            }
        }
        chart.lines.push_back(std::move(line));
    }
    chart.depot.name = QStringLiteral("Depot");
    if (withDepot) {
        auto history = readHistory(store, start);
        if (!history) return history.status();
        chart.depot.points = depotPercent(*history, start);
        chart.depot.active = true;
    }
    return chart;
}

}  // namespace q
