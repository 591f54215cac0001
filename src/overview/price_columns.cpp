#include "overview/price_columns.h"

#include "base/formats.h"

namespace q {

std::vector<PriceDifference> priceDifferences(std::span<const PriceRow> rows) {
    std::vector<PriceDifference> out;
    out.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const PriceRow& row = rows[i];
        PriceDifference d;
        d.datum = row.datum;
        if (i > 0 && row.kurs != 0 && rows[i - 1].kurs != 0) d.Differenz = row.kurs * 100 / rows[i - 1].kurs - 100;
        if (row.gld != 0) d.DiffGlD = row.kurs * 100 / row.gld - 100;
        out.push_back(d);
    }
    return out;
}

QString formatDifferenz(double value) { return formatGeneral(roundHalfEven(value, 2)) + QStringLiteral(" %"); }

QString formatDiffGlD(double value) { return formatGeneral(roundHalfEven(value, 4)); }

}  // namespace q
