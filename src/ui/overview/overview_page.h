// The page "&Kursübersicht" of the main window: the inner pages "Kurs" (statistics,
// info texts, rating picture and index, limit notice), "Gewinn" (the open
// position), "Depotwerte", "Information" (notes, shown only when there are some) and
// "Limits", and below them the price list, its second view with the calculated
// columns (menu "Kursd&ifferenz berechnen") and the volume list. Filled by the
// core's fill pass; no number is computed here.
#pragma once

#include "analysis/security_analysis.h"

#include <QMap>
#include <QWidget>
#include <optional>

class QCustomPlot;
class QLabel;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTextBrowser;
class QToolButton;

namespace q::ui {

class IntradayDayPanel;
class LimitsPanel;
class LotsPage;
class PriceChartPanel;
class RecordTableModel;
class TAktienkurse;
class Wertentwicklung;

class OverviewPage final : public QWidget {
    Q_OBJECT
public:
    OverviewPage(TAktienkurse& window, RecordTableModel* prices, RecordTableModel* volumes);

    // Fills the page for `firma` (0: none): the lists, the fill pass with its writes
    // (broken price rows deleted, the stored long average updated), the figures and
    // the rating. A security with one price or none shows empty figures. A failure
    // shows the database message in the status bar and leaves the figures empty.
    void showSecurity(int firma);
    // Shows or hides the second price view with "Differenz" and "DiffGlD".
    void setDifferences(bool on);
    bool differencesShown() const;

    QTableView* priceGrid() const { return m_priceGrid; }
    QTableView* volumeGrid() const { return m_volumeGrid; }
    QTableWidget* differenceGrid() const { return m_differences; }
    LotsPage* lotsPage() const { return m_lots; }
    QTabWidget* innerPages() const { return m_inner; }
    LimitsPanel* limitsPanel() const { return m_limitsPanel; }
    // `Kurs` of the selected row of the price list (its last row when none is
    // selected); nullopt while the list is empty.
    std::optional<double> selectedPrice() const;
    QCustomPlot* profitChart() const { return m_profit; }
    Wertentwicklung* development() const { return m_development; }
    QToolButton* developmentButton() const { return m_developmentButton; }
    // The small button of the position line: the value development window with the
    // price of the selected row of the price list; nothing while that list is empty.
    void showDevelopment();
    // The column editor "Spalten bearbeiten" of the price or volume list (its context
    // menu); on OK the list gets the chosen columns in their order.
    void editColumns(QTableView* grid);
    // The text shown beside a caption of the panel ("Stochastik", "Mittelwert", …),
    // and of "Bewertung", "Index" and "Limit erreicht".
    QString figureText(const QString& caption) const;
    const std::optional<SecurityAnalysis>& analysis() const { return m_analysis; }
    // The price chart of the page "Kurs" and the page "Intraday" (shown while the
    // current row's day has intraday prices).
    PriceChartPanel* chartPanel() const { return m_chartPanel; }
    // The scrolling statistics panel below the chart.
    QScrollArea* statisticsArea() const { return m_statistics; }
    IntradayDayPanel* intradayPanel() const { return m_intradayPanel; }
    // Shows the intraday prices of the price list's current row.
    void showIntradayDay();
    // "Intraday-Kurse löschen": the archive of the current row's day; with
    // `andEarlier` ("Intrday-Kurse der letzten Monate löschen") those of every
    // earlier row's day too. Each after the user's yes.
    void deleteIntradayDays(bool andEarlier);

protected:
    // The lists' columns fit the page's new size (a number is never cut).
    void resizeEvent(QResizeEvent* event) override;
    // Until the user drags a splitter handle, the page shares its height by rule: the
    // lists get room for their newest rows, the statistics over a quarter of the rest (at
    // least their first lines), the chart all the remainder.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildKursPage();
    void clearFigures();
    void showAnalysis(const SecurityAnalysis& a);
    void fillDifferences();
    void loadLists();
    // Gives the lower part of `split` (of `height` pixels) `lower` pixels, at most
    // half, and the upper part the rest.
    static void shareHeight(QSplitter& split, int height, int lower);
    int listsHeight() const;
    int statisticsHeight(int height) const;

    TAktienkurse& m_window;
    RecordTableModel* m_prices;
    RecordTableModel* m_volumes;
    int m_firma = 0;
    std::optional<SecurityAnalysis> m_analysis;

    QTabWidget* m_inner = nullptr;
    LimitsPanel* m_limitsPanel = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_limit = nullptr;
    QLabel* m_position = nullptr;
    QTextBrowser* m_notes = nullptr;
    QWidget* m_notesPage = nullptr;
    QWidget* m_profitPage = nullptr;
    QCustomPlot* m_profit = nullptr;
    LotsPage* m_lots = nullptr;
    Wertentwicklung* m_development = nullptr;
    QToolButton* m_developmentButton = nullptr;
    QMap<QString, QLabel*> m_figures;  // by caption
    QTableView* m_priceGrid = nullptr;
    QTableView* m_volumeGrid = nullptr;
    QTableWidget* m_differences = nullptr;
    QWidget* m_differencesBox = nullptr;
    PriceChartPanel* m_chartPanel = nullptr;
    QScrollArea* m_statistics = nullptr;
    QSplitter* m_pageSplit = nullptr;   // the inner pages above the lists
    QSplitter* m_chartSplit = nullptr;  // the chart above the statistics
    QWidget* m_lists = nullptr;
    IntradayDayPanel* m_intradayPanel = nullptr;
};

}  // namespace q::ui
