// The bookings page ("&Buchungen"): every lot of the depot in the order the user
// clicks on the column titles, the bookings text "Depot.txt" and the payment
// booking.
#pragma once

#include <QWidget>

class QPushButton;
class QTableView;

namespace q::ui {

class LotsModel;
class TAktienkurse;

class BookingsPage final : public QWidget {
    Q_OBJECT
public:
    explicit BookingsPage(TAktienkurse& window);

    // Reads the lots in the current order. A failure shows in the status bar.
    void reload();
    // A click on the title of `column`: the next order of that column ("I" + field,
    // then "G" + field), its index made when missing.
    void sortBy(int column);
    // Writes Depot.txt and opens it.
    void Textverarbeitung();

    const QString& order() const { return m_order; }
    QTableView* grid() const { return m_grid; }
    LotsModel* model() const { return m_model; }
    QPushButton* textButton() const { return m_text; }
    QPushButton* paymentButton() const { return m_payment; }

private:
    TAktienkurse& m_window;
    QString m_order;
    LotsModel* m_model;
    QTableView* m_grid;
    QPushButton* m_text;
    QPushButton* m_payment;
};

}  // namespace q::ui
