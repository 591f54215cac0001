// The two charts of the main page "&Intraday": today's course of two securities
// chosen by name (`DDEAktie1`, `DDEAktie2`) from those with prices in Intraday.db.
#pragma once

#include "charts/intraday_chart.h"

#include <QWidget>

class QComboBox;

namespace q::ui {

class TAktienkurse;

class IntradayCharts final : public QWidget {
    Q_OBJECT
public:
    IntradayCharts(TAktienkurse& window, QWidget* parent);
    // `ComboFuellen`, then `IntradayDiagramm`.
    void refresh();
    // Both charts anew from Intraday.db.
    void IntradayDiagramm();
    QComboBox* nameBox(int i) const { return m_boxes[i]; }
    charts::IntradayPlot* chart(int i) const { return m_charts[i]; }

private:
    TAktienkurse& m_window;
    QComboBox* m_boxes[2];
    charts::IntradayPlot* m_charts[2];
};

}  // namespace q::ui
