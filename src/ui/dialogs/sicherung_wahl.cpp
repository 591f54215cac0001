#include "ui/dialogs/sicherung_wahl.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace q::ui {

TSicherungWahl::TSicherungWahl(QWidget* owner, const std::vector<BackupSet>& sets) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Sicherung wiederherstellen"));
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Sicherung"), QStringLiteral("Datum"), QStringLiteral("Tabellen (Zeilen)")});
    for (const BackupSet& set : sets) {
        QStringList tables;
        for (const SafetyCopy& c : set.copies)
            tables << QStringLiteral("%1 %2").arg(c.table, c.rows < 0 ? QStringLiteral("unlesbar") : QString::number(c.rows));
        auto* item = new QTreeWidgetItem(m_list, {set.name, formatCopyDate(set.date), tables.join(QStringLiteral(", "))});
        item->setData(0, Qt::UserRole, set.name);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (m_list->topLevelItemCount() > 0) m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->setMinimumWidth(640);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Wiederherstellen"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Welche Sicherung soll wiederhergestellt werden?"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
}

QString TSicherungWahl::chosen() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

}  // namespace q::ui
