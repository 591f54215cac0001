// A read-only grid model over rows a core query returns: the chosen fields of each
// row, formatted the German way (dates "dd.mm.yyyy", decimal comma).
#pragma once

#include "store/table.h"

#include <QAbstractTableModel>

namespace q::ui {

// The word a column header shows for a field of the data model: the stored names
// spell umlauts out and run words together (`Erloes` "Erlös", `Waehrung` "Währung",
// `FirmenName` "Name"); other fields show their name unchanged.
QString fieldCaption(const QString& field);

struct GridColumn {
    QString field;  // field name in the table
    QString title;  // column title as stored; the field's name shows as fieldCaption()
    int width = -1; // pixels; -1 leaves the view's default
};

class RecordTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }

    // Replaces the rows with those `query` finds in `table`. Columns naming a field
    // the table lacks stay empty. On failure the grid is left empty.
    Status load(Table& table, const Query& query);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The stored value (day number, price) behind a cell.
    QVariant rawValue(int row, int column) const;

private:
    QList<GridColumn> m_columns;
    QList<FieldType> m_types;  // per column; Alpha when the field is missing
    QList<QVariantList> m_rows;
};

}  // namespace q::ui
