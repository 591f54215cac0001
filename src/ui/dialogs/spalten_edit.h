// The column editor "Spalten bearbeiten" of a grid: the grid's columns on the left
// ("Tabellefelder"), every field of its table on the right ("Datenbankfelder");
// "<---" or a double click on the right takes a field into the grid, "--->" or a
// double click on the left takes it out. OK gives the columns in the left list's
// order.
#pragma once

#include "ui/record_model.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace q::ui {

class TSpaltenEdit final : public QDialog {
    Q_OBJECT
public:
    // `columns`: the grid's columns (empty: one per field of `fields`, in their order).
    TSpaltenEdit(const QList<GridColumn>& columns, const QStringList& fields, QWidget* parent);

    // The columns in the left list's order; a column the grid had keeps its title and
    // width, a new one is titled with its field name. An empty list gives one column
    // per field, as a grid without columns of its own has.
    QList<GridColumn> columns() const;

    QListWidget* tableFields() const { return m_table; }
    QListWidget* databaseFields() const { return m_database; }
    QPushButton* takeIn() const { return m_in; }
    QPushButton* takeOut() const { return m_out; }

private:
    void add();
    void remove();

    QList<GridColumn> m_before;
    QStringList m_fields;
    QListWidget* m_table;
    QListWidget* m_database;
    QPushButton* m_in;
    QPushButton* m_out;
};

}  // namespace q::ui
