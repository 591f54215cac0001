#include "acquisition/manual_entry.h"

#include "base/formats.h"
#include "base/price_bounds.h"
#include "store/firma_hooks.h"

namespace q {

Result<std::optional<double>> priceOfDay(Store& store, int firma, const QDate& datum) {
    auto name = securityName(store, firma);
    if (!name) return name.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto found = (*aktien)->findKey({firma, dayNumber(datum)});
    if (!found) return found.status();
    if (!found->has_value()) return std::optional<double>();
    return std::optional<double>((*found)->value(QStringLiteral("Kurs")).toDouble());
}

Result<ManualEntryResult> enterPrice(Store& store, int firma, const QDate& datum, double kurs, bool overwrite) {
    if (!(kurs > 0)) return Status::invalid(QStringLiteral("Der Kurs muss größer als 0 sein"));
    if (const QString why = priceRefusal(kurs, datum); !why.isEmpty())
        return Status::invalid(QStringLiteral("Der Kurs %1 vom %2 wird nicht gebucht: %3").arg(formatGeneral(kurs), formatDate(datum), why));
    auto name = securityName(store, firma);
    if (!name) return name.status();
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Table& t = **aktien;
    auto found = t.findKey({firma, dayNumber(datum)});
    if (!found) return found.status();
    ManualEntryResult out{*name, std::nullopt};
    if (found->has_value()) {
        const double before = (*found)->value(QStringLiteral("Kurs")).toDouble();
        if (!overwrite)
            return Status::invalid(QStringLiteral("Für %1 gibt es am %2 schon den Kurs %3").arg(*name, formatDate(datum), formatGeneral(before)));
        Record after = **found;
        after.set(QStringLiteral("Kurs"), kurs);
        Q_TRY(t.update(**found, after));
        out.replaced = before;
        return out;
    }
    Record r = t.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    r.set(QStringLiteral("Datum"), dayNumber(datum));
    r.set(QStringLiteral("Kurs"), kurs);
    auto appended = t.append(r);
    if (!appended) return appended.status();
    return out;
}

}  // namespace q
