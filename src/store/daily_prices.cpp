#include "store/daily_prices.h"

#include "store/wal_checkpoint.h"

#include <algorithm>
#include <cmath>

namespace q {

namespace {

Status prepare(Database& db, const QString& sql, Statement* out) {
    auto st = db.prepare(sql);
    if (!st) return st.status();
    *out = std::move(*st);
    return Status::ok();
}

// The newest price on or before a day of each security of a list: the numbers come
// as one JSON array text (parameter 1), the day is parameter 2. In a file max() over
// the key (Firma, Datum) is one step down the key's b-tree per security; the server
// walks its key backwards from the day once per security (LATERAL … LIMIT 1).
QString newestSql(const Database& db, const QString& table) {
    if (db.onServer())
        return QStringLiteral("SELECT j.value, a.\"Datum\", a.\"Kurs\" FROM unnest(('{' || trim(both '[]' from ?) || '}')::bigint[]) j(value) "
                              "CROSS JOIN LATERAL (SELECT \"Datum\", \"Kurs\" FROM %1 WHERE \"Firma\" = j.value AND \"Datum\" <= ? "
                              "ORDER BY \"Datum\" DESC LIMIT 1) a")
            .arg(table);
    return QStringLiteral("SELECT a.\"Firma\", a.\"Datum\", a.\"Kurs\" FROM json_each(?) j JOIN %1 a ON a.\"Firma\" = j.value "
                          "AND a.\"Datum\" = (SELECT max(\"Datum\") FROM %1 WHERE \"Firma\" = j.value AND \"Datum\" <= ?)")
        .arg(table);
}

Result<QHash<int, DayPrice>> readNewest(Statement& st, const QList<int>& firmen, int day) {
    QHash<int, DayPrice> out;
    if (firmen.isEmpty()) return out;
    QByteArray list("[");
    for (int f : firmen) {
        if (list.size() > 1) list += ',';
        list += QByteArray::number(f);
    }
    list += ']';
    st.bind(1, QString::fromLatin1(list));
    st.bind(2, day);
    for (;;) {
        auto row = st.step();
        if (!row) {
            st.reset();
            return row.status();
        }
        if (!*row) break;
        out.insert(int(st.columnInt(0)), DayPrice{int(std::lround(st.columnDouble(1))), st.columnDouble(2)});
    }
    st.reset();
    return out;
}

}  // namespace

Result<QHash<int, DayPrice>> newestOnOrBefore(Table& aktien, const QList<int>& firmen, int day) {
    if (firmen.isEmpty()) return QHash<int, DayPrice>();
    auto st = aktien.db().prepare(newestSql(aktien.db(), quoted(aktien.layout().table)));
    if (!st) return st.status();
    return readNewest(*st, firmen, day);
}

Result<std::unique_ptr<DailyPrices>> DailyPrices::open(Table& aktien, Table& volumen) {
    std::unique_ptr<DailyPrices> p(new DailyPrices(aktien, volumen));
    const QString a = quoted(aktien.layout().table);
    const QString v = quoted(volumen.layout().table);
    Database& adb = aktien.db();
    Database& vdb = volumen.db();
    // A day's quotes land on one leaf page per security in each table: a batch
    // dirties thousands of pages, which the default cache would spill to the journal
    // before the commit and read again. (Tables on the server have the server's cache.)
    for (Database* db : {&adb, &vdb})
        if (!db->onServer()) Q_TRY(db->exec(QStringLiteral("PRAGMA cache_size=-65536")));
    // The pages are read into the cache rather than mapped: a batch touches each
    // page once, and a first touch of a mapped page costs more than the read.
    for (Database* db : {&adb, &vdb})
        if (!db->onServer() && journalModeFor(db->path()) == QLatin1String("WAL")) {
            // The commit no longer copies the log into the file itself: commit()
            // hands that to the background checkpoint.
            Q_TRY(db->exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
            p->m_walFiles << db;
        }
    Q_TRY(prepare(adb, newestSql(adb, a), &p->m_newest));
    Q_TRY(prepare(adb, QStringLiteral("SELECT \"Datum\", \"Kurs\" FROM %1 WHERE \"Firma\" = ? AND \"Datum\" < ? ORDER BY \"Datum\" DESC LIMIT 1").arg(a),
                  &p->m_newestBefore));
    Q_TRY(prepare(adb, QStringLiteral("SELECT \"Kurs\" FROM %1 WHERE \"Firma\" = ? AND \"Datum\" = ?").arg(a), &p->m_priceOn));
    // One statement replaces a day's value or appends the row: one step down the key.
    Q_TRY(prepare(adb,
                  QStringLiteral("INSERT INTO %1 (\"Firma\", \"Datum\", \"Kurs\") VALUES (?1, ?2, ?3) "
                                 "ON CONFLICT (\"Firma\", \"Datum\") DO UPDATE SET \"Kurs\" = excluded.\"Kurs\"")
                      .arg(a),
                  &p->m_upsertPrice));
    Q_TRY(prepare(adb, QStringLiteral("INSERT INTO %1 (\"Firma\", \"Datum\", \"Kurs\") VALUES (?1, ?2, ?3)").arg(a), &p->m_insertPrice));
    Q_TRY(prepare(vdb, QStringLiteral("SELECT 1 FROM %1 WHERE \"Firma\" = ? AND \"Datum\" = ?").arg(v), &p->m_hasVolume));
    Q_TRY(prepare(vdb,
                  QStringLiteral("INSERT INTO %1 (\"Firma\", \"Datum\", \"Volumen\") VALUES (?1, ?2, ?3) "
                                 "ON CONFLICT (\"Firma\", \"Datum\") DO UPDATE SET \"Volumen\" = excluded.\"Volumen\"")
                      .arg(v),
                  &p->m_upsertVolume));
    return p;
}

DailyPrices::~DailyPrices() {
    m_priceTx.reset();
    m_volumeTx.reset();
    for (Database* db : m_walFiles) (void)db->exec(QStringLiteral("PRAGMA wal_autocheckpoint=1000"));
}

Result<QHash<int, DayPrice>> DailyPrices::newest(const QList<int>& firmen) {
    Q_TRY(writePending());
    return readNewest(m_newest, firmen, std::numeric_limits<int>::max());
}

Result<std::optional<DayPrice>> DailyPrices::newestBefore(int firma, int before) {
    Q_TRY(writePending());
    m_newestBefore.bind(1, firma);
    m_newestBefore.bind(2, before);
    auto row = m_newestBefore.step();
    std::optional<DayPrice> out;
    if (row && *row) out = DayPrice{int(std::lround(m_newestBefore.columnDouble(0))), m_newestBefore.columnDouble(1)};
    m_newestBefore.reset();
    if (!row) return row.status();
    return out;
}

Result<std::optional<double>> DailyPrices::priceOn(int firma, int day) {
    Q_TRY(writePending());
    m_priceOn.bind(1, firma);
    m_priceOn.bind(2, day);
    auto row = m_priceOn.step();
    std::optional<double> out;
    if (row && *row) out = m_priceOn.columnDouble(0);
    m_priceOn.reset();
    if (!row) return row.status();
    return out;
}

Result<bool> DailyPrices::hasVolume(int firma, int day) {
    Q_TRY(writePending());
    m_hasVolume.bind(1, firma);
    m_hasVolume.bind(2, day);
    auto row = m_hasVolume.step();
    m_hasVolume.reset();
    if (!row) return row.status();
    return *row;
}

Status DailyPrices::put(Statement& statement, int firma, int day, const QVariant& value) {
    // Outside a batch the statement commits on its own: one row, nothing half-written.
    statement.bind(1, firma);
    statement.bind(2, day);
    statement.bind(3, value);
    auto done = statement.step();
    statement.reset();
    return done ? Status::ok() : done.status();
}

Status DailyPrices::putPrice(int firma, int day, double kurs, bool fresh) {
    if (!std::isfinite(kurs) || kurs <= 0)
        return Status::internal(QStringLiteral("Der Kurs %1 von Wertpapier %2 ist kein Kurs").arg(kurs).arg(firma));
    if (inBatch()) {
        m_pendingPrices.push_back({firma, day, kurs, fresh});
        return Status::ok();
    }
    return put(fresh ? m_insertPrice : m_upsertPrice, firma, day, kurs);
}

Status DailyPrices::putVolume(int firma, int day, qint64 volumen) {
    if (inBatch()) {
        m_pendingVolumes.push_back({firma, day, 0.0, false, volumen});
        return Status::ok();
    }
    return put(m_upsertVolume, firma, day, volumen);
}

Status DailyPrices::writePending() {
    // In key order; rows of one key keep their order, so the last value of a day wins.
    auto byKey = [](const Pending& a, const Pending& b) { return a.firma != b.firma ? a.firma < b.firma : a.day < b.day; };
    std::stable_sort(m_pendingPrices.begin(), m_pendingPrices.end(), byKey);
    std::stable_sort(m_pendingVolumes.begin(), m_pendingVolumes.end(), byKey);
    Status done;
    for (auto p = m_pendingPrices.cbegin(); done && p != m_pendingPrices.cend(); ++p)
        done = put(p->fresh ? m_insertPrice : m_upsertPrice, p->firma, p->day, p->kurs);
    for (auto p = m_pendingVolumes.cbegin(); done && p != m_pendingVolumes.cend(); ++p) done = put(m_upsertVolume, p->firma, p->day, p->volumen);
    // Written or not, they are gone: after a failed write the batch can only be
    // rolled back, and nothing of it may reach the tables later.
    m_pendingPrices.clear();
    m_pendingVolumes.clear();
    if (!done && m_failedWrite.isOk()) m_failedWrite = done;
    return done;
}

Status DailyPrices::begin() {
    m_pendingPrices.clear();
    m_pendingVolumes.clear();
    m_failedWrite = Status::ok();
    m_priceTx.reset();
    m_volumeTx.reset();
    m_volumeIndexes.forget();
    m_priceIndexes.forget();
    auto volumes = std::make_unique<Transaction>(m_volumen.db());
    Q_TRY(volumes->begin());
    auto prices = std::make_unique<Transaction>(m_aktien.db());
    Q_TRY(prices->begin());
    // A first load into empty tables (a fresh data directory, a long history file)
    // makes their date indexes once at the commit.
    Q_TRY(m_volumeIndexes.dropIfEmpty(m_volumen));
    Q_TRY(m_priceIndexes.dropIfEmpty(m_aktien));
    m_volumeTx = std::move(volumes);
    m_priceTx = std::move(prices);
    return Status::ok();
}

Status DailyPrices::commit() {
    Q_ASSERT(inBatch());
    if (!inBatch()) return Status::ok();
    // A batch whose waiting rows failed to go in earlier is rolled back.
    Status done = m_failedWrite.isOk() ? writePending() : m_failedWrite;
    // Volumes first: see the design notes.
    if (done) done = m_volumeIndexes.rebuild();
    if (done) done = m_volumeTx->commit();
    if (done) done = m_priceIndexes.rebuild();
    if (done) done = m_priceTx->commit();
    m_volumeIndexes.forget();
    m_priceIndexes.forget();
    m_volumeTx.reset();
    m_priceTx.reset();
    if (done)
        for (Database* db : m_walFiles) checkpointLater(db->path());
    return done;
}

}  // namespace q
