// Merging the rows of the Windows version's tables into ours, one table at a time,
// each in one transaction: securities matched by name, detail rows moved to the
// numbers their securities got, rows merged by key. Part of import-legacy.
//
// Design notes.
//  1. Securities are matched by name against the securities master as it stood
//     before the import: the exact name, else the one name equal with case and
//     umlauts folded. A matched security keeps its number and its fields. Another
//     one is added under its old number when no number that high was ever handed
//     out, else under the next one; no number is ever handed out twice. A name that
//     occurs twice in the old table is taken once.
//  2. A detail row (price, volume, intraday price, watch list, news item, booking,
//     analysis) takes the number its security got under 1; the row of a security
//     that is not in the old securities master is left out.
//  3. A row whose key is in the table already stays as it is there: an existing
//     price is never overwritten. Bookings and page definitions, whose keys may hold
//     blanks, count as present when a row equals them in every field; news items
//     when one has the same time, text and security (an item gets the next running
//     number when its own is taken). A list of groups, branches or features that
//     still holds only its seed rows is replaced by the old list; otherwise the
//     numbers it lacks are added.
//  4. Running the import again adds nothing.
#pragma once

#include "store/store.h"

#include <QHash>
#include <QMap>
#include <functional>
#include <optional>

namespace q {

// Hands each row of one old table, in our table's field order, to `sink` and stops
// at the first failure it returns. Values are converted already; `Firma` still
// holds the old number. The sink may change the row.
using RowSink = std::function<Status(QVariantList& row)>;
using RowSource = std::function<Status(const RowSink& sink)>;

struct MergeCount {
    qint64 added = 0;
    qint64 existing = 0;               // rows (or securities) that were there already
    qint64 skipped = 0;                // rows that could not be taken
    QMap<QString, qint64> reasons;     // why rows were skipped, with their number
    void skip(const QString& reason) {
        ++skipped;
        ++reasons[reason];
    }
};

class LegacyMerge {
public:
    // The reason given for a row whose security is not in the old securities master.
    static QString unknownSecurity();

    // Merges the securities (design note 1) into `firma` and learns the number each
    // old number got. One transaction. Fails with the store's message.
    Status mergeFirma(Table& firma, const RowSource& rows, MergeCount& count);
    // The number the security with the old number `old` got; nullopt when none.
    std::optional<int> number(qint64 old) const;

    // Merges the rows of a catalogued table other than the securities master into
    // `table` (design notes 2 and 3). `seed`: the seed rows of the table, for the
    // lists. One transaction; fails with the store's message, nothing written then.
    Status mergeRows(TableKind kind, Table& table, const std::vector<Row>& seed, const RowSource& rows, MergeCount& count);

private:
    Status mergeByKey(Table& table, const RowSource& rows, MergeCount& count);
    Status mergeByFields(Table& table, const QStringList& identity, bool renumber, const RowSource& rows, MergeCount& count);
    Status mergeList(Table& table, const std::vector<Row>& seed, const RowSource& rows, MergeCount& count);
    // Moves the row to its security's new number; false when it has none.
    bool renumber(const Table& table, QVariantList& row) const;

    QHash<qint64, int> m_numbers;  // old security number -> ours
};

}  // namespace q
