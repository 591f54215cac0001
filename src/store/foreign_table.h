// Reading a table of a SQLite file that is not one of ours (a price history another
// program wrote, or a copy of a table from another installation): opened read-only,
// so the file stays exactly as it was.
#pragma once

#include "base/status.h"

#include <QStringList>
#include <QVariant>
#include <vector>

namespace q {

struct ForeignTable {
    QString table;
    QStringList fields;               // as the file spells them
    std::vector<QVariantList> rows;   // values in field order
};

// True when the file starts with the SQLite header.
bool isSqliteFile(const QString& path);

// The rows of the first table of the file (in the file's table order) that has every
// field of `required` (letter case ignored), in rowid order. Fails NotFound when the
// file is missing, Corrupt "Die Datei … ist keine gültige Datenbank" when it is no
// SQLite file, Invalid "Die Datei … enthält keine Tabelle mit den Feldern …" naming
// the fields when no table has them.
Result<ForeignTable> readForeignTable(const QString& path, const QStringList& required);

}  // namespace q
