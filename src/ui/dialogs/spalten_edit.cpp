#include "ui/dialogs/spalten_edit.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TSpaltenEdit::TSpaltenEdit(const QList<GridColumn>& columns, const QStringList& fields, QWidget* parent)
    : QDialog(parent), m_before(columns), m_fields(fields) {
    setObjectName(QStringLiteral("TSpaltenEdit"));
    setWindowTitle(QStringLiteral("Spalten bearbeiten"));
    if (m_before.isEmpty())
        for (const QString& f : fields) m_before << GridColumn{f, f};
    m_table = new QListWidget(this);
    m_table->setObjectName(QStringLiteral("Tabellefelder"));
    for (const GridColumn& c : m_before) m_table->addItem(c.field);
    m_database = new QListWidget(this);
    m_database->setObjectName(QStringLiteral("Datenbankfelder"));
    m_database->addItems(fields);
    m_in = new QPushButton(QStringLiteral("<---"), this);
    m_out = new QPushButton(QStringLiteral("--->"), this);
    connect(m_in, &QPushButton::clicked, this, &TSpaltenEdit::add);
    connect(m_out, &QPushButton::clicked, this, &TSpaltenEdit::remove);
    connect(m_database, &QListWidget::itemDoubleClicked, this, &TSpaltenEdit::add);
    connect(m_table, &QListWidget::itemDoubleClicked, this, &TSpaltenEdit::remove);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_in);
    buttons->addWidget(m_out);
    buttons->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Tabellefelder"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Datenbankfelder"), this), 0, 2);
    grid->addWidget(m_table, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(m_database, 1, 2);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(box);
}

void TSpaltenEdit::add() {
    const QListWidgetItem* chosen = m_database->currentItem();
    if (!chosen) return;
    // A field is shown once; taking it in again only selects it.
    const auto present = m_table->findItems(chosen->text(), Qt::MatchFixedString);
    if (!present.isEmpty()) {
        m_table->setCurrentItem(present.first());
        return;
    }
    // The new column goes after the selected one, or at the end.
    const int at = m_table->currentRow() < 0 ? m_table->count() : m_table->currentRow() + 1;
    m_table->insertItem(at, chosen->text());
    m_table->setCurrentRow(at);
}

void TSpaltenEdit::remove() {
    const int row = m_table->currentRow();
    if (row >= 0) delete m_table->takeItem(row);
}

QList<GridColumn> TSpaltenEdit::columns() const {
    QList<GridColumn> result;
    // A grid without columns of its own shows every field of its table.
    if (m_table->count() == 0)
        for (const QString& f : m_fields) result << GridColumn{f, f};
    for (int i = 0; i < m_table->count(); ++i) {
        const QString field = m_table->item(i)->text();
        GridColumn column{field, field};
        for (const GridColumn& c : m_before)
            if (c.field.compare(field, Qt::CaseInsensitive) == 0) column = c;
        result << column;
    }
    return result;
}

}  // namespace q::ui
