// The holdings page of the main window ("im &Depot"): the valuation of the depot at
// the report date as the report view with its total labels, the group and branch
// bars, and the two charts of the value history. The page calls the core for every
// figure; it shows, it does not compute.
#pragma once

#include "portfolio/valuation.h"

#include <QDate>
#include <QWidget>

class QCheckBox;
class QCustomPlot;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

namespace q::ui {

class TAktienkurse;

class HoldingsPage final : public QWidget {
    Q_OBJECT
public:
    explicit HoldingsPage(TAktienkurse& window);

    // The page was switched to: the depot value and invested sum are cleared, the
    // currency factors refreshed, then "Heute".
    void activate();
    // "Heute": report date today, history backfill, valuation.
    void Heute();
    // "Datum": asks the report date ("Beginn der Depotberechnung"); cancel does nothing.
    void Datum();
    // "Neu": after the question, the value history is made anew from a start date.
    void Neu();
    // The valuation at the report date: report view, total labels, bars, the day's
    // history record. A failure is told.
    void AnlagenBerechnung();
    // The backfill of the value history up to yesterday; asks the start date when
    // there is no history yet.
    void BerechnungAnlagen();
    void DepotChart();
    void GewinnChart();
    void GruppenChart();
    void BranchenChart();

    QDate stichtag() const { return m_stichtag; }
    void setStichtag(const QDate& day) { m_stichtag = day; }
    // The last valuation's depot value and invested sum (0 before one).
    double depotValue() const { return m_depotValue; }
    double investedSum() const { return m_investedSum; }
    const Valuation& valuation() const { return m_valuation; }

    QTextBrowser* reportView() const { return m_view; }
    QLabel* header() const { return m_header; }
    QLabel* totalLabel(int i) const { return m_totals[i]; }
    QCheckBox* inDM() const { return m_inDM; }
    QCheckBox* details() const { return m_details; }
    QLabel* dividendLabel() const { return m_dividendLabel; }
    // The time-weighted return and the internal rate of the whole value history.
    QLabel* performanceLabel() const { return m_performance; }
    QCustomPlot* bars() const { return m_bars; }
    QCustomPlot* history() const { return m_history; }
    bool historyShown() const;
    // The "in DM" box's caption " in " + the second currency's symbol; without one
    // the box is off and disabled.
    void setSecondCurrency(const QString& symbol);
    // The print button: the report under "Übersicht der Anlagen am " + today.
    void print();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showHistory(bool profit);
    void showReport();
    void showPerformance();

    TAktienkurse& m_window;
    QDate m_stichtag;
    double m_depotValue = 0;
    double m_investedSum = 0;
    bool m_dividends = false;
    Valuation m_valuation;
    bool m_showBranches = false;

    QLabel* m_header;
    QTextBrowser* m_view;
    QLabel* m_totals[7] = {};
    QCheckBox* m_inDM;
    QCheckBox* m_details;
    QLabel* m_performance = nullptr;
    QLabel* m_dividendLabel;
    QStackedWidget* m_stack;
    QCustomPlot* m_bars;
    QCustomPlot* m_history;
};

}  // namespace q::ui
