#include "ui/commands/database_command.h"

#include "app/database_setting.h"
#include "ui/dialogs/database_dialog.h"
#include "ui/main_window.h"

#include <QAction>

namespace q::ui {

DatabaseCommand::DatabaseCommand(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_action = new QAction(QStringLiteral("Daten&bankserver …"), &window);
    m_action->setToolTip(QStringLiteral("Tabellen auf einem PostgreSQL-Server oder in den Tabellendateien"));
    connect(m_action, &QAction::triggered, this, &DatabaseCommand::run);
}

void DatabaseCommand::run() {
    Session& s = m_window.session();
    Interaction& ui = m_window.interaction();
    DatabaseDialog dialog(&m_window, databaseSetting(s.settings));
    if (dialog.exec() != QDialog::Accepted) return;
    const QString wanted = dialog.uri();
    if (wanted == databaseSetting(s.settings)) return;
    auto saved = setDatabaseSetting(s.settings, wanted, true);
    if (!saved && saved.status().category() == Category::Io && !wanted.isEmpty()) {
        // The server may be down just now; the user decides whether it is meant anyway.
        const QString question = saved.status().message() + QStringLiteral("\n\nSoll die Verbindung trotzdem eingetragen werden?");
        if (ui.ask(QStringLiteral("Einstellung Datenbank"), question, Answer::No) != Answer::Yes) return;
        saved = setDatabaseSetting(s.settings, wanted, false);
    }
    if (!saved) {
        ui.tell(saved.status().message());
        return;
    }
    ui.tell(wanted.isEmpty() ? QStringLiteral("Ab dem nächsten Programmstart liegen die Tabellen wieder in den Tabellendateien.")
                             : QStringLiteral("Ab dem nächsten Programmstart liegen die Tabellen auf dem Datenbankserver."));
}

}  // namespace q::ui
