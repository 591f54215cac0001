// The "Depotwerte" page beside the price list: the lots of the selected security
// and the booking buttons (purchase and sale assistants, quick purchase and sale,
// transfer, dividend, reinvestment). The two sale buttons show only while an open
// lot is selected.
#pragma once

#include "portfolio/lot.h"

#include <QWidget>

class QPushButton;
class QTableView;

namespace q::ui {

class LotsModel;
class TAktienkurse;

class LotsPage final : public QWidget {
    Q_OBJECT
public:
    explicit LotsPage(TAktienkurse& window);

    // Shows the lots of `firma` (0: none), keeping the selected lot when it is there.
    void showSecurity(int firma);
    // The selected lot; nullptr when the grid is empty.
    const Lot* selectedLot() const;
    bool selectLot(qint64 id);
    // Deletes the selected lot after asking.
    void Loeschen();

    QTableView* grid() const { return m_grid; }
    LotsModel* model() const { return m_model; }
    QPushButton* ankauf() const { return m_ankauf; }
    QPushButton* verkauf() const { return m_verkauf; }
    QPushButton* ankaufKurz() const { return m_ankaufKurz; }
    QPushButton* verkaufKurz() const { return m_verkaufKurz; }

private:
    void updateButtons();

    TAktienkurse& m_window;
    int m_firma = 0;
    LotsModel* m_model;
    QTableView* m_grid;
    QPushButton* m_ankauf;
    QPushButton* m_verkauf;
    QPushButton* m_ankaufKurz;
    QPushButton* m_verkaufKurz;
};

}  // namespace q::ui
