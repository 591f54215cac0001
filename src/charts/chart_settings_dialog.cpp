#include "charts/chart_settings_dialog.h"

#include "charts/chart_style.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace q::charts {

namespace {

enum SeriesColumn { cTitle, cActive, cLegend, cColor, cPen };
enum AxisColumn { aTitle, aVisible, aGrid };

QTableWidgetItem* checkItem(bool on) {
    auto* item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool checked(const QTableWidget* t, int row, int column) { return t->item(row, column)->checkState() == Qt::Checked; }

// The name a series' row shows: its title in the chart's design ("Kurswerte",
// "Kerzen", "Renko"). The ids ("Series1", "RenkoReihe") only name the settings, and
// the title column is the user's to change, so it cannot name the row.
QString seriesCaption(const QString& prefix, const SeriesStyle& s) {
    for (const ChartAppearance& design : {priceChartDesign(), intradayChartDesign(), comparisonChartDesign()}) {
        if (design.prefix != prefix) continue;
        if (const SeriesStyle* d = design.find(s.name); d && !d->title.isEmpty()) return d->title;
    }
    return s.title.isEmpty() ? s.name : s.title;
}

}  // namespace

ChartSettingsDialog::ChartSettingsDialog(const ChartAppearance& appearance, QWidget* parent)
    : QDialog(parent), m_appearance(appearance) {
    setObjectName(QStringLiteral("ChartSettingsDialog"));
    setWindowTitle(QStringLiteral("Diagrammeigenschaften"));
    m_series = new QTableWidget(int(appearance.series.size()), 5, this);
    m_series->setHorizontalHeaderLabels({QStringLiteral("Titel"), QStringLiteral("Aktiv"), QStringLiteral("Legende"),
                                         QStringLiteral("Farbe"), QStringLiteral("Stiftbreite")});
    for (int r = 0; r < appearance.series.size(); ++r) {
        const SeriesStyle& s = appearance.series[r];
        m_series->setVerticalHeaderItem(r, new QTableWidgetItem(seriesCaption(appearance.prefix, s)));
        m_series->setItem(r, cTitle, new QTableWidgetItem(s.title));
        m_series->setItem(r, cActive, checkItem(s.active));
        m_series->setItem(r, cLegend, checkItem(s.legend));
        auto* colour = new QTableWidgetItem;
        colour->setFlags(Qt::ItemIsEnabled);
        colour->setBackground(colorOf(s.color));
        colour->setToolTip(QStringLiteral("Doppelklick wählt die Farbe"));
        m_series->setItem(r, cColor, colour);
        auto* pen = new QSpinBox(m_series);
        pen->setRange(1, 10);
        pen->setValue(std::max(1, s.penWidth));
        m_series->setCellWidget(r, cPen, pen);
    }
    // The rows' names take the room at the left: the title gets what the narrow
    // check, colour and pen columns leave.
    for (int c : {cActive, cLegend, cColor, cPen}) m_series->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    m_series->horizontalHeader()->setSectionResizeMode(cTitle, QHeaderView::Stretch);
    connect(m_series, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == cColor) chooseColor(row);
    });

    m_axes = new QTableWidget(int(appearance.axes.size()), 3, this);
    m_axes->setHorizontalHeaderLabels({QStringLiteral("Titel"), QStringLiteral("Sichtbar"), QStringLiteral("Gitter")});
    for (int r = 0; r < appearance.axes.size(); ++r) {
        const AxisStyle& a = appearance.axes[r];
        m_axes->setVerticalHeaderItem(r, new QTableWidgetItem(a.name));
        m_axes->setItem(r, aTitle, new QTableWidgetItem(a.title));
        m_axes->setItem(r, aVisible, checkItem(a.visible));
        m_axes->setItem(r, aGrid, checkItem(a.grid));
    }
    m_axes->horizontalHeader()->setSectionResizeMode(aTitle, QHeaderView::Stretch);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Reihen"), this));
    layout->addWidget(m_series, 3);
    if (!appearance.axes.isEmpty()) {
        layout->addWidget(new QLabel(QStringLiteral("Achsen"), this));
        layout->addWidget(m_axes, 1);
    } else {
        m_axes->hide();
    }
    layout->addWidget(buttons);
    resize(620, 560);
}

void ChartSettingsDialog::chooseColor(int row) {
    QTableWidgetItem* item = m_series->item(row, cColor);
    const QColor chosen = QColorDialog::getColor(item->background().color(), this, QStringLiteral("Farbe"));
    if (chosen.isValid()) item->setBackground(chosen);
}

ChartAppearance ChartSettingsDialog::appearance() const {
    ChartAppearance a = m_appearance;
    for (int r = 0; r < a.series.size(); ++r) {
        SeriesStyle& s = a.series[r];
        s.title = m_series->item(r, cTitle)->text();
        s.active = checked(m_series, r, cActive);
        s.legend = checked(m_series, r, cLegend);
        s.color = rgbOf(m_series->item(r, cColor)->background().color());
        s.penWidth = static_cast<QSpinBox*>(m_series->cellWidget(r, cPen))->value();
    }
    for (int r = 0; r < a.axes.size(); ++r) {
        a.axes[r].title = m_axes->item(r, aTitle)->text();
        a.axes[r].visible = checked(m_axes, r, aVisible);
        a.axes[r].grid = checked(m_axes, r, aGrid);
    }
    return a;
}

}  // namespace q::charts
