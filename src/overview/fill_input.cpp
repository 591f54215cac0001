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

namespace {

// The master's fields in the order the reader reads them.
constexpr const char* kSecurityFields[] = {"Firma", "FirmenName", "Aktiv", "Kennung", "ZDF", "Waehrung", "Gruppe",
                                           "Branche", "Merkmal", "Dividende", "Gewinn", "CashFlow", "Aktienzahl",
                                           "Oberes_Limit", "Unteres_Limit", "Internet", "Memo", "ISIN", "Ticker"};

}  // namespace

SecurityReader::SecurityReader(const Layout& layout) {
    for (const char* f : kSecurityFields) m_index.push_back(layout.fieldIndex(QString::fromLatin1(f)));
}

SecurityRecord SecurityReader::read(const Record& r) const {
    const QVariantList& v = r.values();
    const auto at = [&](size_t i) { return m_index[i] >= 0 && m_index[i] < v.size() ? v[m_index[i]] : QVariant(); };
    SecurityRecord s;
    s.Firma = integerOf(at(0));
    s.FirmenName = at(1).toString();
    s.Aktiv = at(2).toBool();
    s.Kennung = at(3).toString();
    s.ZDF = at(4).toString();
    s.Waehrung = at(5).toString();
    s.Gruppe = integerOf(at(6));
    s.Branche = integerOf(at(7));
    s.Merkmal = integerOf(at(8));
    s.Dividende = numberOf(at(9));
    s.Gewinn = numberOf(at(10));
    s.CashFlow = numberOf(at(11));
    s.Aktienzahl = numberOf(at(12));
    s.Oberes_Limit = numberOf(at(13));
    s.Unteres_Limit = numberOf(at(14));
    s.Internet = at(15).toString();
    s.Memo = at(16).toString();
    s.ISIN = at(17).toString();
    s.Ticker = at(18).toString();
    s.hasFundamentals = m_index[12] >= 0;
    return s;
}

SecurityRecord securityFromRecord(const Record& r) {
    if (!r.layout()) return {};
    return SecurityReader(*r.layout()).read(r);
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
