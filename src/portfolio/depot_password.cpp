#include "portfolio/depot_password.h"

#include "store/database.h"
#include "store/depot_password.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace q {

namespace {

constexpr int kRounds = 100000;
constexpr int kHashBytes = 32;

QByteArray derive(const QString& password, const QByteArray& salt, int rounds) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, rounds, kHashBytes);
}

// Compares without stopping at the first difference.
bool sameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

Result<std::unique_ptr<Database>> openLots(const QString& path) { return Database::open(path, Database::Mode::OpenExisting); }

}  // namespace

Status setDepotPassword(const QString& path, const QString& password) {
    auto db = openLots(path);
    if (!db) return db.status();
    return setDepotPassword(**db, password);
}

Result<bool> depotProtected(const QString& path) {
    auto db = openLots(path);
    if (!db) return db.status();
    return depotProtected(**db);
}

Status checkDepotPassword(const QString& path, const QString& password, const QString& depotName) {
    auto db = openLots(path);
    if (!db) return db.status();
    return checkDepotPassword(**db, password, depotName);
}

Status setDepotPassword(Database& db, const QString& password) {
    if (password.isEmpty() || password == kBuiltinPassword) return writeStoredPassword(db, std::nullopt);
    StoredPassword p;
    p.salt.resize(16);
    QRandomGenerator::system()->generate(p.salt.begin(), p.salt.end());
    p.rounds = kRounds;
    p.hash = derive(password, p.salt, p.rounds);
    return writeStoredPassword(db, p);
}

Result<bool> depotProtected(Database& db) {
    auto p = readStoredPassword(db);
    if (!p) return p.status();
    return p->has_value();
}

Status checkDepotPassword(Database& db, const QString& password, const QString& depotName) {
    auto p = readStoredPassword(db);
    if (!p) return p.status();
    if (!p->has_value()) return Status::ok();
    const StoredPassword& s = **p;
    if (s.rounds > 0 && sameBytes(derive(password, s.salt, s.rounds), s.hash)) return Status::ok();
    return Status::invalid(QStringLiteral("Falsches Passwort für das Depot %1").arg(depotName));
}

}  // namespace q
