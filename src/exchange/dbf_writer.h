// Writing a dBASE III table file (.DBF), the counterpart of DbfTable: the field list,
// then one record per row. Only the field types a price table needs: C text, N number
// and D date.
#pragma once

#include "base/status.h"
#include "exchange/dbf_table.h"

#include <QByteArray>
#include <QDate>
#include <QVariant>
#include <vector>

namespace q {

// The bytes of a dBASE III file with `fields` and `records` (values in field order; a
// null value is a blank field), dated `written`. Values: C any text (Windows-1252,
// cut to the size); N a number, right-aligned with the field's decimals; D a QDate.
// Fails Invalid "Der Wert … passt nicht in das Feld …" for a number wider than its
// field. Requires: 1 to 128 fields, names of at most 10 characters, sizes 1 to 254.
Result<QByteArray> dbfBytes(const std::vector<DbfField>& fields, const std::vector<QVariantList>& records, const QDate& written);

// The fields of an exported price table: `Datum` D, `Kurs` N(20,8), `Volumen` N(11,0).
const std::vector<DbfField>& priceTableFields();

}  // namespace q
