#include "overview/security_master.h"

#include "base/text_files.h"
#include "store/firma_hooks.h"

#include <unordered_map>

namespace q {

Result<SecurityRows> countSecurityRows(Store& store, int firma) {
    SecurityRows n;
    const Query detail = Query::detailOf(firma);
    const std::pair<const char*, qint64*> tables[] = {
        {"Aktien.db", &n.prices}, {"Volumen.db", &n.volumes}, {"Transaktionen.db", &n.bookings}};
    for (const auto& [file, count] : tables) {
        const QString f = QString::fromLatin1(file);
        if (!store.exists(f)) continue;
        auto t = store.table(f);
        if (!t) return t.status();
        auto c = (*t)->count(detail);
        if (!c) return c.status();
        *count = *c;
    }
    return n;
}

Result<int> addSecurity(Store& store, const NewSecurity& s, const QString& homeCurrency) {
    if (s.FirmenName.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Der Name fehlt"));
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    Record r = newSecurityRecord(**firma, homeCurrency);
    r.set(QStringLiteral("FirmenName"), s.FirmenName.trimmed());
    if (!s.Kennung.isEmpty()) r.set(QStringLiteral("Kennung"), s.Kennung.trimmed());
    if (!s.ISIN.isEmpty() && r.has(QStringLiteral("ISIN"))) r.set(QStringLiteral("ISIN"), s.ISIN.trimmed());
    if (!s.Ticker.isEmpty() && r.has(QStringLiteral("Ticker"))) r.set(QStringLiteral("Ticker"), s.Ticker.trimmed());
    if (!s.Internet.isEmpty()) r.set(QStringLiteral("Internet"), s.Internet.trimmed());
    r.set(QStringLiteral("Gruppe"), s.Gruppe);
    return appendSecurity(**firma, r);
}

Result<SecurityRows> deleteSecurityAsked(Store& store, int firma, Interaction& ui) {
    auto name = securityName(store, firma);
    if (!name) return name.status();
    auto rows = countSecurityRows(store, firma);
    if (!rows) return rows.status();
    const QString text = QStringLiteral("Wertpapier löschen?\n\n%1 wird mit %2 Kursen, %3 Volumen und %4 Buchungen gelöscht.")
                             .arg(*name)
                             .arg(rows->prices)
                             .arg(rows->volumes)
                             .arg(rows->bookings);
    if (ui.ask(QStringLiteral("Wertpapier löschen? "), text, Answer::No) != Answer::Yes)
        return Status::cancelled(QStringLiteral("%1 wurde nicht gelöscht").arg(*name));
    Q_TRY(deleteSecurity(store, firma));
    return *rows;
}

Status setFavourite(Store& store, int firma, bool on) {
    auto t = store.table(QStringLiteral("Firma.db"));
    if (!t) return t.status();
    auto row = (*t)->findKey({firma});
    if (!row) return row.status();
    if (!row->has_value()) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(firma));
    Record after = **row;
    after.set(QStringLiteral("Aktiv"), on);
    return (*t)->update(**row, after);
}

Result<std::optional<int>> findSecurityByName(Store& store, const QString& name) {
    auto t = store.table(QStringLiteral("Firma.db"));
    if (!t) return t.status();
    Query q;
    q.order = QStringLiteral("IFirma");
    q.equalNoCase.push_back({QStringLiteral("FirmenName"), name.trimmed()});
    q.limit = 1;
    auto row = (*t)->first(q);
    if (!row) return row.status();
    if (!row->has_value()) return std::optional<int>();
    return std::optional<int>((*row)->value(QStringLiteral("Firma")).toInt());
}

Status setStationName(Store& store, int firma, const QString& column, const QString& name) {
    auto t = store.table(QStringLiteral("Firma.db"));
    if (!t) return t.status();
    if (!(*t)->hasField(column)) return Status::notFound(QStringLiteral("Die Wertpapiertabelle hat keine Spalte \"%1\"").arg(column));
    auto row = (*t)->findKey({firma});
    if (!row) return row.status();
    if (!row->has_value()) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(firma));
    Record after = **row;
    after.set(column, name);
    Q_TRY((*t)->validate(after));
    return (*t)->update(**row, after);
}

Result<ExportCount> exportSecurities(Store& store, const std::vector<int>& firmen, const QStringList& stationNames,
                                     const QString& path) {
    auto t = store.table(QStringLiteral("Firma.db"));
    if (!t) return t.status();
    QStringList lines;
    QString header = QStringLiteral("Wertpapierbezeichnung\tWKN\tISIN\tTicker\t");
    for (int i = 0; i < 4; ++i) header += stationNames.value(i) + QLatin1Char('\t');
    lines << header;
    static const char* const kColumns[] = {"FirmenName", "Kennung", "ISIN", "Ticker", "ZDF", "N-TV", "SF1", "Sender4"};
    const auto line = [&](const Record& r) {
        QString text;
        for (const char* c : kColumns) text += r.value(QString::fromLatin1(c)).toString() + QLatin1Char('\t');
        return text;
    };
    if (firmen.empty()) {
        Query byWkn;
        byWkn.order = QStringLiteral("IWKN");
        Q_TRY((*t)->forEach(byWkn, [&](const Record& r) {
            if (r.value(QStringLiteral("Firma")).toInt() > 0) lines << line(r);
            return true;
        }));
    } else {
        std::unordered_map<int, QString> byNumber;
        Q_TRY((*t)->forEach(Query{}, [&](const Record& r) {
            byNumber.emplace(r.value(QStringLiteral("Firma")).toInt(), line(r));
            return true;
        }));
        for (int f : firmen)
            if (auto it = byNumber.find(f); it != byNumber.end()) lines << it->second;
    }
    Q_TRY(writeTextLines(path, lines));
    return ExportCount{int(lines.size()) - 1, unmappableCount(lines)};
}

}  // namespace q
