// "Diagrammeigenschaften": the look of a chart as the settings subkey `Chart` keeps it,
// series by series (title, on/off, legend, colour, pen width) and axis by axis
// (title, visible, grid).
#pragma once

#include "app/chart_settings.h"

#include <QDialog>

class QTableWidget;

namespace q::charts {

class ChartSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    ChartSettingsDialog(const ChartAppearance& appearance, QWidget* parent = nullptr);
    // The look as edited (the given one when nothing was changed).
    ChartAppearance appearance() const;
    QTableWidget* seriesTable() const { return m_series; }
    QTableWidget* axesTable() const { return m_axes; }

private:
    void chooseColor(int row);
    ChartAppearance m_appearance;
    QTableWidget* m_series;
    QTableWidget* m_axes;
};

}  // namespace q::charts
