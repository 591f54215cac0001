#include "store/upgrades.h"

#include "store/schema.h"

namespace q {

namespace {

struct Upgrade {
    const char* field;
    const char* message;
};

const Upgrade kFirmaUpgrades[] = {
    {"Branche", "Datenbank wurde umstrukturiert! Sie könne den Wertpapieren Branchen zuordnen"},
    {"Oberes_Limit", "Datenbank wurde umstrukturiert! Sie könne den Wertpapieren Limits zuordnen"},
    {"Merkmal", "Datenbank wurde umstrukturiert! Sie könne den weitere Selektionen zuordnen"},
    {"Aktienzahl", "Datenbank wurde umstrukturiert! Jetzt können Sie Fundamentaldaten erfassen und übers Internet aktualisieren"},
    {"ISIN", "Datenbank wurde umstrukturiert! Jetzt kan zu jedem Wertpapier die ISIN und das Tickersymbol erfassen und übers Internet aktualisieren"},
};

Status copyRows(Database& db, const QString& from, const std::vector<Field>& oldFields, const Layout& target,
                const FieldMap& map, bool skipBadRows) {
    QStringList cols;
    for (const Field& f : oldFields) cols << quoted(f.name);
    auto read = db.prepare(QStringLiteral("SELECT %1 FROM %2").arg(cols.join(QLatin1Char(',')), quoted(from)));
    if (!read) return read.status();
    QStringList names, marks;
    for (const Field& f : target.fields) {
        names << quoted(f.name);
        marks << QStringLiteral("?");
    }
    auto write = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(quoted(target.table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    if (!write) return write.status();
    // The old column of each new field, or -1 when the old table lacks it.
    std::vector<int> source;
    for (const Field& f : target.fields) {
        int old = -1;
        for (int j = 0; j < static_cast<int>(oldFields.size()); ++j)
            if (oldFields[j].name.compare(f.name, Qt::CaseInsensitive) == 0) old = j;
        source.push_back(old);
    }
    for (;;) {
        auto r = read->step();
        if (!r) return r.status();
        if (!*r) break;
        for (int i = 0; i < static_cast<int>(target.fields.size()); ++i) {
            const int old = source[i];
            write->bind(i + 1, map(target.fields[i].name, old >= 0 ? read->column(old) : QVariant(), old >= 0));
        }
        // A record that cannot be written (a key collision, a value too long) is
        // skipped where the upgrade allows it; the statement's failure undoes only
        // that record.
        auto w = write->step();
        write->reset();
        if (!w && (!skipBadRows || w.status().category() != Category::Invalid)) return w.status();
    }
    return Status::ok();
}

// The number counter of an autoincrement key of `table`; 0 when there is none.
Result<qint64> sequenceOf(Database& db, const QString& table) {
    auto known = db.texts(QStringLiteral("SELECT name FROM sqlite_master WHERE name='sqlite_sequence'"));
    if (!known) return known.status();
    if (known->isEmpty()) return qint64(0);
    auto seq = db.texts(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=?"), {table});
    if (!seq) return seq.status();
    return seq->isEmpty() ? qint64(0) : seq->first().toLongLong();
}

}  // namespace

Status rebuildTable(Database& db, const std::vector<Field>& oldFields, const Layout& target, const QString& temporary,
                    const FieldMap& map, bool skipBadRows) {
    auto counter = sequenceOf(db, target.table);
    if (!counter) return counter.status();
    Layout beside = target;
    beside.table = temporary;
    Q_TRY(db.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoted(temporary))));
    // The table first, its indexes after the rename: the old table's indexes still
    // hold the names until it is dropped.
    Q_TRY(db.exec(createStatements(beside).first()));
    Q_TRY(copyRows(db, target.table, oldFields, beside, map, skipBadRows));
    Q_TRY(db.exec(QStringLiteral("DROP TABLE %1").arg(quoted(target.table))));
    Q_TRY(db.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(quoted(temporary), quoted(target.table))));
    for (const QString& index : createStatements(target).mid(1)) Q_TRY(db.exec(index));
    // Dropping the old table dropped its counter too; the copy counted only up to the
    // highest number left, and a deleted security's number must stay used.
    if (*counter > 0 && target.autoNumberKey) {
        auto keep = db.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?"),
                               {*counter, target.table});
        if (!keep) return keep.status();
        Q_TRY(keep->run());
    }
    return Status::ok();
}

Status FirmaUpdate(Database& db, Interaction& ui) {
    if (ui.ask(QStringLiteral("Datenbank Umstrukturierung"),
               QStringLiteral("Wertpapierdatenbank muss umstrukturiert werden, damit neue Funktionen integriert werden können. "
                              "Sind alle anderen Quintara Anwendungen geschlossen?"),
               Answer::No) != Answer::Yes)
        return Status::cancelled();
    auto oldFields = tableFields(db, QStringLiteral("Firma"));
    if (!oldFields) return oldFields.status();
    Transaction tx(db);
    Q_TRY(tx.begin());
    Q_TRY(rebuildTable(db, *oldFields, layoutFor(TableKind::Firma, QStringLiteral("Firma")), QStringLiteral("Firmaup"),
                       [](const QString& field, const QVariant& old, bool present) -> QVariant {
                           if (!present) {
                               if (field == QLatin1String("Branche") || field == QLatin1String("Merkmal")) return 0;
                               return QVariant();
                           }
                           if (field == QLatin1String("Memo") && old.typeId() == QMetaType::QByteArray) {
                               const QByteArray bytes = old.toByteArray();
                               const QString text = QString::fromUtf8(bytes);
                               if (text.toUtf8() != bytes) return QStringLiteral("Musste entfernt werden");
                               return text;
                           }
                           return old;
                       },
                       true));
    return tx.commit();
}

Status upgradeFirma(const QString& path, Interaction& ui, bool* rebuilt) {
    if (rebuilt) *rebuilt = false;
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    for (const Upgrade& u : kFirmaUpgrades) {
        auto fields = tableFields(**db, QStringLiteral("Firma"));
        if (!fields) return fields.status();
        if (hasField(*fields, QString::fromLatin1(u.field))) continue;
        Q_TRY(FirmaUpdate(**db, ui));
        if (rebuilt) *rebuilt = true;
        ui.tell(QString::fromUtf8(u.message));
    }
    return Status::ok();
}

Result<std::optional<double>> upgradeWaehrung(const QString& path, const CurrencySettings& settings) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    return upgradeWaehrung(**db, settings);
}

Result<std::optional<double>> upgradeWaehrung(Database& db, const CurrencySettings& settings) {
    auto fields = tableFields(db, QStringLiteral("Waehrung"));
    if (!fields) return fields.status();
    const bool hasMultiplikator = hasField(*fields, QStringLiteral("Multiplikator"));
    const bool hasEinheit = hasField(*fields, QStringLiteral("Einheit"));

    std::optional<double> factor;
    if (!settings.waehrung.isEmpty() && settings.wechselkurs) {
        factor = *settings.wechselkurs;
        auto find = db.prepare(QStringLiteral("SELECT \"Faktor\" FROM \"Waehrung\" WHERE \"Symbol\" = ?"));
        if (!find) return find.status();
        find->bind(1, settings.waehrung);
        auto found = find->step();
        if (!found) return found.status();
        if (*found) {
            factor = find->columnDouble(0);
        } else {
            QString sql = QStringLiteral("INSERT INTO \"Waehrung\" (\"Name\", \"Symbol\", \"Faktor\"%1) VALUES (?, ?, ?%2)")
                              .arg(QString(hasMultiplikator ? QStringLiteral(", \"Multiplikator\"") : QString()) +
                                       (hasEinheit ? QStringLiteral(", \"Einheit\"") : QString()),
                                   QString(hasMultiplikator ? QStringLiteral(", ?") : QString()) +
                                       (hasEinheit ? QStringLiteral(", ?") : QString()));
            auto add = db.prepare(sql);
            if (!add) return add.status();
            add->bind(1, (settings.waehrung + QStringLiteral(">>") + settings.homeSymbol).left(40));
            add->bind(2, settings.waehrung.left(5));
            add->bind(3, *settings.wechselkurs);
            // Bound, not written out: a boolean column on the server takes no integer literal.
            int next = 4;
            if (hasMultiplikator) add->bind(next++, true);
            if (hasEinheit) add->bind(next++, 1.0);
            Q_TRY(add->run());
        }
    }
    if (hasMultiplikator && hasEinheit) return factor;

    const Layout target = layoutFor(TableKind::Waehrung, QStringLiteral("Waehrung"));
    Transaction tx(db);
    Q_TRY(tx.begin());
    Q_TRY(db.exec(QStringLiteral("DROP TABLE IF EXISTS \"Waehrung_Alt\"")));
    Q_TRY(db.exec(QStringLiteral("ALTER TABLE \"Waehrung\" RENAME TO \"Waehrung_Alt\"")));
    Q_TRY(createTableIn(db, target, seedRows(TableKind::Waehrung, QStringLiteral("Waehrung.db"), QString())));
    // The old "keine Währung" row collides with the new seed row and is skipped.
    Q_TRY(copyRows(db, QStringLiteral("Waehrung_Alt"), *fields, target,
                   [](const QString& field, const QVariant& old, bool present) -> QVariant {
                       if (present) return old;
                       if (field == QLatin1String("Multiplikator")) return true;
                       if (field == QLatin1String("Einheit")) return 1.0;
                       return QVariant();
                   },
                   true));
    Q_TRY(db.exec(QStringLiteral("DROP TABLE \"Waehrung_Alt\"")));
    Q_TRY(tx.commit());
    return factor;
}

}  // namespace q
