#include "store/security_lookup.h"

namespace q {

namespace {

constexpr qsizetype kAsWrittenKept = 100000;

// Security number and text of every row `sql` gives, the text folded when `fold`;
// the first row of each text wins.
Result<QHash<QString, int>> firstOfEach(Database& db, const QString& sql, bool fold) {
    auto st = db.prepare(sql);
    if (!st) return st.status();
    QHash<QString, int> map;
    for (;;) {
        auto row = st->step();
        if (!row) return row.status();
        if (!*row) break;
        const QString text = fold ? foldText(st->columnText(1)) : st->columnText(1);
        if (!map.contains(text)) map.insert(text, int(st->columnInt(0)));
    }
    return map;
}

}  // namespace

Status SecurityLookup::loadColumn(const QString& column) {
    const Field* field = m_firma.layout().field(column);
    if (!field) return Status::internal(QStringLiteral("Tabelle %1 hat kein Feld %2").arg(m_firma.layout().table, column));
    // The fold is the one of the column's index, letter by letter (foldText()), so
    // that a name matches exactly what a look-up on that index would find; among
    // equal folded texts the index orders by number, and the first wins.
    auto map = firstOfEach(m_firma.db(),
                           QStringLiteral("SELECT \"Firma\", %2 FROM %1 WHERE %2 IS NOT NULL ORDER BY \"Firma\"")
                               .arg(quoted(m_firma.layout().table), quoted(field->name)),
                           true);
    if (!map) return map.status();
    m_byName = std::move(*map);
    m_asWritten.clear();
    m_column = column;
    m_nameLoaded = true;
    return Status::ok();
}

Status SecurityLookup::loadKennung() {
    // Rows of one identifier tie in the index "IWKN" and go by number.
    auto map = firstOfEach(m_firma.db(),
                           QStringLiteral("SELECT \"Firma\", \"Kennung\" FROM %1 WHERE \"Kennung\" IS NOT NULL ORDER BY \"Firma\"").arg(quoted(m_firma.layout().table)),
                           false);
    if (!map) return map.status();
    m_byKennung = std::move(*map);
    m_kennungLoaded = true;
    return Status::ok();
}

Result<std::optional<int>> SecurityLookup::byMatchText(const QString& column, const QString& name) {
    if (!m_nameLoaded || m_column != column) Q_TRY(loadColumn(column));
    if (const auto known = m_asWritten.constFind(name); known != m_asWritten.constEnd()) return *known;
    const auto found = m_byName.constFind(foldText(name));
    const std::optional<int> firma = found == m_byName.constEnd() ? std::optional<int>() : std::optional<int>(*found);
    // A file of unknown names only would grow the memo without end.
    if (m_asWritten.size() < kAsWrittenKept) m_asWritten.insert(name, firma);
    return firma;
}

Result<std::optional<int>> SecurityLookup::byKennung(const QString& kennung) {
    if (!m_kennungLoaded) Q_TRY(loadKennung());
    const auto found = m_byKennung.constFind(kennung);
    return found == m_byKennung.constEnd() ? std::optional<int>() : std::optional<int>(*found);
}

void SecurityLookup::added(int firma, const QString& column, const QString& matchText, const QString& kennung) {
    if (m_nameLoaded && column == m_column && !matchText.isEmpty() && !m_byName.contains(foldText(matchText))) {
        m_byName.insert(foldText(matchText), firma);
        // Names that had no security may answer to this one now.
        m_asWritten.clear();
    }
    if (m_kennungLoaded && !kennung.isEmpty() && !m_byKennung.contains(kennung)) m_byKennung.insert(kennung, firma);
}

void SecurityLookup::forget() {
    m_nameLoaded = false;
    m_kennungLoaded = false;
    m_byName.clear();
    m_asWritten.clear();
    m_byKennung.clear();
}

}  // namespace q
