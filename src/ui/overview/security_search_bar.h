// The two search buttons beside the security list: "suche nach einem Kursname oder
// Tickersymbol" and "suche nach WKN oder ISIN". Each asks for a text in "Kurssuche"
// and moves the list to the next security after the current one that matches; past
// the end it asks whether to go on from the first.
#pragma once

#include "overview/security_search.h"

#include <QWidget>

class QToolButton;

namespace q::ui {

class TAktienkurse;

class SecuritySearchBar final : public QWidget {
    Q_OBJECT
public:
    SecuritySearchBar(TAktienkurse& window, QWidget* parent);

    // Asks for the text and walks the list (SearchKind::Name or Number).
    void search(SearchKind kind);
    // The last text of each search, upper-cased.
    QString lastText(SearchKind kind) const { return m_texts[static_cast<int>(kind)]; }

private:
    TAktienkurse& m_window;
    QString m_texts[2];
};

}  // namespace q::ui
