#include "ui/dialogs/wertwahl_form.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TWertWahlForm::TWertWahlForm(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Wertpapier auswählen"));
    m_list = new QListWidget(this);
    m_list->setMinimumSize(280, 320);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

void TWertWahlForm::setItems(const QStringList& firmenNamen) {
    m_list->clear();
    m_list->addItems(firmenNamen);
}

void TWertWahlForm::setItemIndex(int index) { m_list->setCurrentRow(index); }

int TWertWahlForm::itemIndex() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

}  // namespace q::ui
