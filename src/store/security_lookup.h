// Finding a security in Firma.db by a match text of one station column or by its
// identifier. A reading run looks up thousands of names, most of them many times,
// so the first look-up on a column reads the column of every security in one query
// and the rest are answered from memory.
#pragma once

#include "store/table.h"

#include <QHash>

namespace q {

// Used on one thread; `firma` stays owned by the store and must outlive it. What it
// read stays valid while only the caller writes Firma.db and tells it (added());
// after anyone else may have written, forget().
class SecurityLookup {
public:
    explicit SecurityLookup(Table& firma) : m_firma(firma) {}

    // The security whose `column` ("ZDF", "N-TV", "SF1", "Sender4") equals `name`
    // with letter case and umlauts folded as the column's index folds it, the first
    // in the order of that index ("I" + column); nullopt when none. Fails with the
    // store's message, or Internal when the table lacks the column.
    Result<std::optional<int>> byMatchText(const QString& column, const QString& name);
    // The security whose `Kennung` equals `kennung` exactly, the first in the order
    // of index "IWKN"; nullopt when none.
    Result<std::optional<int>> byKennung(const QString& kennung);

    // The security `firma` was just appended with these texts: it answers to them
    // from now on unless an earlier security does.
    void added(int firma, const QString& column, const QString& matchText, const QString& kennung);
    void forget();

private:
    Status loadColumn(const QString& column);
    Status loadKennung();

    Table& m_firma;
    QString m_column;                 // the column m_byName holds
    bool m_nameLoaded = false;
    QHash<QString, int> m_byName;     // folded match text (as the index holds it) -> first security
    // Names as a file writes them, answered before: a file names each security on
    // many days, and folding every line's name costs more than the look-up.
    QHash<QString, std::optional<int>> m_asWritten;
    bool m_kennungLoaded = false;
    QHash<QString, int> m_byKennung;  // Kennung -> first security
};

}  // namespace q
