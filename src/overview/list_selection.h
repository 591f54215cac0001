// The list selector ("Es werden nur Wertpapiere dieser Gruppe angezeigt") and the
// list resolver behind the overview, the rating run, the movers, the reports and
// every `--list NAME`: which securities a chosen entry, the "nur Favoriten" box, a
// branch, a feature and the filter editor's text leave.
#pragma once

#include "overview/fill_input.h"

#include <QDate>
#include <vector>

namespace q {

inline const QString kHoldingsEntry = QStringLiteral("akt.Depotwerte");
inline const QString kWinnersEntry = QStringLiteral("Gewinner(Quintara)");
inline const QString kLosersEntry = QStringLiteral("Verlierer(Quintara)");

// One entry of the selector.
struct ListChoice {
    enum class Kind { Group, Holdings, Watch, Winners, Losers };
    Kind kind = Kind::Group;
    QString text;    // as the selector shows it
    int number = 0;  // Group: `GruppenIndex` (0: all); Watch: the list 1 … 4
};

// The table of watch list k (1 … 4): "Watch.db", "Watch2.db", … Requires: 1 ≤ k ≤ 4.
QString watchListFile(int k);

// The selector's entries in order: the first group, "akt.Depotwerte", each watch
// list whose name is not empty (the names of WNamen.ini or the settings; an empty
// name always hides its list), then the other groups in the table's order; with
// `ratingLists` also "Gewinner(Quintara)" and "Verlierer(Quintara)" when the rating
// run left their tables in the work directory. Fails with the store's message.
Result<std::vector<ListChoice>> listSelectorEntries(Store& store, const QStringList& watchNames, bool ratingLists = false);

// The entry whose text equals `name` with letter case and blanks around it ignored
// (the rating lists included). Fails NotFound "Die Liste "X" gibt es nicht. Listen:
// …" naming every entry.
Result<ListChoice> findListChoice(Store& store, const QStringList& watchNames, const QString& name);

struct ListSelection {
    ListChoice list;              // default: the group 0, all securities
    bool favouritesOnly = false;  // "nur Favoriten"
    int branche = 0;              // 0: any
    int merkmal = 0;              // 0: any
    QString filter;               // the filter editor's text; empty: none
    // "akt.Depotwerte": the securities held on this day (a lot bought by then and not
    // sold before or on it); invalid: every security ever booked.
    QDate reportDate;
};

// The securities of the selection in name order (index "IFirma"). Every entry keeps
// `Firma` > 0, the favourites box, the branch and the feature. A group entry other
// than 0 keeps its `Gruppe`; a watch or rating list keeps the securities its table
// holds (the group plays no part); "akt.Depotwerte" those of the current depot's
// bookings (none without Transaktionen.db). The filter text is parsed first
// (FilterExpression: Invalid naming the spot). Fails with the store's message.
Result<std::vector<SecurityRecord>> resolveList(Store& store, const ListSelection& selection);
// The same as security numbers.
Result<std::vector<int>> resolveListNumbers(Store& store, const ListSelection& selection);

// Whether the security's name, WKN (`Kennung`) or ISIN contains `text`, letter case
// and blanks around the text ignored; an empty text matches every security.
bool matchesText(const SecurityRecord& security, const QString& text);

}  // namespace q
