// The securities the overview lists and the rating run walks: the securities master
// in name order (index "IFirma"), filtered as the list selector and the "nur
// Favoriten" box say.
#pragma once

#include "overview/fill_input.h"

namespace q {

// A security is listed when `Firma` > 0, it is a favourite or `favouritesOnly` is
// off, and for each of group, branch and feature that is not 0 its `Gruppe`,
// `Branche` or `Merkmal` equals it.
struct SecurityFilter {
    bool favouritesOnly = false;
    int gruppe = 0;
    int branche = 0;
    int merkmal = 0;

    bool accepts(const SecurityRecord& s) const;
};

// The listed securities in name order. Fails with the store's message.
Result<std::vector<SecurityRecord>> listSecurities(Store& store, const SecurityFilter& filter);

}  // namespace q
