#include "ui/portfolio/depot_commands.h"

#include "app/depot_switch.h"
#include "base/text_files.h"
#include "portfolio/depot_password.h"
#include "portfolio/depots.h"
#include "portfolio/lot.h"
#include "store/table.h"
#include "ui/dialogs/data_directory_dialog.h"
#include "ui/main_window.h"
#include "ui/portfolio/depot_passwort.h"
#include "ui/portfolio/holdings_page.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

namespace q::ui {

DepotCommands::DepotCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    const auto action = [this](const char* caption, bool (DepotCommands::*run)()) {
        auto* a = new QAction(QString::fromUtf8(caption), this);
        connect(a, &QAction::triggered, this, [this, run] { (this->*run)(); });
        return a;
    };
    m_choose = action("Depo&t auswählen", &DepotCommands::auswaehlen);
    m_create = action("Depot &anlegen", &DepotCommands::anlegen);
    m_delete = action("Depot &löschen", &DepotCommands::loeschen);
    m_password = action("Depot &Passwort", &DepotCommands::passwort);
    m_clearPassword = action("Depot Pass&word löschen", &DepotCommands::passwortLoeschen);
    m_import = action("De&potdatei einlesen", &DepotCommands::einlesen);
}

QList<QAction*> DepotCommands::actions() const { return {m_choose, m_create, m_delete, m_password, m_clearPassword, m_import}; }

std::optional<QString> DepotCommands::chooseDepot(const QString& caption) {
    Session& s = m_window.session();
    DataDirectoryDialog::Texts texts;
    texts.title = caption;
    texts.label = QStringLiteral("Depot:");
    texts.browseTitle = QStringLiteral("wählen Sie ein Verzeichnis oder geben Sie einen neuen Namen ein");
    texts.filter = QStringLiteral("Depot Datenbank|Transaktionen.db");
    texts.proposedFile = kLots;
    DataDirectoryDialog dialog(&m_window, s.dirs.depot, recentDepots(s.settings), texts);
    if (dialog.exec() != QDialog::Accepted || dialog.directory().isEmpty()) return std::nullopt;
    return dialog.directory();
}

bool DepotCommands::useDepot(const QString& dir) {
    Status switched = [&] {
        WaitCursor wait;
        return switchDepot(m_window.session(), dir, m_window.interaction());
    }();
    if (!switched) m_window.interaction().tell(switched.message());
    m_window.reopenViews();
    if (!switched) return false;
    // The holdings page of the new depot; its first showing asks where the value
    // history of a new depot begins.
    if (m_window.pages()->currentWidget() == m_window.holdingsPage()) m_window.holdingsPage()->activate();
    else m_window.pages()->setCurrentWidget(m_window.holdingsPage());
    return true;
}

bool DepotCommands::auswaehlen() {
    const auto chosen = chooseDepot(QStringLiteral("Wählen Sie den Namen des Depots"));
    if (!chosen) return false;
    return useDepot(depotDirOfChoice(QDir(m_window.session().dirs.data).absoluteFilePath(*chosen)));
}

bool DepotCommands::anlegen() {
    Session& s = m_window.session();
    const auto name = m_window.interaction().input(QStringLiteral("Neues Depot anlegen"), QStringLiteral("Geben Sie die Bezeichnung des Depots ein:"));
    if (!name || name->trimmed().isEmpty()) return false;
    auto dir = depotDirFor(s.dirs.data, *name);
    if (!dir) {
        m_window.interaction().tell(dir.status().message());
        return false;
    }
    return useDepot(*dir);
}

bool DepotCommands::loeschen() {
    const auto chosen = chooseDepot(QStringLiteral("Wählen Sie den Namen des zu löschenden Depots"));
    if (!chosen) return false;
    if (m_window.interaction().ask(QStringLiteral("Depot löschen"), QStringLiteral("Wollen Sie wirklich das Depot %1 löschen?").arg(*chosen),
                                   Answer::No) != Answer::Yes)
        return false;
    Session& s = m_window.session();
    Status deleted = deleteDepot(s, depotDirOfChoice(QDir(s.dirs.data).absoluteFilePath(*chosen)), m_window.interaction());
    if (!deleted) m_window.interaction().tell(deleted.message());
    m_window.reopenViews();
    return deleted.isOk();
}

bool DepotCommands::passwort() {
    TDepotPasswort dialog(&m_window, m_window.interaction());
    if (dialog.exec() != QDialog::Accepted) return false;
    Session& s = m_window.session();
    auto lots = s.store.table(kLots);
    const Status set = lots ? setDepotPassword((*lots)->db(), dialog.password()) : lots.status();
    m_window.interaction().tell(set ? QStringLiteral("Passwort gesetzt") : QStringLiteral("Passwort konnte nicht gesetzt werden"));
    m_window.reopenViews();
    return set.isOk();
}

bool DepotCommands::passwortLoeschen() {
    Session& s = m_window.session();
    auto lots = s.store.table(kLots);
    const Status cleared = lots ? setDepotPassword((*lots)->db(), QString()) : lots.status();
    m_window.interaction().tell(cleared ? QStringLiteral("Passwort gelöscht") : QStringLiteral("Passwort konnte nicht gelöscht werden"));
    m_window.reopenViews();
    return cleared.isOk();
}

bool DepotCommands::einlesen() {
    Session& s = m_window.session();
    const auto file = m_window.interaction().chooseFile(QStringLiteral("Depotdatei einlesen"), QStringLiteral("Depotdateien|Transaktionen.DB"),
                                                        withSlash(s.dirs.install) + kLots);
    if (!file) return false;
    const QString name = depotName(QFileInfo(*file).absolutePath());
    auto locked = depotProtected(*file);
    if (!locked) {
        m_window.interaction().tell(locked.status().message());
        return false;
    }
    if (*locked) {
        const auto password = m_window.interaction().input(QStringLiteral("Depot-Paßwort eingeben"),
                                                           QStringLiteral("Paßwort:(%1)").arg(name), true);
        if (!password) return false;
        if (Status ok = checkDepotPassword(*file, *password, name); !ok) {
            m_window.interaction().tell(ok.message());
            return false;
        }
    }
    auto r = [&] {
        WaitCursor wait;
        return importDepot(s.store, *file);
    }();
    if (!r) {
        m_window.interaction().tell(r.status().message());
        return false;
    }
    m_window.showStatus(QStringLiteral("Aus Depot %1 eingelesen: %2 Posten, %3 schon vorhanden").arg(r->depot).arg(r->added).arg(r->duplicates));
    m_window.reopenViews();
    return r->added > 0;
}

}  // namespace q::ui
