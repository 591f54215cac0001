#include "support/test_support.h"

#include "sample/sample_data.h"

#include <random>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <cstring>

namespace qtest {

namespace {

// The statements the previous release wrote: case-insensitive indexes on its own
// collation QNOCASE, a currency key that allowed NULL.
const char* const kOldFirma = R"(
CREATE TABLE "Firma" ("Firma" INTEGER PRIMARY KEY AUTOINCREMENT, "FirmenName" VARCHAR(30) NOT NULL CHECK(length("FirmenName") <= 30), "Aktiv" BOOLEAN NOT NULL, "Kennung" VARCHAR(16) CHECK(length("Kennung") <= 16), "Gruppe" SMALLINT, "Branche" SMALLINT, "Merkmal" SMALLINT, "Waehrung" VARCHAR(6) CHECK(length("Waehrung") <= 6), "Dividende" MONEY REAL, "ZDF" VARCHAR(20) CHECK(length("ZDF") <= 20), "N-TV" VARCHAR(20) CHECK(length("N-TV") <= 20), "SF1" VARCHAR(20) CHECK(length("SF1") <= 20), "Sender4" VARCHAR(20) CHECK(length("Sender4") <= 20), "Memo" MEMO TEXT, "Internet" VARCHAR(255) CHECK(length("Internet") <= 255), "Unteres_Limit" DOUBLE, "Oberes_Limit" DOUBLE, "Aktienzahl" DOUBLE, "Gewinn" DOUBLE, "CashFlow" DOUBLE, "ISIN" VARCHAR(16) CHECK(length("ISIN") <= 16), "Ticker" VARCHAR(20) CHECK(length("Ticker") <= 20));
CREATE INDEX IF NOT EXISTS "IFirma" ON "Firma" ("FirmenName" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "IZDF" ON "Firma" ("ZDF" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "IN-TV" ON "Firma" ("N-TV" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "ISF1" ON "Firma" ("SF1" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "ISender4" ON "Firma" ("Sender4" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "IWKN" ON "Firma" ("Kennung" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "IISIN" ON "Firma" ("ISIN" COLLATE QNOCASE);
CREATE INDEX IF NOT EXISTS "ITicker" ON "Firma" ("Ticker" COLLATE QNOCASE);
INSERT INTO "Firma" ("FirmenName", "Aktiv", "ZDF", "N-TV", "SF1", "Sender4") VALUES
  ('Zander AG', 1, 'ZANDER', 'ZANDER', 'ZANDER', 'ZANDER'), ('Öl und Gas', 1, 'OEL', 'OEL', 'OEL', 'OEL'),
  ('Straße AG', 0, 'STRASSE', 'STRASSE', 'STRASSE', 'STRASSE'), ('Gelöscht AG', 1, 'X', 'X', 'X', 'X');
DELETE FROM "Firma" WHERE "Firma" = 4;
)";

const char* const kOldWaehrung = R"(
CREATE TABLE "Waehrung" ("Symbol" VARCHAR(5) CHECK(length("Symbol") <= 5), "Name" VARCHAR(40) NOT NULL CHECK(length("Name") <= 40), "Faktor" DOUBLE NOT NULL, "Multiplikator" BOOLEAN NOT NULL, "Einheit" DOUBLE NOT NULL, PRIMARY KEY ("Symbol"));
INSERT INTO "Waehrung" VALUES ('', 'keine Währung', 1.0, 1, 1.0), ('USD', 'Dollar', 0.92, 1, 1.0);
)";

int byteOrder(void*, int la, const void* a, int lb, const void* b) {
    const int c = std::memcmp(a, b, static_cast<size_t>(std::min(la, lb)));
    return c != 0 ? c : la - lb;
}

// Runs the script with a connection that knows a collation QNOCASE, as the previous
// release's connections did.
bool writeOld(const QString& path, const char* script) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) return false;
    sqlite3_create_collation(db, "QNOCASE", SQLITE_UTF8, nullptr, byteOrder);
    const bool ok = sqlite3_exec(db, script, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

}  // namespace

bool writePreviousReleaseTables(const QString& dir) {
    QDir().mkpath(dir);
    return writeOld(dir + QStringLiteral("Firma.db"), kOldFirma) && writeOld(dir + QStringLiteral("Waehrung.db"), kOldWaehrung);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {

CliRun finish(QProcess& p) {
    CliRun r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        r.err = QStringLiteral("timeout");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace

CliRun runCli(const QStringList& args) {
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QStringLiteral(QUINTARA_CLI), args);
    return finish(p);
}

QString convertToText(const QString& document) {
    QTemporaryDir home;
    QProcess p;
    // LibreOffice keeps a profile in HOME; a fresh one keeps the test apart from the user's.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("soffice"), {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"),
                                        QStringLiteral("--outdir"), home.path(), document});
    const CliRun r = finish(p);
    if (r.exitCode != 0) return QString();
    QFile out(home.filePath(QFileInfo(document).completeBaseName() + QStringLiteral(".txt")));
    if (!out.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(out.readAll());
}

CliRun runSqlite3(const QString& database, const QString& input) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), database});
    p.write(input.toUtf8());
    p.closeWriteChannel();
    return finish(p);
}

qint64 sqlNumber(const QString& database, const QString& query) {
    sqlite3* db = nullptr;
    qint64 result = -1;
    if (sqlite3_open_v2(database.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            result = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

int rootPage(const QString& database, const QString& name) {
    const qint64 page = sqlNumber(database, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(name));
    return page > 0 ? static_cast<int>(page) : 0;
}

void scramblePage(const QString& path, int page) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) return;
    std::mt19937 random(static_cast<unsigned>(page));
    QByteArray bytes(4096, '\0');
    for (char& b : bytes) b = static_cast<char>(random() & 0xff);
    f.seek(static_cast<qint64>(page - 1) * 4096);
    f.write(bytes);
}

bool writeSmallSample(const QString& dataDir, int securities) {
    q::sample::Plan plan;
    plan.securities = securities;
    plan.years = 1;
    q::NoProgress none;
    return q::sample::writeSampleData(dataDir, plan, none).isOk();
}

}  // namespace qtest
