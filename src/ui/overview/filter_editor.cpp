#include "ui/overview/filter_editor.h"

#include "overview/filter_expression.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TFilterEditor::TFilterEditor(TAktienkurse& window, const QString& filter, QWidget* parent)
    : QDialog(parent ? parent : &window), m_window(window), m_accepted(filter) {
    setWindowTitle(QStringLiteral("Filtereditor"));
    m_fields = new QListWidget(this);
    if (auto firma = window.session().store.table(QStringLiteral("Firma.db")))
        for (const Field& f : (*firma)->layout().fields) m_fields->addItem(f.name);
    auto* take = new QPushButton(QStringLiteral("<---"), this);
    m_field = new QLineEdit(this);
    m_field->setReadOnly(true);
    m_op = new QComboBox(this);
    m_op->addItems({QStringLiteral("<"), QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<>")});
    m_op->setCurrentText(QStringLiteral(">"));
    m_combination = new QComboBox(this);
    m_combination->addItems({QStringLiteral("AND"), QStringLiteral("OR")});
    m_value = new QLineEdit(this);
    auto* insert = new QPushButton(QStringLiteral("Bedingung einfügen"), this);
    m_text = new QPlainTextEdit(filter, this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Datenbankfeld"), m_field);
    form->addRow(QStringLiteral("Vergleich"), m_op);
    form->addRow(QStringLiteral("Wert"), m_value);
    form->addRow(QStringLiteral("Verknüpfung"), m_combination);
    form->addRow(insert);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Datenbankfelder"), this));
    left->addWidget(m_fields, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(take);
    top->addLayout(form, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_text);
    layout->addWidget(buttons);

    connect(take, &QPushButton::clicked, this, &TFilterEditor::FeldUebernehmen);
    connect(m_fields, &QListWidget::itemDoubleClicked, this, &TFilterEditor::FeldUebernehmen);
    connect(insert, &QPushButton::clicked, this, &TFilterEditor::BedingungEinfuegen);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFilterEditor::Uebernehmen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 420);
}

void TFilterEditor::FeldUebernehmen() {
    if (QListWidgetItem* item = m_fields->currentItem()) m_field->setText(item->text());
}

void TFilterEditor::BedingungEinfuegen() {
    if (m_field->text().isEmpty()) {
        m_window.interaction().tell(QStringLiteral("Fügen Sie zuerst ein Datenbankfeld ein"));
        return;
    }
    m_text->setPlainText(appendCondition(m_text->toPlainText(), m_combination->currentText(), m_field->text(),
                                         m_op->currentText(), m_value->text()));
}

void TFilterEditor::Uebernehmen() {
    auto firma = m_window.session().store.table(QStringLiteral("Firma.db"));
    if (!firma) {
        m_window.interaction().tell(firma.status().message());
        return;
    }
    auto parsed = FilterExpression::parse(m_text->toPlainText(), (*firma)->layout());
    if (!parsed) {
        m_window.interaction().tell(parsed.status().message());
        return;
    }
    m_accepted = m_text->toPlainText().trimmed();
    accept();
}

}  // namespace q::ui
