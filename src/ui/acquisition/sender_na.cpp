#include "ui/acquisition/sender_na.h"

#include "acquisition/page_config.h"
#include "app/acquisition_binding.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TSenderNa::TSenderNa(Session& session, Interaction& ui, QWidget* owner) : QDialog(owner), m_session(session), m_ui(ui) {
    setObjectName(QStringLiteral("TSenderNa"));
    setWindowTitle(QStringLiteral("Anpassung der Senderkennungen"));
    auto stations = predefinedStations(session.store);
    auto* grid = new QGridLayout;
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(QStringLiteral("%1. %2 ändern nach ").arg(row + 1).arg(session.stations.value(row)), this), row, 0);
        m_choices[row] = new QComboBox(this);
        m_choices[row]->setEditable(true);
        m_choices[row]->addItem(QString());
        if (stations) m_choices[row]->addItems(*stations);
        grid->addWidget(m_choices[row], row, 1);
        m_rename[row] = new QPushButton(QStringLiteral("Umbenennen"), this);
        grid->addWidget(m_rename[row], row, 2);
        connect(m_rename[row], &QPushButton::clicked, this, [this, row] { rename(row); });
    }
    grid->addWidget(new QLabel(QStringLiteral("4. Kennung \"MEHR\" für Mehrsenderbetrieb"), this), 3, 0, 1, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSenderNa::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    if (!stations) ui.tell(stations.status().message());
}

void TSenderNa::rename(int row) {
    const QString old = m_session.stations.value(row);
    const auto answer = m_ui.input(QStringLiteral("Umbennen von ") + old,
                                   row == 0 ? QStringLiteral("neuer Name oder Kanalnummer (z.B. 0126): ") : QStringLiteral("neuer Name: "));
    if (!answer || answer->trimmed().isEmpty() || answer->trimmed() == old) return;
    auto changed = renameStation(m_session.store, old, answer->trimmed());
    if (!changed) {
        m_ui.tell(changed.status().message());
        return;
    }
    m_ui.tell(QStringLiteral("Umbenennen beendet! Eventuell müssen sie jetzt noch unter \"Einstellungen\"  das Intraday und Tages-Script neu schreiben."));
}

void TSenderNa::accept() {
    QStringList chosen;
    for (QComboBox* c : m_choices) chosen << c->currentText();
    if (Status st = storeStations(m_session, chosen); !st) m_ui.tell(st.message());
    QDialog::accept();
}

}  // namespace q::ui
