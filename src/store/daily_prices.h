// The daily prices and volumes (Aktien.db, Volumen.db) as the reading routes write
// them: every statement prepared once per run, the newest price of many securities
// read in one query, and the writes of a batch in one transaction on each file.
//
// Design notes. The two tables are two files, and SQLite commits two files in WAL
// mode one after the other. Invariant: a price is never committed without its
// volume. commit() therefore commits Volumen.db first; a run killed between the
// two commits leaves volumes of days without a price, and the rerun books those
// days with price and volume again. A day whose price is there but whose volume is
// missing (a run of an older release) gets the volume from the rerun that finds
// the price equal.
//
// A batch's commit leaves its pages in the write-ahead log; the checkpoint that
// copies them into the table file runs after the commit on a thread of its own
// (store/wal_checkpoint.h), so that the run returns when its quotes are safe.
#pragma once

#include "store/deferred_indexes.h"
#include "store/table.h"

#include <QHash>
#include <QList>
#include <limits>
#include <memory>
#include <vector>

namespace q {

struct DayPrice {
    int day = 0;  // day number
    double kurs = 0;
};

// The newest price on or before day number `day` of each security of `firmen` that
// has one, read from `aktien` (fields Firma, Datum, Kurs) in one query. Fails with
// the store's message.
Result<QHash<int, DayPrice>> newestOnOrBefore(Table& aktien, const QList<int>& firmen, int day);

// Used on one thread; the tables stay owned by the store and must outlive it.
class DailyPrices {
public:
    // Prepares the statements on `aktien` (fields Firma, Datum, Kurs) and `volumen`
    // (Firma, Datum, Volumen). Fails with the store's message.
    static Result<std::unique_ptr<DailyPrices>> open(Table& aktien, Table& volumen);
    // Gives the connections their own checkpoints back.
    ~DailyPrices();
    DailyPrices(const DailyPrices&) = delete;
    DailyPrices& operator=(const DailyPrices&) = delete;

    // The newest price of each security of `firmen` that has one, in one query.
    Result<QHash<int, DayPrice>> newest(const QList<int>& firmen);
    // The newest price of `firma` before day `before` (that day excluded; the default
    // looks at every day); nullopt when there is none.
    Result<std::optional<DayPrice>> newestBefore(int firma, int before = std::numeric_limits<int>::max());
    // The price of `firma` on `day`; nullopt when the day has none.
    Result<std::optional<double>> priceOn(int firma, int day);
    Result<bool> hasVolume(int firma, int day);

    // Writes the day's price or volume: replaces the value of that day, or appends a
    // row. `fresh`: the caller knows that the day has no row yet (a plain append,
    // cheaper than the replacing one). Outside a batch the row is written on its
    // own. Inside one it waits: a file lists its quotes day by day, the tables keep
    // them security by security, and the batch's rows go in in key order before
    // anything here reads the tables and at commit(), which then reports a failed
    // write.
    // Fails Internal for a price that is not finite or not above 0: no caller may
    // get that far with one.
    Status putPrice(int firma, int day, double kurs, bool fresh = false);
    Status putVolume(int firma, int day, qint64 volumen);

    // Opens a transaction on both files; commit() commits the volumes, then the
    // prices. Destroying the object, or begin() again, before commit() rolls back.
    Status begin();
    Status commit();
    bool inBatch() const { return m_volumeTx != nullptr; }

private:
    DailyPrices(Table& aktien, Table& volumen) : m_aktien(aktien), m_volumen(volumen) {}
    Status put(Statement& statement, int firma, int day, const QVariant& value);
    Status writePending();

    struct Pending {
        int firma;
        int day;
        double kurs;
        bool fresh;
        qint64 volumen = 0;
    };

    Table& m_aktien;
    Table& m_volumen;
    Statement m_newest;
    Statement m_newestBefore;
    Statement m_priceOn;
    Statement m_hasVolume;
    Statement m_upsertPrice;
    Statement m_insertPrice;
    Statement m_upsertVolume;
    DeferredIndexes m_volumeIndexes;  // of the batch under way
    DeferredIndexes m_priceIndexes;
    std::unique_ptr<Transaction> m_volumeTx;
    std::unique_ptr<Transaction> m_priceTx;
    std::vector<Pending> m_pendingPrices;  // the batch's rows not yet written
    std::vector<Pending> m_pendingVolumes;
    Status m_failedWrite;  // the first failed write of the waiting rows in this batch
    QList<Database*> m_walFiles;  // the files whose checkpoints follow each commit
};

}  // namespace q
