#include "overview/fill_input.h"

#include "base/formats.h"

#include <cmath>

namespace q {

namespace {

double numberOf(const QVariant& v) {
    bool ok = false;
    const double x = v.toDouble(&ok);
    return ok && std::isfinite(x) ? x : 0.0;
}

int integerOf(const QVariant& v) {
    bool ok = false;
    const int x = v.toInt(&ok);
    return ok ? x : 0;
}

}  // namespace

SecurityRecord securityFromRecord(const Record& r) {
    SecurityRecord s;
    s.Firma = integerOf(r.value(QStringLiteral("Firma")));
    s.FirmenName = r.value(QStringLiteral("FirmenName")).toString();
    s.Aktiv = r.value(QStringLiteral("Aktiv")).toBool();
    s.Kennung = r.value(QStringLiteral("Kennung")).toString();
    s.ZDF = r.value(QStringLiteral("ZDF")).toString();
    s.Waehrung = r.value(QStringLiteral("Waehrung")).toString();
    s.Gruppe = integerOf(r.value(QStringLiteral("Gruppe")));
    s.Branche = integerOf(r.value(QStringLiteral("Branche")));
    s.Merkmal = integerOf(r.value(QStringLiteral("Merkmal")));
    s.Dividende = numberOf(r.value(QStringLiteral("Dividende")));
    s.Gewinn = numberOf(r.value(QStringLiteral("Gewinn")));
    s.CashFlow = numberOf(r.value(QStringLiteral("CashFlow")));
    s.Aktienzahl = numberOf(r.value(QStringLiteral("Aktienzahl")));
    s.Oberes_Limit = numberOf(r.value(QStringLiteral("Oberes_Limit")));
    s.Unteres_Limit = numberOf(r.value(QStringLiteral("Unteres_Limit")));
    s.Internet = r.value(QStringLiteral("Internet")).toString();
    s.Memo = r.value(QStringLiteral("Memo")).toString();
    s.hasFundamentals = r.has(QStringLiteral("Aktienzahl"));
    return s;
}

Result<SecurityRecord> readSecurity(Store& store, int firma) {
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) return table.status();
    auto row = (*table)->findKey({firma});
    if (!row) return row.status();
    if (!row->has_value()) return Status::notFound(QStringLiteral("Wertpapier %1 nicht gefunden").arg(firma));
    return securityFromRecord(**row);
}

Result<FillInput> readFillInput(Store& store, const SecurityRecord& security, const QDate& volumesFrom) {
    FillInput in;
    in.security = security;
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Table& prices = **aktien;
    in.hasGlD = prices.hasField(QStringLiteral("GlD"));
    const int datum = prices.layout().fieldIndex(QStringLiteral("Datum"));
    const int kurs = prices.layout().fieldIndex(QStringLiteral("Kurs"));
    const int gld = prices.layout().fieldIndex(QStringLiteral("GlD"));
    Q_TRY(prices.forEach(Query::detailOf(security.Firma), [&](const Record& r) {
        const QVariantList& v = r.values();
        in.prices.push_back({static_cast<int>(numberOf(v[datum])), numberOf(v[kurs]), gld >= 0 ? numberOf(v[gld]) : 0.0});
        return true;
    }));

    if (store.exists(QStringLiteral("Volumen.db"))) {
        auto volumen = store.table(QStringLiteral("Volumen.db"));
        if (!volumen) return volumen.status();
        Query q = Query::detailOf(security.Firma);
        if (volumesFrom.isValid()) {
            q.rangeField = QStringLiteral("Datum");
            q.from = dayNumber(volumesFrom);
        }
        const int vd = (*volumen)->layout().fieldIndex(QStringLiteral("Datum"));
        const int vv = (*volumen)->layout().fieldIndex(QStringLiteral("Volumen"));
        Q_TRY((*volumen)->forEach(q, [&](const Record& r) {
            const QVariantList& v = r.values();
            in.volumes.push_back({static_cast<int>(numberOf(v[vd])), v[vv].toLongLong()});
            return true;
        }));
    }

    if (store.exists(kLots)) {
        auto lots = store.table(kLots);
        if (!lots) return lots.status();
        auto read = lotsOf(**lots, security.Firma);
        if (!read) return read.status();
        in.lots = std::move(*read);
    }
    return in;
}

}  // namespace q
