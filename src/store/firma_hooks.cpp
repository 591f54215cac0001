#include "store/firma_hooks.h"

#include "base/clock.h"
#include "base/formats.h"
#include "store/server_copy.h"

#include <algorithm>

namespace q {

Record newSecurityRecord(const Table& firma, const QString& homeCurrency) {
    Record r = firma.newRecord();
    r.set(QStringLiteral("Aktiv"), true);
    for (const char* f : {"Gruppe", "Branche", "Merkmal"})
        if (r.has(QString::fromLatin1(f))) r.set(QString::fromLatin1(f), 0);
    if (r.has(QStringLiteral("Waehrung"))) r.set(QStringLiteral("Waehrung"), homeCurrency);
    for (const char* f : {"Oberes_Limit", "Unteres_Limit"})
        if (r.has(QString::fromLatin1(f))) r.set(QString::fromLatin1(f), 0.0);
    return r;
}

void fillMatchTexts(Record& record) {
    const QString kennung = record.value(QStringLiteral("Kennung")).toString();
    const QString match = (kennung.isEmpty() ? record.value(QStringLiteral("FirmenName")).toString() : kennung).left(12);
    for (const char* f : {"ZDF", "N-TV", "SF1", "Sender4"}) {
        const QString field = QString::fromLatin1(f);
        if (record.has(field) && record.value(field).toString().isEmpty()) record.set(field, match);
    }
}

Result<int> appendSecurity(Table& firma, Record record) {
    fillMatchTexts(record);
    record.set(QStringLiteral("Firma"), QVariant());
    auto rowid = firma.append(record);
    if (!rowid) return rowid.status();
    return static_cast<int>(*rowid);
}

Status postSecurity(Table& firma, const Record& before, Record after) {
    fillMatchTexts(after);
    return firma.update(before, after);
}

Status deleteSecurity(Store& store, int firma) {
    const Query detail = Query::detailOf(firma);
    for (const char* file : {"Aktien.db", "Volumen.db", "Transaktionen.db"}) {
        const QString f = QString::fromLatin1(file);
        if (!store.exists(f)) continue;
        auto t = store.table(f);
        if (!t) return t.status();
        auto removed = (*t)->removeWhere(detail);
        if (!removed) return removed.status();
    }
    auto t = store.table(QStringLiteral("Firma.db"));
    if (!t) return t.status();
    auto removed = (*t)->removeWhere(detail);
    return removed ? Status::ok() : removed.status();
}

Result<int> findSecurity(Table& firma, const QString& text) {
    const QString wanted = text.trimmed();
    bool isNumber = false;
    const int number = wanted.toInt(&isNumber);
    QList<int> exact, folded;
    Q_TRY(firma.forEach(Query(), [&](const Record& r) {
        const int f = r.value(QStringLiteral("Firma")).toInt();
        const QString name = r.value(QStringLiteral("FirmenName")).toString();
        if (isNumber && f == number) {
            exact = {f};
            return false;
        }
        if (name == wanted) exact << f;
        else if (compareNoCase(name, wanted) == 0) folded << f;
        return true;
    }));
    const QList<int>& found = exact.isEmpty() ? folded : exact;
    if (found.isEmpty()) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(wanted));
    if (found.size() > 1) {
        QStringList numbers;
        for (int f : found) numbers << QString::number(f);
        return Status::invalid(QStringLiteral("Der Name \"%1\" passt auf mehrere Wertpapiere (%2)")
                                   .arg(wanted, numbers.join(QStringLiteral(", "))));
    }
    return found.first();
}

Result<QString> securityName(Store& store, int firma) {
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) return table.status();
    auto found = (*table)->findKey({firma});
    if (!found) return found.status();
    if (!found->has_value()) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(firma));
    return (*found)->value(QStringLiteral("FirmenName")).toString();
}

Result<QDate> nextPriceDate(Table& aktien, int firma) {
    Query q = Query::detailOf(firma);
    q.reverse = true;
    auto last = aktien.first(q);
    if (!last) return last.status();
    const QDate base = last->has_value() ? dateFromDayNumber((*last)->value(QStringLiteral("Datum")).toDouble()) : today();
    return base.addDays(base.dayOfWeek() == Qt::Friday ? 3 : 1);
}

}  // namespace q

namespace q {

qint64 numberCounter(const QString& path) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return 0;
    auto st = (*db)->prepare(QStringLiteral(
        "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name='Firma'), 0), coalesce((SELECT max(\"Firma\") FROM \"Firma\"), 0))"));
    if (!st) return 0;
    auto r = st->step();
    return (r && *r) ? st->columnInt(0) : 0;
}

qint64 numberCounter(Table& firma) {
    Database& db = firma.db();
    if (!db.onServer()) return numberCounter(db.path());
    // The key's sequence, or the highest number there when rows came with their own.
    auto counter = serverKeyCounter(*db.server(), db.schema(), firma.layout());
    Query highest;
    highest.reverse = true;
    auto last = firma.first(highest);
    const qint64 top = last && last->has_value() ? (*last)->value(QStringLiteral("Firma")).toLongLong() : 0;
    return std::max(counter && *counter ? **counter : 0, top);
}

Status raiseNumberCounter(const QString& path, qint64 counter) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    Transaction tx(**db);
    Q_TRY(tx.begin());
    auto up = (*db)->prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = 'Firma' AND seq < ?"));
    if (!up) return up.status();
    up->bind(1, counter);
    up->bind(2, counter);
    Q_TRY(up->run());
    if ((*db)->changes() == 0) {
        auto ins = (*db)->prepare(QStringLiteral(
            "INSERT INTO sqlite_sequence (name, seq) SELECT 'Firma', ? WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = 'Firma')"));
        if (!ins) return ins.status();
        ins->bind(1, counter);
        Q_TRY(ins->run());
    }
    return tx.commit();
}

}  // namespace q
