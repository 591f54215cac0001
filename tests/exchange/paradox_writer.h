// Paradox tables for the tests, written with pxlib's own writer: the layout of a
// table of the Windows version and its rows.
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace pxtest {

// A field: its name, its pxlib type (pxfAlpha, pxfLong, …) and its size in bytes.
struct Field {
    const char* name;
    char type;
    int size;
};

// Writes the table `path` (the table name is the file's stem) with these fields and
// rows; memo fields go to the .MB file beside it. Values: a null QVariant is a
// blank field; QString for alpha and memo fields (memos stored in Windows-1252);
// QDate for date fields; QDateTime for timestamps; int, double or bool otherwise.
// The first `keys` fields are the primary key. False when pxlib fails.
bool writeTable(const QString& path, const std::vector<Field>& fields, const std::vector<QVariantList>& rows, int keys = 0);

}  // namespace pxtest
