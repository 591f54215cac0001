// The charts of the quote overview: the page "Kurs" shows the price chart with its
// check boxes ("Legende", "Log.Achse", "Linien zeichnen") and context menu, the page
// "Intraday" the day of the price list's current row. Filled from the overview's
// analysis; the data comes from the core (app/chart_sources.h).
#pragma once

#include "analysis/security_analysis.h"
#include "charts/intraday_chart.h"
#include "charts/price_chart.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QSpinBox;

namespace q::ui {

class TAktienkurse;

class PriceChartPanel final : public QWidget {
    Q_OBJECT
public:
    PriceChartPanel(TAktienkurse& window, QWidget* parent);
    // Draws the chart of `analysis` (nullptr: no security, `title` shown instead).
    void showAnalysis(const SecurityAnalysis* analysis, const QString& title = QString());
    charts::PriceChart* chart() const { return m_chart; }
    QCheckBox* legendBox() const { return m_legend; }
    QCheckBox* logBox() const { return m_log; }
    QCheckBox* drawBox() const { return m_draw; }
    // "Linie", "Kerzen", "Renko": how the price is drawn (the same series the
    // properties editor switches), and the days per candle (`Candle_Tage`).
    QComboBox* drawingBox() const { return m_drawing; }
    QSpinBox* candleDaysBox() const { return m_candleDays; }
    // "Diagrammeigenschaften".
    void editSettings();
    // Takes over the settings in effect (the legend, the right axis), after the start.
    void applyValues();

Q_SIGNALS:
    // "rechte Achse Prozent" changed: the overview fills again.
    void refillRequested();

private:
    void limitDragged(LimitLine line, double value);
    void buildMenu();
    // The drawing box after the look changed elsewhere.
    void showDrawing();
    QAction* m_rightAxis = nullptr;

    TAktienkurse& m_window;
    charts::PriceChart* m_chart;
    QCheckBox* m_legend;
    QCheckBox* m_log;
    QCheckBox* m_draw;
    QComboBox* m_drawing;
    QSpinBox* m_candleDays;
};

class IntradayDayPanel final : public QWidget {
    Q_OBJECT
public:
    IntradayDayPanel(TAktienkurse& window, QWidget* parent);
    // Shows `firma` on `day` (the row's price `rowKurs`); returns whether the day has
    // intraday prices. When they are the live ones of that day and their last price
    // differs, the day's stored price becomes that price and `closeUpdated` is emitted.
    bool showDay(int firma, const QString& name, const QDate& day, double rowKurs);
    charts::IntradayPlot* chart() const { return m_chart; }
    QSpinBox* minutesBox() const { return m_minutes; }
    // Takes over the candle interval `Candle2_Tage` of the settings in effect.
    void applyValues();

Q_SIGNALS:
    void closeUpdated();

private:
    TAktienkurse& m_window;
    charts::IntradayPlot* m_chart;
    QSpinBox* m_minutes;
    QCheckBox* m_candles;
    int m_firma = 0;
    QString m_name;
    QDate m_day;
    std::vector<IntradayTick> m_ticks;
};

}  // namespace q::ui
