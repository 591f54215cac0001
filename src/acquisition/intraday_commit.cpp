#include "acquisition/intraday_commit.h"

#include "base/formats.h"

#include <cmath>
#include <map>

namespace q {

namespace {

// Writes `value` into the row of (firma, day); true when it changed something.
Result<bool> writeDay(Table& table, int firma, int day, const QString& field, const QVariant& value) {
    auto found = table.findKey({firma, day});
    if (!found) return found.status();
    if (found->has_value()) {
        if ((*found)->value(field) == value) return false;
        Record after = **found;
        after.set(field, value);
        Q_TRY(table.update(**found, after));
        return true;
    }
    Record r = table.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    r.set(QStringLiteral("Datum"), day);
    r.set(field, value);
    auto appended = table.append(r);
    if (!appended) return appended.status();
    return true;
}

}  // namespace

Result<IntradayCommitReport> commitIntradayPrices(Store& store) {
    auto intraday = store.table(QStringLiteral("Intraday.db"));
    if (!intraday) return intraday.status();
    struct Last {
        double zeit = -1;
        double kurs = 0;
        qint64 volumen = 0;
    };
    std::map<int, Last> last;
    Q_TRY((*intraday)->forEach(Query(), [&](const Record& r) {
        Last& l = last[r.value(QStringLiteral("Firma")).toInt()];
        const double zeit = r.value(QStringLiteral("ZEIT")).toDouble();
        if (zeit >= l.zeit) l = {zeit, r.value(QStringLiteral("Kurs")).toDouble(), r.value(QStringLiteral("Volumen")).toLongLong()};
        return true;
    }));
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Q_TRY(store.ensure(QStringLiteral("Volumen.db")));
    auto volumen = store.table(QStringLiteral("Volumen.db"));
    if (!volumen) return volumen.status();
    IntradayCommitReport report;
    for (const auto& [firma, l] : last) {
        ++report.securities;
        const int day = int(std::floor(l.zeit));
        auto price = writeDay(**aktien, firma, day, QStringLiteral("Kurs"), l.kurs);
        if (!price) return price.status();
        report.written += *price ? 1 : 0;
        if (l.volumen <= 0) continue;
        auto volume = writeDay(**volumen, firma, day, QStringLiteral("Volumen"), l.volumen);
        if (!volume) return volume.status();
        report.volumes += *volume ? 1 : 0;
    }
    return report;
}

}  // namespace q
