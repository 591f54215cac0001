// A grid model over lots: the lot grid of the "Depotwerte" page and the bookings
// page. Prices show in the price format with the depot's decimals (a penny price
// keeps its digits), share counts with up to four places; the lots keep their
// unrounded values.
#pragma once

#include "portfolio/lot.h"

#include <QAbstractTableModel>

namespace q::ui {

class LotsModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // A column: the lot's field and its title.
    struct Column {
        QString field;
        QString title;
    };
    // The lot grid: `Anteile`, `Datum` "Ankauf", `Ankauf` "Ankaufspreis", `Verkauf`,
    // `Erloes` "Verkaufspreis", `FirmenName` "Bezeichnung".
    static QList<Column> lotGridColumns();
    // The bookings page: `FirmenName` "Bezeichnung", `Anteile`, `Datum`, `Ankauf`,
    // `Verkauf`, `Erloes` "Erlös".
    static QList<Column> bookingsColumns();

    explicit LotsModel(QList<Column> columns, QObject* parent = nullptr);

    void setLots(std::vector<Lot> lots);
    // The places of the prices shown (`DezimalStellen`).
    void setDecimals(int decimals) { m_decimals = decimals; }
    const std::vector<Lot>& lots() const { return m_lots; }
    const Lot* lotAt(int row) const;
    int rowOf(qint64 id) const;
    const QList<Column>& columns() const { return m_columns; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Column> m_columns;
    std::vector<Lot> m_lots;
    int m_decimals = 2;
};

}  // namespace q::ui
