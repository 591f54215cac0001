// Reading a dBASE table file (.DBF, versions III to 5 and their FoxPro kin): the
// field list and the records, each value converted to what our tables store. Read
// only. Only the field types a price table uses are decoded; others read as text.
#pragma once

#include "base/status.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace q {

struct DbfField {
    QString name;
    char type = 'C';  // C text, N/F number, D date, L logical, I 32-bit integer, …
    int size = 0;
    int decimals = 0;
};

class DbfTable {
public:
    // Reads the whole file. Fails NotFound or Io naming the file, Corrupt "Die Datei …
    // ist beschädigt oder keine dBASE-Tabelle" when its header does not fit the file.
    static Result<DbfTable> read(const QString& path);

    const std::vector<DbfField>& fields() const { return m_fields; }
    // The position of the field `name` (letter case ignored); -1 when absent.
    int fieldIndex(const QString& name) const;
    qint64 recordCount() const { return m_count; }

    // Calls `visit` with the values of each record that is not marked deleted, in file
    // order, until it returns false. Values: a blank field is a null QVariant; text
    // from Windows-1252 without trailing blanks; N and F as double (null when no
    // number); D as our day number (int, days from 30.12.1899); L as bool; I as int.
    void forEach(const std::function<bool(const QVariantList&)>& visit) const;

private:
    QVariant decode(const DbfField& field, const char* data) const;

    QByteArray m_bytes;
    std::vector<DbfField> m_fields;
    std::vector<int> m_offsets;
    qint64 m_count = 0;
    int m_headerSize = 0;
    int m_recordSize = 0;
};

}  // namespace q
