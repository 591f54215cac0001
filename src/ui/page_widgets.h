// Small widgets the pages share: the grey note of a page not built yet and the grid
// of a table's rows.
#pragma once

#include <QString>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace q::ui {

// A centred, greyed, wrapped text.
QWidget* placeholder(QWidget* parent, const QString& text);
// A read-only row grid on `model`: whole rows selected, alternating colours, movable
// columns, no row header.
QTableView* dataGrid(QWidget* parent, QAbstractItemModel* model);

}  // namespace q::ui
