#include "app/intraday_values.h"

#include "base/formats.h"

#include <QSet>

namespace q {

namespace {
const QString kIntraday = QStringLiteral("Intraday.db");
}

Result<std::vector<IntradayValue>> intradayValues(Store& store, int firma) {
    auto table = store.table(kIntraday);
    if (!table) return table.status();
    std::vector<IntradayValue> values;
    Status walked = (*table)->forEach(Query::detailOf(firma), [&](const Record& r) {
        IntradayValue v;
        v.ZEIT = r.value(QStringLiteral("ZEIT")).toDouble();
        v.Kurs = r.value(QStringLiteral("Kurs")).toDouble();
        const QVariant volumen = r.value(QStringLiteral("Volumen"));
        if (!volumen.isNull()) v.Volumen = volumen.toLongLong();
        values.push_back(v);
        return true;
    });
    if (!walked) return walked;
    std::stable_sort(values.begin(), values.end(), [](const IntradayValue& a, const IntradayValue& b) { return a.ZEIT < b.ZEIT; });
    return values;
}

Status saveIntradayValues(Store& store, int firma, const std::vector<IntradayValue>& values) {
    // Checked before the transaction, so the message names the first bad row and
    // the table is not touched.
    QSet<qint64> seen;
    for (const IntradayValue& v : values) {
        const QDateTime when = dateTimeFromNumber(v.ZEIT);
        // Times compare to the minute the list shows; two rows in one minute could
        // not be told apart there.
        const qint64 minute = qRound64(v.ZEIT * 24 * 60);
        if (seen.contains(minute))
            return Status::invalid(QStringLiteral("Der Zeitpunkt %1 kommt doppelt vor").arg(formatDateTime(when)));
        seen.insert(minute);
        if (v.Kurs <= 0)
            return Status::invalid(QStringLiteral("Der Kurs um %1 muss größer als 0 sein").arg(formatTime(when.time())));
    }
    auto table = store.table(kIntraday);
    if (!table) return table.status();
    Table& t = **table;
    Transaction tx(t.db());
    Q_TRY(tx.begin());
    auto removed = t.removeWhere(Query::detailOf(firma));
    if (!removed) return removed.status();
    for (const IntradayValue& v : values) {
        Record r = t.newRecord();
        r.set(QStringLiteral("Firma"), firma);
        r.set(QStringLiteral("ZEIT"), v.ZEIT);
        r.set(QStringLiteral("Kurs"), v.Kurs);
        if (v.Volumen) r.set(QStringLiteral("Volumen"), *v.Volumen);
        auto added = t.append(r);
        if (!added) return added.status();
    }
    return tx.commit();
}

}  // namespace q
