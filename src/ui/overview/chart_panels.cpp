#include "ui/overview/chart_panels.h"

#include "acquisition/manual_entry.h"
#include "app/chart_sources.h"
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "charts/chart_export.h"
#include "charts/chart_settings_dialog.h"
#include "overview/chart_limit.h"
#include "ui/main_window.h"
#include "ui/printing.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace q::ui {

PriceChartPanel::PriceChartPanel(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("priceChartPanel"));
    m_chart = new charts::PriceChart(this);
    m_legend = new QCheckBox(QStringLiteral("Legende"), this);
    m_log = new QCheckBox(QStringLiteral("Log.Achse"), this);
    m_draw = new QCheckBox(QStringLiteral("Linien zeichnen"), this);
    auto* properties = new QPushButton(QStringLiteral("Diagrammeigenschaften"), this);
    m_drawing = new QComboBox(this);
    m_drawing->setObjectName(QStringLiteral("priceDrawing"));
    m_drawing->addItems({QStringLiteral("Linie"), QStringLiteral("Kerzen"), QStringLiteral("Renko")});
    m_drawing->setToolTip(QStringLiteral("Darstellung der Kurse"));
    m_candleDays = new QSpinBox(this);
    m_candleDays->setObjectName(QStringLiteral("candleDays"));
    m_candleDays->setRange(1, 90);
    m_candleDays->setSuffix(QStringLiteral(" Tage je Kerze"));
    m_candleDays->setToolTip(QStringLiteral("Kurstage je Kerze (1: aus den Intraday-Kursen)"));
    connect(m_drawing, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        ChartAppearance look = m_chart->appearance();
        setPriceDrawing(look, PriceDrawing(index));
        m_chart->setAppearance(look);
        m_candleDays->setEnabled(index == int(PriceDrawing::Candles));
    });
    connect(m_candleDays, &QSpinBox::editingFinished, this, [this] {
        Einstellungen& v = m_window.session().values;
        if (v.integer(QStringLiteral("Candle_Tage")) == m_candleDays->value()) return;
        v.set(QStringLiteral("Candle_Tage"), SettingValue::integer(m_candleDays->value()));
        Q_EMIT refillRequested();
    });
    connect(m_legend, &QCheckBox::toggled, this, [this](bool on) {
        m_chart->setLegendShown(on);
        m_window.session().values.set(QStringLiteral("LegendVisible"), SettingValue::truth(on));
    });
    connect(m_log, &QCheckBox::toggled, m_chart, &charts::PriceChart::setLogAxis);
    connect(m_draw, &QCheckBox::toggled, m_chart, &charts::PriceChart::setDrawingLines);
    connect(properties, &QPushButton::clicked, this, &PriceChartPanel::editSettings);
    connect(m_chart, &charts::PriceChart::limitDragged, this, &PriceChartPanel::limitDragged);
    connect(m_chart, &charts::PriceChart::notice, &m_window, &TAktienkurse::showStatus);
    buildMenu();

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_drawing);
    boxes->addWidget(m_candleDays);
    boxes->addWidget(m_legend);
    boxes->addWidget(m_log);
    boxes->addWidget(m_draw);
    boxes->addStretch(1);
    boxes->addWidget(properties);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart, 1);
    layout->addLayout(boxes);
}

void PriceChartPanel::buildMenu() {
    m_chart->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto add = [this](const QString& text, auto slot) {
        auto* action = new QAction(text, m_chart);
        connect(action, &QAction::triggered, this, slot);
        m_chart->addAction(action);
        return action;
    };
    add(QStringLiteral("Diagramm &kopieren (BMP)"), [this] { charts::copyChart(*m_chart); });
    add(QStringLiteral("Diagramm &speichern …"), [this] {
        const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Diagramm speichern"), QString(),
                                                          QStringLiteral("PNG-Bild (*.png);;PDF-Dokument (*.pdf)"));
        if (file.isEmpty()) return;
        if (Status saved = charts::saveChart(*m_chart, file); !saved) m_window.showStatus(saved.message());
    });
    add(QStringLiteral("Diagramm &drucken …"), [this] { printChart(this, *m_chart); });
    add(QStringLiteral("&Linie löschen"), [this] { m_chart->deleteSelectedLine(); });
    add(QStringLiteral("alle Linien löschen"), [this] {
        m_chart->deleteAllLines();
        m_chart->replot();
    });
    m_rightAxis = add(QStringLiteral("rechte Achse Prozent"), [this](bool on) {
        m_window.session().values.set(QStringLiteral("RechteAchse"), SettingValue::truth(on));
        Q_EMIT refillRequested();
    });
    m_rightAxis->setCheckable(true);
    add(QStringLiteral("Diagrammeigenschaften"), [this] { editSettings(); });
}

void PriceChartPanel::applyValues() {
    const Einstellungen& v = m_window.session().values;
    m_legend->setChecked(v.truth(QStringLiteral("LegendVisible")));
    m_chart->setLegendShown(m_legend->isChecked());
    const QSignalBlocker quiet(m_rightAxis);
    m_rightAxis->setChecked(v.truth(QStringLiteral("RechteAchse")));
    m_chart->setDecimals(regionalSettings(m_window.session()).decimals);
    const QSignalBlocker still(m_candleDays);
    m_candleDays->setValue(v.integer(QStringLiteral("Candle_Tage")));
    showDrawing();
}

void PriceChartPanel::showDrawing() {
    const PriceDrawing drawing = priceDrawingOf(m_chart->appearance());
    m_drawing->setCurrentIndex(int(drawing));
    m_candleDays->setEnabled(drawing == PriceDrawing::Candles);
}

void PriceChartPanel::showAnalysis(const SecurityAnalysis* analysis, const QString& title) {
    if (!analysis || !analysis->fill.enoughPrices) {
        m_chart->clearChart(title);
        return;
    }
    auto data = priceChartOf(m_window.session(), *analysis, today());
    if (!data) {
        m_window.showStatus(data.status().message());
        m_chart->clearChart(title);
        return;
    }
    m_chart->show(*data);
}

void PriceChartPanel::editSettings() {
    charts::ChartSettingsDialog dialog(m_chart->appearance(), this);
    if (dialog.exec() == QDialog::Accepted) m_chart->setAppearance(dialog.appearance());
    showDrawing();
}

void PriceChartPanel::limitDragged(LimitLine line, double value) {
    const int firma = m_chart->data().firma;
    if (firma <= 0) return;
    auto stored = storeChartLimit(m_window.session().store, firma, line, value);
    if (!stored) {
        m_window.showStatus(stored.status().message());
        return;
    }
    if (!*stored) return;
    const QString which = line == LimitLine::Upper ? QStringLiteral("Oberes Limit") : QStringLiteral("Unteres Limit");
    m_window.showStatus(QStringLiteral("%1: %2").arg(which, formatGeneral(**stored)));
}

IntradayDayPanel::IntradayDayPanel(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("intradayDayPanel"));
    m_chart = new charts::IntradayPlot(this);
    m_minutes = new QSpinBox(this);
    m_minutes->setRange(5, 720);
    m_minutes->setSingleStep(5);
    m_minutes->setValue(15);
    m_minutes->setSuffix(QStringLiteral(" Minuten"));
    m_candles = new QCheckBox(QStringLiteral("Kerzen"), this);
    const auto redraw = [this] {
        ChartAppearance look = m_chart->appearance();
        if (SeriesStyle* s = look.find(QStringLiteral("Series2"))) s->active = m_candles->isChecked();
        m_chart->setAppearance(look);
        m_window.session().values.set(QStringLiteral("Candle2_Tage"), SettingValue::integer(m_minutes->value()));
        if (m_firma > 0) m_chart->show(m_name, m_day, m_ticks, m_minutes->value());
    };
    connect(m_minutes, qOverload<int>(&QSpinBox::valueChanged), this, redraw);
    connect(m_candles, &QCheckBox::toggled, this, redraw);
    auto* row = new QHBoxLayout;
    row->addWidget(m_candles);
    row->addWidget(m_minutes);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart, 1);
    layout->addLayout(row);
}

void IntradayDayPanel::applyValues() {
    const Einstellungen& v = m_window.session().values;
    if (v.has(QStringLiteral("Candle2_Tage"))) m_minutes->setValue(std::clamp(v.integer(QStringLiteral("Candle2_Tage")), 5, 720));
}

bool IntradayDayPanel::showDay(int firma, const QString& name, const QDate& day, double rowKurs) {
    m_firma = firma;
    m_name = name;
    m_day = day;
    m_ticks.clear();
    if (firma <= 0 || !day.isValid()) return false;
    auto read = loadIntradayDay(m_window.session(), firma, day, today());
    if (!read) {
        m_window.showStatus(read.status().message());
        return false;
    }
    m_ticks = read->ticks;
    m_candles->setChecked(m_chart->appearance().find(QStringLiteral("Series2"))->active);
    m_chart->show(name, day, m_ticks, m_minutes->value());
    if (const auto close = dailyCloseFromIntraday(day, rowKurs, *read)) {
        auto entered = enterPrice(m_window.session().store, firma, day, *close, true);
        if (!entered) m_window.showStatus(entered.status().message());
        else Q_EMIT closeUpdated();
    }
    return !m_ticks.empty();
}

}  // namespace q::ui
