// The price chart of the quote overview: the price line with its averages, marks,
// candles, Renko bricks, volume bars, the second currency line and the indicator
// lines, the momentum and stochastic axes in a panel below, the two limit lines the
// user drags, free-drawn lines and a cross-hair cursor. Everything it draws comes
// computed from the core (PriceChartData); its look from the settings (ChartAppearance).
//
// Built once: the plottables stay and only their data changes with the security, so
// a refill, a replot and a zoom rebuild nothing. Zooming and scrolling move the
// bottom axis only (mouse wheel, dragging, "+"/"-"; a double-click or "Home" shows
// everything again); the price axis and the panel below follow what is visible.
#pragma once

#include "app/chart_settings.h"
#include "charts/custom_plot.h"
#include "overview/chart_limit.h"
#include "overview/price_chart_data.h"

#include <QMap>

namespace q::charts {

class PriceChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit PriceChart(QWidget* parent = nullptr);

    // Draws `data` with the look of `appearance()`; replots.
    void show(const PriceChartData& data);
    // Nothing to show (no security): empty lines and the title `text`.
    void clearChart(const QString& text);
    const PriceChartData& data() const { return m_data; }

    const ChartAppearance& appearance() const { return m_appearance; }
    // Takes over a new look (the settings at start, the settings dialog) and redraws.
    void setAppearance(const ChartAppearance& appearance);
    // Switches one series on or off, as its legend entry does.
    void setSeriesActive(const QString& name, bool active);

    // "Legende", "Log.Achse", "Linien zeichnen".
    void setLegendShown(bool on);
    bool legendShown() const;
    void setLogAxis(bool on);
    bool logAxis() const { return m_log; }
    void setDrawingLines(bool on);
    bool drawingLines() const { return m_drawing; }
    // "&Linie löschen", "alle Linien löschen".
    void deleteSelectedLine();
    void deleteAllLines();
    int drawnLineCount() const { return int(m_drawn.size()); }

    // Shows the days from `from` to `to` (day numbers) and relabels the date axis.
    void zoomToDays(double from, double to);
    // All displayed days again.
    void zoomAll();
    // Shows a fifth fewer (`in`) or a quarter more days around the middle of the view.
    void zoomStep(bool in);

    // Decimals of the prices the cursor shows (`DezimalStellen`); 2 until set.
    void setDecimals(int decimals) { m_decimals = decimals; }
    // What the cursor shows now ("04.12.2026  234,57"); empty while it is hidden.
    QString cursorText() const;

    // The limit line's value (0 when it is hidden) and where it stands on screen.
    double limitValue(LimitLine line) const;
    QPointF limitPixel(LimitLine line) const;

    // The plottable of a series, for the tests and the settings dialog.
    QCPAbstractPlottable* plottable(const QString& name) const { return m_plottables.value(name); }
    QCPAxisRect* panel() const { return m_panel; }

Q_SIGNALS:
    // The user let go of a limit line at `value` (not yet rounded).
    void limitDragged(q::LimitLine line, double value);
    // Notices of the last show() (a Renko series left out, …).
    void notice(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // A double-click or "Home" goes back to all displayed days; "+" and "-" zoom.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    QCPAxis* valueAxis(const SeriesStyle& style) const;
    void applyAppearance();
    void placeLimits();
    void fitValueAxes();
    void onRangeChanged(const QCPRange& range);
    // The cross-hair on the day of the price line nearest to the mouse, labelled with
    // that day and its price; hidden outside the price area.
    void moveCursor(const QPointF& pixel);
    void hideCursor();

    ChartAppearance m_appearance;
    PriceChartData m_data;
    QMap<QString, QCPAbstractPlottable*> m_plottables;
    QCPGraph* m_bollingerLower = nullptr;
    QCPAxisRect* m_panel = nullptr;
    QCPAxis* m_currencyAxis = nullptr;
    QCPItemStraightLine* m_limits[2] = {nullptr, nullptr};
    QCPItemStraightLine* m_cursorX = nullptr;
    QCPItemStraightLine* m_cursorY = nullptr;
    QCPItemText* m_cursorText = nullptr;
    std::vector<QCPItemLine*> m_drawn;
    QCPItemLine* m_drawing_line = nullptr;
    int m_dragLimit = -1;
    int m_decimals = 2;
    bool m_log = false;
    bool m_drawing = false;
    bool m_fitting = false;
};

}  // namespace q::charts
