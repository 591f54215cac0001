// The purchase and sale assistants ("Ankaufs-Assistent", "Verkaufs-Assistent"): one
// question per step (date, shares, price, the three fee rates), then the price per
// share after costs, which is what is booked. exec() == 1 means the caller books
// datum(), anteile() and preis() and keeps fees() as the new fee rates.
#pragma once

#include "portfolio/fees.h"

#include <QDate>
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q::ui {

class TAssistent final : public QDialog {
    Q_OBJECT
public:
    TAssistent(Trade trade, QWidget* owner);

    // The values the steps start from; `wechselkurs` and `secondSymbol` serve the
    // "EURO" button and the summary in the second currency.
    void setValues(const QDate& datum, double anteile, double preis, const FeeRates& fees, double wechselkurs,
                   const QString& secondSymbol);

    QDate datum() const { return m_datum; }
    double anteile() const { return m_anteile; }
    // The price per share after costs (net ÷ shares), unrounded.
    double preis() const { return calculation().perShare; }
    const FeeRates& fees() const { return m_fees; }
    int step() const { return m_step; }

    QLineEdit* edit() const { return m_edit; }
    QPushButton* weiter() const { return m_weiter; }
    QPushButton* zurueck() const { return m_zurueck; }
    QPushButton* euro() const { return m_euro; }
    QLabel* question() const { return m_question; }
    QLabel* summary() const { return m_summary; }
    QLabel* message() const { return m_message; }

public Q_SLOTS:
    void Weiter();
    void Zurueck();
    void Euro();

private:
    FeeCalculation calculation() const;
    bool store();      // the edit's text as the value of the step; false when it is no value
    void show(int step);
    void updateSummary();

    Trade m_trade;
    int m_step = 1;
    QDate m_datum;
    double m_anteile = 1;
    double m_kurs = 0;  // price per share before costs
    FeeRates m_fees;
    double m_wechselkurs = 1;
    QString m_second;
    QString m_shown;  // the text the edit was given: unchanged, the full value stays

    QLabel* m_question;
    QLabel* m_field;
    QLineEdit* m_edit;
    QPushButton* m_euro;
    QPushButton* m_zurueck;
    QPushButton* m_weiter;
    QLabel* m_summary;
    QLabel* m_message;
};

}  // namespace q::ui
