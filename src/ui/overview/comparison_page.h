// The main page "&Vergleich": five name boxes (`Vergleich1` … `Vergleich5`), the start
// date (`Datum`), the check box "Depotvergleich" and the comparison chart, drawn anew
// when the page is opened, a name is entered or the date changes.
#pragma once

#include "charts/comparison_chart.h"

#include <QWidget>

class QCheckBox;
class QCompleter;
class QDateEdit;
class QLineEdit;

namespace q::ui {

class TAktienkurse;

class ComparisonPage final : public QWidget {
    Q_OBJECT
public:
    ComparisonPage(TAktienkurse& window, QWidget* parent);
    // `VergleichsDiagramm`: reads the boxes into the settings and draws the chart.
    void VergleichsDiagramm();
    // Fills the boxes from the settings in effect, after the start.
    void applyValues();
    charts::ComparisonPlot* chart() const { return m_chart; }
    QLineEdit* nameBox(int i) const { return m_names.value(i); }
    QDateEdit* dateBox() const { return m_date; }
    // The name boxes complete the names of every security (any part, letter case
    // ignored); read anew when the page is shown.
    QCompleter* completer() const { return m_completer; }
    void refreshNames();
    QCheckBox* depotBox() const { return m_depot; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TAktienkurse& m_window;
    QCompleter* m_completer;
    charts::ComparisonPlot* m_chart;
    QList<QLineEdit*> m_names;
    QDateEdit* m_date;
    QCheckBox* m_depot;
};

}  // namespace q::ui
