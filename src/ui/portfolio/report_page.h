// What the report pages of the depot ("im &Depot", "&Verkauft") build alike: their
// buttons, the "in DM" box of the second currency and the row of total labels.
#pragma once

#include <QString>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace q::ui {

QPushButton* pageButton(QWidget* parent, const QString& caption, const QString& hint);
// The box's caption " in " + the second currency's symbol; without one it is off
// and disabled, and says why.
void showSecondCurrency(QCheckBox& box, const QString& symbol);
// `count` labels side by side, created into `labels`; a wide text is cut rather
// than widening the page.
QHBoxLayout* totalLabels(QWidget* parent, QLabel** labels, int count);

}  // namespace q::ui
