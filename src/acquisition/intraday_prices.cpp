#include "acquisition/intraday_prices.h"

#include "base/formats.h"

namespace q {

namespace {

Status appendOnce(Table& intraday, int firma, const QDateTime& at, double kurs, qint64 volume) {
    const double zeit = timestampNumber(at);
    auto found = intraday.findKey({firma, zeit});
    if (!found) return found.status();
    if (found->has_value()) return Status::ok();
    Record r = intraday.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    r.set(QStringLiteral("ZEIT"), zeit);
    r.set(QStringLiteral("Kurs"), kurs);
    r.set(QStringLiteral("Volumen"), volume);
    auto appended = intraday.append(r);
    return appended ? Status::ok() : appended.status();
}

}  // namespace

Status appendIntradayPrice(Table& intraday, int firma, const QDateTime& at, double kurs, qint64 volume, std::optional<double> startPrice) {
    if (startPrice) {
        auto count = intraday.count(Query::detailOf(firma));
        if (!count) return count.status();
        if (*count == 0) Q_TRY(appendOnce(intraday, firma, at.addSecs(-60), *startPrice, 0));
    }
    return appendOnce(intraday, firma, at, kurs, volume);
}

}  // namespace q
