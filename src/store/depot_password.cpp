#include "store/depot_password.h"

#include "store/database.h"
#include "store/layout.h"

namespace q {

namespace {

const QString kCreate = QStringLiteral("CREATE TABLE IF NOT EXISTS \"Passwort\" (\"Salz\" TEXT, \"Hash\" TEXT, \"Runden\" INTEGER)");

}  // namespace

Layout passwordTableLayout() {
    Layout l;
    l.table = kPasswordTable;
    l.fields = {{QStringLiteral("Salz"), FieldType::Memo}, {QStringLiteral("Hash"), FieldType::Memo}, {QStringLiteral("Runden"), FieldType::Long}};
    return l;
}

QString passwordTableStatement() { return kCreate; }

Result<std::optional<StoredPassword>> readStoredPassword(const QString& path) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    return readStoredPassword(**db);
}

Result<std::optional<StoredPassword>> readStoredPassword(Database& db) {
    auto tables = db.tableNames();
    if (!tables) return tables.status();
    if (!tables->contains(QStringLiteral("Passwort"), Qt::CaseInsensitive)) return std::optional<StoredPassword>();
    auto st = db.prepare(QStringLiteral("SELECT \"Salz\", \"Hash\", \"Runden\" FROM \"Passwort\" LIMIT 1"));
    if (!st) return st.status();
    auto row = st->step();
    if (!row) return row.status();
    if (!*row) return std::optional<StoredPassword>();
    StoredPassword p;
    p.salt = QByteArray::fromBase64(st->columnText(0).toLatin1());
    p.hash = QByteArray::fromBase64(st->columnText(1).toLatin1());
    p.rounds = static_cast<int>(st->columnInt(2));
    return std::optional<StoredPassword>(p);
}

Status writeStoredPassword(const QString& path, const std::optional<StoredPassword>& password) {
    auto db = Database::open(path, Database::Mode::OpenExisting);
    if (!db) return db.status();
    return writeStoredPassword(**db, password);
}

Status writeStoredPassword(Database& db, const std::optional<StoredPassword>& password) {
    Transaction t(db);
    Q_TRY(t.begin());
    Q_TRY(db.exec(kCreate));
    Q_TRY(db.exec(QStringLiteral("DELETE FROM \"Passwort\"")));
    if (password) {
        auto st = db.prepare(QStringLiteral("INSERT INTO \"Passwort\" VALUES (?, ?, ?)"),
                                 {QString::fromLatin1(password->salt.toBase64()), QString::fromLatin1(password->hash.toBase64()),
                                  password->rounds});
        if (!st) return st.status();
        Q_TRY(st->run());
    }
    return t.commit();
}

}  // namespace q
