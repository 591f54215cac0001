// The two searches beside the security list: by a part of the name or ticker
// symbol, or by a part of the securities number (WKN) or ISIN. The list is walked
// from the security after the current one; letter case does not count.
#pragma once

#include "store/store.h"

#include <vector>

namespace q {

enum class SearchKind {
    Name,    // `FirmenName` or `Ticker`
    Number,  // `Kennung` or `ISIN`
};

struct SearchFields {
    int Firma = 0;
    QString FirmenName, Ticker, Kennung, ISIN;
};

// The search fields of the securities `order` names, in that order (a number the
// master lacks gets empty fields). Fails with the store's message.
Result<std::vector<SearchFields>> searchFieldsOf(Store& store, const std::vector<int>& order);

// The index of the first row at or after `start` whose fields of `kind` contain
// `text` (upper-cased on both sides); -1 when none does before the end. An empty
// text finds nothing.
int nextMatch(const std::vector<SearchFields>& rows, int start, const QString& text, SearchKind kind);

}  // namespace q
