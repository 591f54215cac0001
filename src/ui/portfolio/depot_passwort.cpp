#include "ui/portfolio/depot_passwort.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TDepotPasswort::TDepotPasswort(QWidget* parent, Interaction& ui) : QDialog(parent), m_ui(ui) {
    setWindowTitle(QStringLiteral("Passwort für Depot festlegen"));
    m_first = new QLineEdit(this);
    m_second = new QLineEdit(this);
    for (QLineEdit* e : {m_first, m_second}) e->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("neues Passwort "), m_first);
    form->addRow(QStringLiteral("Wiederholung"), m_second);
    auto* hint = new QLabel(QStringLiteral("OK => wenn Sie jetzt noch kein Passwort\n           festlegen wollen."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("Hilfe"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TDepotPasswort::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        m_ui.tell(QStringLiteral("Zum Schutz Ihres Depots können Sie ein Passwort vergeben. Lassen Sie beide Felder frei und "
                                 "bestätigen Sie mit OK, falls Sie kein Passwort eingeben wollen."));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

QString TDepotPasswort::password() const { return m_first->text(); }

void TDepotPasswort::accept() {
    if (m_first->text() != m_second->text()) {
        m_ui.tell(QStringLiteral("Passwort stimmt nicht überein"));
        return;
    }
    QDialog::accept();
}

}  // namespace q::ui
