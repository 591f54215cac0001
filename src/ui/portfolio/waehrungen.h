// The currency dialog ("Waehrungen im Depot"): the currency records on the left, the
// securities on the right ("Kurs aus Datenbank wählen", a click fills the fields
// from the security), the fields of a record, "Eintragen" and "löschen".
#pragma once

#include "portfolio/currencies.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace q::ui {

class TWaehrungen final : public QDialog {
    Q_OBJECT
public:
    TWaehrungen(Store& store, QWidget* owner);

    // Reads the currency records and the securities. Fails with the store's message.
    Status fill();

    QTableWidget* currencies() const { return m_currencies; }
    QTableWidget* securities() const { return m_securities; }
    QLineEdit* symbol() const { return m_symbol; }
    QLineEdit* name() const { return m_name; }
    QLineEdit* faktor() const { return m_faktor; }
    QLineEdit* einheit() const { return m_einheit; }
    QCheckBox* multiplikator() const { return m_multiplikator; }
    QLabel* message() const { return m_message; }

public Q_SLOTS:
    // Adds the record of the fields; a failure is shown in the message line.
    void Eintragen();
    // Copies the selected record into the fields and deletes it.
    void Loeschen();
    // Fills the fields from the security in row `row` of the right list.
    void securityChosen(int row);

private:
    Status fillCurrencies();

    Store& m_store;
    QTableWidget* m_currencies;
    QTableWidget* m_securities;
    QLineEdit* m_symbol;
    QLineEdit* m_name;
    QLineEdit* m_faktor;
    QLineEdit* m_einheit;
    QCheckBox* m_multiplikator;
    QLabel* m_message;
    std::vector<double> m_lastPrices;  // newest price of each security row
};

}  // namespace q::ui
