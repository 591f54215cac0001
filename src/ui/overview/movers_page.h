// The page "Plus/Minus" of "&Analyse": the movers of the current list over one day,
// 30 or 60 days, a chosen number of days or a from–to range, computed by the core
// into gewinner.rtf and shown here from the same report.
#pragma once

#include "overview/movers.h"

#include <QWidget>

class QCheckBox;
class QSpinBox;
class QTextBrowser;

namespace q::ui {

class TAktienkurse;

class MoversPage final : public QWidget {
    Q_OBJECT
public:
    explicit MoversPage(TAktienkurse& window, QWidget* parent = nullptr);

    // Loads gewinner.rtf's report of the last run when there is one (page shown).
    void activate();
    // The buttons: the period from `from` (to `to` when valid). Shows the report or
    // the message; returns whether it ran.
    bool Berechnen(const QDate& from, const QDate& to = QDate());
    void Tage(int days);
    void VonBis();
    // "Drucken": the report through the print dialog.
    void print();

    QSpinBox* countBox() const { return m_count; }
    QSpinBox* daysBox() const { return m_days; }
    QCheckBox* favouritesBox() const { return m_favourites; }
    QTextBrowser* view() const { return m_view; }
    const std::optional<MoversResult>& last() const { return m_last; }

private:
    TAktienkurse& m_window;
    QSpinBox* m_count;
    QSpinBox* m_days;
    QCheckBox* m_favourites;
    QTextBrowser* m_view;
    std::optional<MoversResult> m_last;
};

}  // namespace q::ui
