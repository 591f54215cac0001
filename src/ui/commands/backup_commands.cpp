#include "ui/commands/backup_commands.h"

#include "store/data_lock.h"

#include "app/backup.h"
#include "app/startup.h"
#include "ui/dialogs/sicherung_wahl.h"
#include "ui/dialogs/statusfenster.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QFileInfo>

namespace q::ui {

namespace {

const QString kCopyPrefix = QStringLiteral("Lege Sicherheitskopie der Datei ");
const QString kCopySuffix = QStringLiteral(" an");

// Shows each copy of the backup in the status window (source and target in its
// panels) and in the main window's status bar.
class CopyProgress final : public Progress {
public:
    CopyProgress(TStatusfenster& window, Progress& bar, const Directories& dirs) : m_window(window), m_bar(bar), m_dirs(dirs) {}

    void step(const QString& text, qint64 done, qint64 total) override {
        if (text.startsWith(kCopyPrefix) && text.endsWith(kCopySuffix)) {
            const QString source = text.mid(kCopyPrefix.size(), text.size() - kCopyPrefix.size() - kCopySuffix.size());
            m_window.setLine(text);
            m_window.setPanels(source, targetOf(source));
            m_window.show();
        }
        m_bar.step(text, done, total);
    }

private:
    // The depot's tables are copied beside themselves, the market tables into the
    // backup directory, as the backup does it.
    QString targetOf(const QString& source) const {
        const QString name = QFileInfo(source).fileName();
        const bool depotTable = name.startsWith(QLatin1String("transaktionen"), Qt::CaseInsensitive) ||
                                name.startsWith(QLatin1String("anlagen"), Qt::CaseInsensitive);
        return (depotTable ? QFileInfo(source).absolutePath() + QLatin1Char('/') : m_dirs.backup) + name + QLatin1Char('~');
    }

    TStatusfenster& m_window;
    Progress& m_bar;
    const Directories& m_dirs;
};

}  // namespace

BackupCommands::BackupCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_sichern = new QAction(QStringLiteral("akt. Datenbank &sichern"), &window);
    m_wiederherstellen = new QAction(QStringLiteral("Sicherung &wiederherstellen"), &window);
    m_automatisch = new QAction(QStringLiteral("&automatische Sicherung"), &window);
    m_automatisch->setCheckable(true);
    m_sichern->setToolTip(QStringLiteral("Sicherheitskopie der Datenbank anlegen"));
    connect(m_sichern, &QAction::triggered, this, [this] { Sicherung1Click(); });
    connect(m_wiederherstellen, &QAction::triggered, this, &BackupCommands::Sicherungwiederherstellen1Click);
}

void BackupCommands::applyValues(const Einstellungen& values) {
    m_automatisch->setChecked(values.truth(QStringLiteral("AutoSpeichern")));
}

void BackupCommands::storeValues(Einstellungen& values) const {
    values.set(QStringLiteral("AutoSpeichern"), SettingValue::truth(m_automatisch->isChecked()));
}

bool BackupCommands::Sicherung1Click() {
    Session& s = m_window.session();
    WaitCursor wait;
    TStatusfenster status(&m_window);
    status.setWindowText(QStringLiteral("Sichere aktuelle Quintara Datenbank"));
    CopyProgress progress(status, m_window.progress(), s.dirs);
    auto copies = Sicherung(s.dirs, backupPolicy(s), progress);
    status.hide();
    m_window.progressDone();
    if (!copies) {
        m_window.interaction().tell(copies.status().message());
        return false;
    }
    m_window.showStatus(QStringLiteral("Datenbank gesichert (%1 Dateien)").arg(copies->copies.size()));
    return true;
}

void BackupCommands::Sicherungwiederherstellen1Click() {
    Session& s = m_window.session();
    const std::vector<BackupSet> sets = [&] {
        WaitCursor wait;
        return Sicherungen(s.dirs, true);
    }();
    if (sets.empty()) {
        m_window.interaction().tell(QStringLiteral("Es existriert keine Sicherung"));
        return;
    }
    TSicherungWahl choice(&m_window, sets);
    if (choice.exec() != QDialog::Accepted || choice.chosen().isEmpty()) return;
    // The restore replaces tables: no job of another process may write meanwhile. The
    // window does not wait for them (it would freeze); it says so and restores nothing.
    if (s.dataLock) {
        if (Status alone = s.dataLock->makeExclusive(0, {}); !alone) {
            m_window.interaction().tell(alone.message());
            return;
        }
    }
    auto restored = [&] {
        WaitCursor wait;
        return Sicherungwiederherstellen(s.dirs, s.store, m_window.interaction(), choice.chosen());
    }();
    if (s.dataLock) s.dataLock->makeShared();
    // The refused question needs no word.
    if (!restored && restored.status().category() != Category::Cancelled) m_window.interaction().tell(restored.status().message());
    m_window.reopenViews();
    if (restored) m_window.showStatus(describeRestore(*restored).join(QStringLiteral("; ")));
}

}  // namespace q::ui
