// The stored layout of a grid: its font (`Grid`g`FontName`, `FontColor`, `FontSize`,
// `FontStyle`) and its columns (`Grid`g`Width`i, `Name`i, `Title`i), taken from the
// settings in effect at start and put back there before closing.
#pragma once

#include "settings/einstellungen.h"
#include "ui/record_model.h"

#include "store/store.h"

#include <QTableView>

namespace q::ui {

// The columns of grid g: the stored ones when `Grid`g`FontName` exists (as the
// program has always done: without a font the column values are not looked at),
// else `design`. A stored column naming a field `known` does not list is dropped,
// so a hand-edited settings file cannot give a grid that shows nothing.
QList<GridColumn> storedGridColumns(const Einstellungen& values, int grid, const QList<GridColumn>& design,
                                    const QStringList& known);

// The field names of the table file `file` in their order; empty when it cannot be
// opened.
QStringList tableFields(Store& store, const QString& file);

// Applies the stored font of grid g to the view (nothing when absent).
void applyGridFont(const Einstellungen& values, int grid, QTableView& view);

// Widens every right-aligned (number) column of `view` that is too narrow for its
// widest text, then narrows the other columns' excess so that all fit the view's
// width where they can. A number is never cut: when even that is not enough, the
// view elides on the left ("…8,57"). A view not shown yet is only widened.
void fitNumberColumns(QTableView& view);

// Replaces the grid's values with the view's current font and columns.
void storeGridLayout(Einstellungen& values, int grid, const QTableView& view, const RecordTableModel& model);

}  // namespace q::ui
