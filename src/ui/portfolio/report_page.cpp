#include "ui/portfolio/report_page.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace q::ui {

QPushButton* pageButton(QWidget* parent, const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(hint);
    return b;
}

void showSecondCurrency(QCheckBox& box, const QString& symbol) {
    box.setText(QStringLiteral(" in ") + symbol);
    // Without a second currency there is nothing to show the amounts in.
    box.setEnabled(!symbol.isEmpty());
    box.setToolTip(symbol.isEmpty() ? QStringLiteral("Keine 2. Währung eingestellt (Ländereinstellung)") : QString());
    if (symbol.isEmpty()) box.setChecked(false);
}

QHBoxLayout* totalLabels(QWidget* parent, QLabel** labels, int count) {
    auto* row = new QHBoxLayout;
    for (int i = 0; i < count; ++i) {
        labels[i] = new QLabel(parent);
        labels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        row->addWidget(labels[i]);
    }
    return row;
}

}  // namespace q::ui
