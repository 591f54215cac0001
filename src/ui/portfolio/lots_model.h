// A grid model over lots: the lot grid of the "Depotwerte" page and the bookings
// page. Numbers show in full (no share count or penny price is cut to two places).
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
    // `Verkauf`, `Erloes`.
    static QList<Column> bookingsColumns();

    explicit LotsModel(QList<Column> columns, QObject* parent = nullptr);

    void setLots(std::vector<Lot> lots);
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
};

}  // namespace q::ui
