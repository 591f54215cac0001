// The inner page "Bewertung berechnen" of "&Analyse": the rating run started by
// "neue Berechnung" with its progress in the status bar, the recommendation report
// shown, opened in the word processor and printed, the number of list entries
// (`BewertTage`) and the options dialog.
#pragma once

#include "analysis/rating_run.h"

#include <QWidget>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTextBrowser;

namespace q::ui {

class TAktienkurse;

class RatingPage final : public QWidget {
    Q_OBJECT
public:
    explicit RatingPage(TAktienkurse& window);

    // On showing the page: the entry count from the settings, and the note of the
    // previous report when this run has made none yet.
    void activate();
    // The rating run over the listed securities (the "nur Favoriten" box applies):
    // the analysis table with `analysisTable`, else the report, shown here. A failure
    // is told. Returns the run, nullopt on failure.
    std::optional<RatingRunResult> Berechnen(bool analysisTable = false);
    void print();

    QTextBrowser* view() const { return m_view; }
    QSpinBox* entries() const { return m_entries; }
    QPushButton* neueBerechnung() const { return m_neu; }

private:
    TAktienkurse& m_window;
    QTextBrowser* m_view;
    QSpinBox* m_entries;
    QPushButton* m_neu;
    QLabel* m_counts;
    bool m_shown = false;  // a report of this run is shown
};

}  // namespace q::ui
