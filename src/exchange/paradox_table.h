// Reading one Paradox table file (.DB) of the Windows version, with pxlib for the
// header, and its memo file (.MB): the fields and the records, each value converted
// to what our tables store. Read only; the files are never changed.
#pragma once

#include "base/status.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace q {

// The field types of a Paradox table, as its header stores them.
enum class ParadoxType {
    Alpha, Date, Short, Long, Currency, Number, Logical, Memo, Blob, Time, Timestamp, AutoInc, Bcd, Bytes, Other
};

struct ParadoxField {
    QString name;
    ParadoxType type = ParadoxType::Other;
    int size = 0;  // bytes in the record
};

class ParadoxTable {
public:
    // Opens the table at `path` and, when the table has memo fields, the memo file
    // beside it (same stem, ".MB", any letter case). Fails NotFound when the file is
    // missing, Corrupt with "Die Datei … ist beschädigt oder keine Paradox-Tabelle"
    // when pxlib cannot read its header or the header does not fit the file, Invalid
    // with "Die Datei … ist verschlüsselt" for a password-protected table.
    static Result<std::unique_ptr<ParadoxTable>> open(const QString& path);
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable&) = delete;
    ParadoxTable& operator=(const ParadoxTable&) = delete;

    const QString& path() const { return m_path; }
    const std::vector<ParadoxField>& fields() const { return m_fields; }
    // The position of the field `name` (letter case ignored); -1 when absent.
    int fieldIndex(const QString& name) const;
    // The number of records the header states.
    qint64 recordCount() const;

    // Calls `visit` with the values of each record, in the table's order, until it
    // returns false. Values: a blank field is a null QVariant; alpha and memo text
    // from Windows-1252; Short, Long, AutoInc as integers; Date as our day number
    // (int, days from 30.12.1899); Timestamp as our day number with the time of day
    // as fraction; Time as the fraction of the day; Currency, Number and BCD as
    // doubles; Logical as bool; Blob and Bytes as QByteArray. A memo that cannot be
    // read becomes "Musste entfernt werden" and is noted in problems(). Fails Corrupt
    // "Die Datei … ist beschädigt (Datenblock n)" when the blocks cannot be followed;
    // the records visited before stay visited.
    Status forEach(const std::function<bool(const QVariantList&)>& visit);

    // What could not be read as it stood (memos), one line each.
    const QStringList& problems() const { return m_problems; }

private:
    struct Doc;
    ParadoxTable() = default;
    QVariant decode(int field, const char* data);
    // The memo of a memo or blob field of `size` bytes: a null QByteArray when the
    // field is blank, nullopt when it cannot be read.
    std::optional<QByteArray> memoOf(const char* data, int size);

    QString m_path;
    std::unique_ptr<Doc> m_doc;
    std::vector<ParadoxField> m_fields;
    std::vector<int> m_offsets;  // of each field in the record
    QStringList m_problems;
    qint64 m_record = 0;         // number of the record being decoded, from 1
};

}  // namespace q
