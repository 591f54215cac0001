#include "overview/classifications.h"

#include "overview/security_master.h"
#include "store/firma_hooks.h"

namespace q {

namespace {

Result<Table*> tableOf(Store& store, Classification c) {
    const QString file = classificationFile(c);
    Q_TRY(store.ensure(file));
    return store.table(file);
}

Result<std::vector<Record>> rowsOf(Table& t) { return t.rows(Query{}); }

Status checkPlace(const std::vector<Record>& rows, int index) {
    if (index < 0 || index >= int(rows.size()))
        return Status::invalid(QStringLiteral("Einen Eintrag an Stelle %1 gibt es nicht (0 bis %2)").arg(index).arg(int(rows.size()) - 1));
    return Status::ok();
}

QString cut(Table& t, const QString& name) {
    const Field* f = t.layout().field(QStringLiteral("GruppenName"));
    return f && f->size > 0 ? name.trimmed().left(f->size) : name.trimmed();
}

}  // namespace

QString classificationFile(Classification c) {
    switch (c) {
    case Classification::Gruppen: return QStringLiteral("Gruppen.db");
    case Classification::Branchen: return QStringLiteral("Branchen.db");
    case Classification::Merkmale: return QStringLiteral("Merkmal.db");
    }
    return {};
}

QString classificationField(Classification c) {
    switch (c) {
    case Classification::Gruppen: return QStringLiteral("Gruppe");
    case Classification::Branchen: return QStringLiteral("Branche");
    case Classification::Merkmale: return QStringLiteral("Merkmal");
    }
    return {};
}

Result<std::vector<ClassEntry>> readClassification(Store& store, Classification c) {
    auto t = tableOf(store, c);
    if (!t) return t.status();
    std::vector<ClassEntry> out;
    Q_TRY((*t)->forEach(Query{}, [&](const Record& r) {
        out.push_back({r.rowid, r.value(QStringLiteral("GruppenIndex")).toInt(), r.value(QStringLiteral("GruppenName")).toString()});
        return true;
    }));
    return out;
}

Result<int> classificationNumber(Store& store, Classification c, const QString& name) {
    auto entries = readClassification(store, c);
    if (!entries) return entries.status();
    QStringList names;
    for (const ClassEntry& e : *entries) {
        if (e.GruppenName.trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0) return e.GruppenIndex;
        names << e.GruppenName;
    }
    const QString what = c == Classification::Gruppen ? QStringLiteral("Die Gruppe")
                         : c == Classification::Branchen ? QStringLiteral("Die Branche")
                                                         : QStringLiteral("Das Merkmal");
    return Status::notFound(QStringLiteral("%1 \"%2\" gibt es nicht (%3)").arg(what, name, names.join(QStringLiteral(", "))));
}

Result<int> addClassification(Store& store, Classification c, const QString& name) {
    if (name.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Der Name fehlt"));
    auto t = tableOf(store, c);
    if (!t) return t.status();
    auto rows = rowsOf(**t);
    if (!rows) return rows.status();
    int highest = 0;
    for (const Record& r : *rows) highest = std::max(highest, r.value(QStringLiteral("GruppenIndex")).toInt());
    const int number = highest + 1;
    Record r = (*t)->newRecord();
    r.set(QStringLiteral("GruppenIndex"), number);
    r.set(QStringLiteral("GruppenName"), cut(**t, name));
    auto appended = (*t)->append(r);
    if (!appended) return appended.status();
    return number;
}

Status renameClassification(Store& store, Classification c, int index, const QString& name) {
    if (name.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Der Name fehlt"));
    auto t = tableOf(store, c);
    if (!t) return t.status();
    auto rows = rowsOf(**t);
    if (!rows) return rows.status();
    Q_TRY(checkPlace(*rows, index));
    Record after = (*rows)[size_t(index)];
    after.set(QStringLiteral("GruppenName"), cut(**t, name));
    return (*t)->update((*rows)[size_t(index)], after);
}

Result<int> moveClassification(Store& store, Classification c, int index, bool up) {
    auto t = tableOf(store, c);
    if (!t) return t.status();
    auto rows = rowsOf(**t);
    if (!rows) return rows.status();
    Q_TRY(checkPlace(*rows, index));
    const int other = up ? index - 1 : index + 1;
    if (other < 0 || other >= int(rows->size())) return index;
    const Record& a = (*rows)[size_t(index)];
    const Record& b = (*rows)[size_t(other)];
    // Each row takes the other's values and keeps its rowid, its place.
    Record newA = a, newB = b;
    newA.values() = b.values();
    newB.values() = a.values();
    Transaction tx((*t)->db());
    Q_TRY(tx.begin());
    Q_TRY((*t)->update(a, newA));
    Q_TRY((*t)->update(b, newB));
    Q_TRY(tx.commit());
    return other;
}

Result<ClassDeletion> deleteClassification(Store& store, Classification c, int index, Interaction& ui) {
    auto t = tableOf(store, c);
    if (!t) return t.status();
    auto rows = rowsOf(**t);
    if (!rows) return rows.status();
    Q_TRY(checkPlace(*rows, index));
    const Record row = (*rows)[size_t(index)];
    ClassDeletion d;
    d.GruppenIndex = row.value(QStringLiteral("GruppenIndex")).toInt();
    d.name = row.value(QStringLiteral("GruppenName")).toString();
    if (d.GruppenIndex == 0)
        return Status::invalid(QStringLiteral("Der Eintrag \"%1\" (0) steht für alle und kann nicht gelöscht werden").arg(d.name));

    auto firmen = store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    const QString field = classificationField(c);
    std::vector<Record> members;
    Q_TRY((*firmen)->forEach(Query{}, [&](const Record& r) {
        if (r.value(field).toInt() == d.GruppenIndex) members.push_back(r);
        return true;
    }));
    d.securities = int(members.size());

    Q_TRY((*t)->remove(row));
    if (members.empty()) return d;

    SecurityRows counts;
    for (const Record& r : members) {
        auto n = countSecurityRows(store, r.value(QStringLiteral("Firma")).toInt());
        if (!n) return n.status();
        counts += *n;
    }
    const QString question = c == Classification::Gruppen    ? QStringLiteral("Löschen aller Wertpapiere in dieser Gruppe????")
                             : c == Classification::Branchen ? QStringLiteral("Löschen aller Wertpapiere in dieser Branche????")
                                                             : QStringLiteral("Löschen aller Wertpapiere mit diesem Merkmal????");
    const QString detail = QStringLiteral("\n\nJa löscht %1 Wertpapiere mit %2 Kursen, %3 Volumen und %4 Buchungen; "
                                          "Nein nimmt ihnen nur die Zuordnung.")
                               .arg(d.securities)
                               .arg(counts.prices)
                               .arg(counts.volumes)
                               .arg(counts.bookings);
    if (ui.ask(QStringLiteral("Alle Löschen??"), question + detail, Answer::No) == Answer::Yes) {
        for (const Record& r : members) Q_TRY(deleteSecurity(store, r.value(QStringLiteral("Firma")).toInt()));
        d.securitiesDeleted = true;
        d.prices = counts.prices;
        d.volumes = counts.volumes;
        d.bookings = counts.bookings;
        return d;
    }
    Transaction tx((*firmen)->db());
    Q_TRY(tx.begin());
    for (const Record& r : members) {
        Record after = r;
        after.set(field, 0);
        Q_TRY((*firmen)->update(r, after));
    }
    Q_TRY(tx.commit());
    return d;
}

}  // namespace q
