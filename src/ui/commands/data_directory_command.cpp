#include "ui/commands/data_directory_command.h"

#include "app/data_directory.h"
#include "ui/dialogs/data_directory_dialog.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>

namespace q::ui {

DataDirectoryCommand::DataDirectoryCommand(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_action = new QAction(QStringLiteral("Daten-Verzeichnis"), &window);
    m_action->setToolTip(QStringLiteral("Verzeichnis der Datenbank wählen"));
    connect(m_action, &QAction::triggered, this, &DataDirectoryCommand::run);
}

void DataDirectoryCommand::run() {
    Session& s = m_window.session();
    DataDirectoryDialog dialog(&m_window, s.dirs.data, recentDataDirectories(s.settings));
    if (dialog.exec() != QDialog::Accepted || dialog.directory().isEmpty()) return;
    change(dialog.directory());
}

bool DataDirectoryCommand::change(const QString& dir) {
    Status changed = [&] {
        WaitCursor wait;
        return changeDataDirectory(m_window.session(), dir, m_window.interaction());
    }();
    if (!changed) m_window.interaction().tell(changed.message());
    m_window.reopenViews();
    return changed.isOk();
}

}  // namespace q::ui
