#include "ui/commands/legacy_import_command.h"

#include "exchange/legacy_import.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>

namespace q::ui {

namespace {
const QString kTitle = QStringLiteral("Daten der Windows-Version übernehmen");
}  // namespace

LegacyImportCommand::LegacyImportCommand(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_action = new QAction(QStringLiteral("Daten der &Windows-Version übernehmen"), &window);
    m_action->setToolTip(
        QStringLiteral("Wertpapiere, Kurse, Volumen und Depot aus den Paradox-Tabellen der Windows-Version übernehmen"));
    connect(m_action, &QAction::triggered, this, &LegacyImportCommand::run);
}

bool LegacyImportCommand::run() {
    auto dir = m_window.interaction().chooseDirectory(QStringLiteral("Datenverzeichnis der Windows-Version wählen"),
                                                      m_window.session().dirs.data);
    if (!dir) return false;
    return importFrom(*dir);
}

bool LegacyImportCommand::importFrom(const QString& dir) {
    Result<LegacyReport> report = [&] {
        WaitCursor wait;
        return importLegacy(m_window.session().store, dir, m_window.progress());
    }();
    m_window.progressDone();
    m_window.reopenViews();
    if (!report) {
        m_window.interaction().tell(report.status().message(), kTitle);
        return false;
    }
    qint64 added = 0;
    for (const LegacyTableReport& t : report->tables) added += t.added;
    m_window.showStatus(QStringLiteral("Daten der Windows-Version übernommen: %1 neue Zeilen").arg(added));
    m_window.interaction().tell(describeLegacyReport(*report).join(QLatin1Char('\n')), kTitle);
    return true;
}

}  // namespace q::ui
