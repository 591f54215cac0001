// The sold-lots page of the main window ("&Verkauft"): the realised gains of a
// period as the report view with its total labels. "JAHR", "ALLES" and "Von/Bis"
// choose the period; the totals stay for the return planner.
#pragma once

#include "portfolio/gains.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QSpinBox;
class QTextBrowser;

namespace q::ui {

class TAktienkurse;

class SoldPage final : public QWidget {
    Q_OBJECT
public:
    explicit SoldPage(TAktienkurse& window);

    // The page was switched to: a period that starts today becomes the year of the
    // year box; then the report is rebuilt.
    void activate();
    // "JAHR": 1 January to 31 December of the year box.
    void Jahr();
    // "ALLES": every sale.
    void Alles();
    // "Von/Bis": asks "Beginn der Gewinnberechnung" and "Ende der Gewinnberechnung".
    void VonBis();
    // Rebuilds gewinn.rtf and the view for the period; a period without a sale shows
    // every sale instead.
    void Gewinnberechnung();
    // The return planner for the year (the year box's, from the page's button) or,
    // with nullopt, the whole history; the page is rebuilt when it closes. Returns
    // the dialog's result (QDialog::Accepted when it stored Depot.ini).
    int Rendite(std::optional<int> year);


    GainsPeriod period() const { return m_period; }
    void setPeriod(const GainsPeriod& p) { m_period = p; }
    // The totals of the last report (0 after a period button, before its rebuild).
    double proceeds() const { return m_proceeds; }
    double invested() const { return m_invested; }
    const Gains& gains() const { return m_gains; }

    QTextBrowser* reportView() const { return m_view; }
    QLabel* header() const { return m_header; }
    QLabel* totalLabel(int i) const { return m_totals[i]; }
    QSpinBox* yearBox() const { return m_year; }
    QCheckBox* inDM() const { return m_inDM; }
    QCheckBox* details() const { return m_details; }
    void setSecondCurrency(const QString& symbol);

private:
    void clearTotals();
    void print();

    TAktienkurse& m_window;
    GainsPeriod m_period;
    Gains m_gains;
    double m_proceeds = 0;
    double m_invested = 0;
    QSpinBox* m_year = nullptr;
    QCheckBox* m_inDM = nullptr;
    QCheckBox* m_details = nullptr;
    QLabel* m_header = nullptr;
    QTextBrowser* m_view = nullptr;
    QLabel* m_totals[5] = {};
};

}  // namespace q::ui
