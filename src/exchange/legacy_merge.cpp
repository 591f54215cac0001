#include "exchange/legacy_merge.h"

#include "store/bulk_insert.h"
#include "store/firma_hooks.h"
#include "store/merge_lookup.h"

#include <QSet>

namespace q {

namespace {

// A refused row counts as skipped with the store's reason; any other failure ends
// the table's transaction.
Status skipOrFail(const Status& s, MergeCount& count) {
    if (s.category() != Category::Invalid) return s;
    count.skip(s.message());
    return Status::ok();
}

bool sameRows(const std::vector<QVariantList>& a, const std::vector<Row>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].value(0).toLongLong() != b[i].value(0).toLongLong() || a[i].value(1).toString() != b[i].value(1).toString())
            return false;
    return true;
}

}  // namespace

QString LegacyMerge::unknownSecurity() { return QStringLiteral("Wertpapier fehlt in der alten Wertpapiertabelle"); }

std::optional<int> LegacyMerge::number(qint64 old) const {
    auto it = m_numbers.find(old);
    return it == m_numbers.end() ? std::nullopt : std::optional<int>(*it);
}

bool LegacyMerge::renumber(const Table& table, QVariantList& row) const {
    const int field = table.layout().fieldIndex(QStringLiteral("Firma"));
    if (field < 0 || row[field].isNull()) return true;
    const auto n = number(row[field].toLongLong());
    if (!n) return false;
    row[field] = *n;
    return true;
}

Status LegacyMerge::mergeFirma(Table& firma, const RowSource& rows, MergeCount& count) {
    // The names as they stood before the import, exact and folded.
    QHash<QString, int> exact;
    QHash<QString, QList<int>> folded;
    Q_TRY(firma.forEach(Query(), [&](const Record& r) {
        const QString name = r.value(QStringLiteral("FirmenName")).toString();
        exact.insert(name, r.value(QStringLiteral("Firma")).toInt());
        folded[foldText(name)] << r.value(QStringLiteral("Firma")).toInt();
        return true;
    }));
    qint64 counter = numberCounter(firma);
    QSet<QString> seen;
    const int numberField = firma.layout().fieldIndex(QStringLiteral("Firma"));
    const int nameField = firma.layout().fieldIndex(QStringLiteral("FirmenName"));

    Transaction tx(firma.db());
    Q_TRY(tx.begin());
    Q_TRY(rows([&](QVariantList& row) -> Status {
        const QVariant old = row.value(numberField);
        const QString name = row.value(nameField).toString();
        if (old.isNull() || name.isEmpty()) {
            count.skip(QStringLiteral("Wertpapier ohne Nummer oder Name"));
            return Status::ok();
        }
        if (seen.contains(name)) {
            count.skip(QStringLiteral("Name kommt in der alten Wertpapiertabelle doppelt vor"));
            return Status::ok();
        }
        seen.insert(name);
        std::optional<int> match;
        if (auto it = exact.find(name); it != exact.end()) match = *it;
        else if (const QList<int> same = folded.value(foldText(name)); same.size() == 1) match = same.first();
        if (match) {
            m_numbers.insert(old.toLongLong(), *match);
            ++count.existing;
            return Status::ok();
        }
        const qint64 wanted = old.toLongLong() > counter ? old.toLongLong() : counter + 1;
        Record record = firma.newRecord();
        for (int i = 0; i < record.values().size() && i < row.size(); ++i) record.values()[i] = row[i];
        record.values()[numberField] = wanted;
        auto added = firma.append(record);
        if (!added) return skipOrFail(added.status(), count);
        counter = wanted;
        m_numbers.insert(old.toLongLong(), static_cast<int>(wanted));
        ++count.added;
        return Status::ok();
    }));
    return tx.commit();
}

Status LegacyMerge::mergeRows(TableKind kind, Table& table, const std::vector<Row>& seed, const RowSource& rows,
                              MergeCount& count) {
    switch (kind) {
    case TableKind::Gruppen:
    case TableKind::Branchen:
    case TableKind::Merkmal: return mergeList(table, seed, rows, count);
    case TableKind::Transaktionen:
    case TableKind::Seiten: {
        QStringList all;
        for (const Field& f : table.layout().fields) all << f.name;
        return mergeByFields(table, all, false, rows, count);
    }
    case TableKind::Nachrichten:
        return mergeByFields(table, {QStringLiteral("ZEIT"), QStringLiteral("Nachricht"), QStringLiteral("Firma")}, true, rows,
                             count);
    default: return mergeByKey(table, rows, count);
    }
}

Status LegacyMerge::mergeByKey(Table& table, const RowSource& rows, MergeCount& count) {
    BulkInsert load(table, BulkInsert::OnDuplicate::Ignore);
    Q_TRY(load.begin());
    qint64 offered = 0;
    Q_TRY(rows([&](QVariantList& row) -> Status {
        if (!renumber(table, row)) {
            count.skip(unknownSecurity());
            return Status::ok();
        }
        if (Status s = load.add(row); !s) return skipOrFail(s, count);
        ++offered;
        return Status::ok();
    }));
    Q_TRY(load.commit());
    count.added = load.added();
    count.existing = offered - load.added();
    return Status::ok();
}

Status LegacyMerge::mergeByFields(Table& table, const QStringList& identity, bool renumberKey, const RowSource& rows,
                                  MergeCount& count) {
    const Layout& layout = table.layout();
    std::vector<int> fields;
    for (const QString& name : identity)
        if (const int i = layout.fieldIndex(name); i >= 0) fields.push_back(i);
    const QString key = layout.primaryFields.value(0);
    const int keyField = layout.fieldIndex(key);

    // Each row is looked for among the rows there and those added before it.
    BulkInsert load(table, BulkInsert::OnDuplicate::Fail, true);
    Q_TRY(load.begin());
    auto lookup = MergeLookup::prepare(table, fields, renumberKey && keyField >= 0 ? key : QString());
    if (!lookup) return lookup.status();
    qint64 last = lookup->highestKey();

    Q_TRY(rows([&](QVariantList& row) -> Status {
        if (!renumber(table, row)) {
            count.skip(unknownSecurity());
            return Status::ok();
        }
        auto found = lookup->hasSameRow(row);
        if (!found) return found.status();
        if (*found) {
            ++count.existing;
            return Status::ok();
        }
        if (renumberKey && keyField >= 0) {
            auto used = lookup->keyTaken(row[keyField]);
            if (!used) return used.status();
            if (*used || row[keyField].isNull()) row[keyField] = ++last;
            else last = std::max(last, row[keyField].toLongLong());
        }
        if (Status s = load.add(row); !s) return skipOrFail(s, count);
        return Status::ok();
    }));
    Q_TRY(load.commit());
    count.added = load.added();
    return Status::ok();
}

Status LegacyMerge::mergeList(Table& table, const std::vector<Row>& seed, const RowSource& rows, MergeCount& count) {
    std::vector<QVariantList> current, old;
    Q_TRY(table.forEach(Query(), [&](const Record& r) {
        current.push_back(r.values());
        return true;
    }));
    Q_TRY(rows([&](QVariantList& row) -> Status {
        old.push_back(row);
        return Status::ok();
    }));
    std::vector<Row> oldRows(old.begin(), old.end());
    if (sameRows(current, oldRows)) {
        count.existing = static_cast<qint64>(old.size());
        return Status::ok();
    }
    // A list nobody has changed yet is the seed; the old list replaces it whole.
    const bool replace = sameRows(current, seed);
    QSet<qint64> numbers;
    if (!replace)
        for (const QVariantList& r : current) numbers.insert(r.value(0).toLongLong());
    BulkInsert load(table);
    Q_TRY(load.begin());
    if (replace) {
        auto removed = table.removeWhere(Query());
        if (!removed) return removed.status();
    }
    for (const QVariantList& r : old) {
        if (numbers.contains(r.value(0).toLongLong())) {
            ++count.existing;
            continue;
        }
        numbers.insert(r.value(0).toLongLong());
        if (Status s = load.add(r); !s) Q_TRY(skipOrFail(s, count));
    }
    Q_TRY(load.commit());
    count.added = load.added();
    return Status::ok();
}

}  // namespace q
