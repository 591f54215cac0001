// The small look-up lists of the securities master: groups, branches and features
// (number and name), and the currencies (symbol and name).
#pragma once

#include "store/store.h"

namespace q {

// One row of Gruppen.db, Branchen.db or Merkmal.db.
struct ListEntry {
    int GruppenIndex = 0;
    QString GruppenName;
};

// The rows of a group, branch or feature table, by `GruppenIndex` (rows with the
// same number keep the table's order, as the move buttons of the editor rely on it).
// NotFound naming the file when it is missing.
Result<std::vector<ListEntry>> readListTable(Store& store, const QString& file);

struct CurrencyEntry {
    QString Symbol;  // empty for the row "keine Währung"
    QString Name;
};

// The rows of Waehrung.db in symbol order. NotFound when the table is missing.
Result<std::vector<CurrencyEntry>> readCurrencies(Store& store);

}  // namespace q
