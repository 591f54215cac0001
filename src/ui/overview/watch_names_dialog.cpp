#include "ui/overview/watch_names_dialog.h"

#include "app/watch_names.h"
#include "ui/main_window.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TWatchNames::TWatchNames(TAktienkurse& window, QWidget* parent) : QDialog(parent ? parent : &window), m_window(window) {
    setWindowTitle(QStringLiteral("Bezeichungen der Beobachtungslisten ändern"));
    setMinimumWidth(380);
    auto* form = new QFormLayout;
    for (int k = 1; k <= kWatchListCount; ++k) {
        auto* edit = new QLineEdit(window.session().watchNames.value(k - 1), this);
        edit->setObjectName(QStringLiteral("watchName%1").arg(k));
        form->addRow(QStringLiteral("Liste %1:").arg(k), edit);
        m_names[size_t(k - 1)] = edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TWatchNames::Uebernehmen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(QStringLiteral("Ein leerer Name blendet die Liste aus; ihre Einträge bleiben."),
                                this);
    question->setWordWrap(true);
    layout->addWidget(question);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TWatchNames::Uebernehmen() {
    for (int k = 1; k <= kWatchListCount; ++k)
        if (Status stored = storeWatchListName(m_window.session(), k, m_names[size_t(k - 1)]->text().trimmed()); !stored)
            return m_window.interaction().tell(stored.message());
    accept();
}

}  // namespace q::ui
