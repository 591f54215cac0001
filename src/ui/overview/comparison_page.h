// The main page "&Vergleich": five name boxes (`Vergleich1` … `Vergleich5`), the start
// date (`Datum`), the check box "Depotvergleich" and the comparison chart, drawn anew
// when the page is opened, a name is entered or the date changes.
#pragma once

#include "charts/comparison_chart.h"

#include <QWidget>

class QCheckBox;
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
    QCheckBox* depotBox() const { return m_depot; }

private:
    TAktienkurse& m_window;
    charts::ComparisonPlot* m_chart;
    QList<QLineEdit*> m_names;
    QDateEdit* m_date;
    QCheckBox* m_depot;
};

}  // namespace q::ui
