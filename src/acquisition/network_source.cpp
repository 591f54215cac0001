#include "acquisition/network_source.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "store/foreign_table.h"

#include <cmath>
#include <map>

namespace q {

Result<QStringList> Netzwerkladen(Store& store, const QString& installDir) {
    const QString path = findFile(store.dirs().data, QStringLiteral("intraday.db"));
    if (path.isEmpty()) return Status::notFound(kNoSharedIntraday);
    // Read-only: the other installation keeps writing it.
    auto shared = readForeignTable(path, {QStringLiteral("Firma"), QStringLiteral("ZEIT"), QStringLiteral("Kurs")});
    if (!shared) return shared.status();
    const auto column = [&](const char* name) {
        for (int i = 0; i < shared->fields.size(); ++i)
            if (shared->fields[i].compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return i;
        return -1;
    };
    const int f = column("Firma");
    const int z = column("ZEIT");
    const int k = column("Kurs");
    const int v = column("Volumen");
    struct Last {
        double zeit = -1;
        double kurs = 0;
        qint64 volumen = 0;
    };
    std::map<int, Last> last;
    for (const QVariantList& row : shared->rows) {
        Last& l = last[row.value(f).toInt()];
        const double zeit = row.value(z).toDouble();
        if (zeit >= l.zeit) l = {zeit, row.value(k).toDouble(), v >= 0 ? row.value(v).toLongLong() : 0};
    }
    auto firmen = store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    QStringList log;
    for (const auto& [firma, l] : last) {
        auto security = (*firmen)->findKey({firma});
        if (!security) return security.status();
        if (!security->has_value()) continue;
        const int day = int(std::floor(l.zeit));
        Query before = Query::detailOf(firma);
        before.rangeField = QStringLiteral("Datum");
        before.to = day - 1;
        before.reverse = true;
        auto previous = (*aktien)->first(before);
        if (!previous) return previous.status();
        const double old = previous->has_value() ? (*previous)->value(QStringLiteral("Kurs")).toDouble() : 0.0;
        log << (*security)->value(QStringLiteral("FirmenName")).toString() + QLatin1Char('\t') + formatAmount(l.kurs, 2) + QLatin1Char('\t') +
                   formatAmount(roundHalfEven(percentChange(l.kurs, old), 2), 2) + QStringLiteral("%\t") +
                   formatTime(dateTimeFromNumber(l.zeit).time()) + QLatin1Char('\t') + QString::number(l.volumen);
    }
    (void)writeTextLines(filePath(installDir, QStringLiteral("Intraday.txt")), log);
    return log;
}

}  // namespace q
