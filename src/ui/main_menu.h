// The menu bar and tool-bar bands of the main window: every command the program
// knows, wired to its handler, or disabled with "Noch nicht verfügbar" where its
// subsystem is not built yet.
#pragma once

#include "settings/einstellungen.h"

#include <QList>
#include <QString>
#include <memory>

class QAction;
class QMenu;

namespace q::ui {

class BackupCommands;
class DataDirectoryCommand;
class DatabaseCommand;
class LegacyImportCommand;
class ListCommands;
class ExchangeCommands;
class DepotCommands;
class LimitCommands;
class PriceSourceCommands;
class PrintCommands;
class SampleUpdateCommand;
class SecurityCommands;
class TAktienkurse;
class ViewCommands;
class VideotextCommands;

class MainMenu {
public:
    explicit MainMenu(TAktienkurse& window);
    ~MainMenu();

    // The first action with this caption (accelerator "&" included); nullptr when none.
    QAction* action(const QString& caption) const;
    // Every action of the menus, in menu order.
    QList<QAction*> actions() const;

    BackupCommands& backup() { return *m_backup; }
    DataDirectoryCommand& dataDirectory() { return *m_dataDirectory; }
    DatabaseCommand& database() { return *m_database; }
    ViewCommands& view() { return *m_view; }
    SecurityCommands& securities() { return *m_securities; }
    LegacyImportCommand& legacyImport() { return *m_legacyImport; }
    ExchangeCommands& exchange() { return *m_exchange; }
    LimitCommands& limits() { return *m_limits; }
    DepotCommands& depots() { return *m_depots; }
    VideotextCommands& videotext() { return *m_videotext; }
    PriceSourceCommands& sources() { return *m_sources; }
    SampleUpdateCommand& sampleUpdate() { return *m_sampleUpdate; }
    ListCommands& lists() { return *m_lists; }
    PrintCommands& printing() { return *m_printing; }

    // The ticks and visible entries after the settings in effect and the session
    // (watch list names, news table).
    void applyValues(const Einstellungen& values);
    void storeValues(Einstellungen& values) const;

private:
    void buildMenus();
    void buildToolBars();
    QMenu* menu(const QString& title);
    QAction* unavailable(QMenu* menu, const QString& caption, const char* shortcut = nullptr);

    TAktienkurse& m_window;
    BackupCommands* m_backup;
    DataDirectoryCommand* m_dataDirectory;
    DatabaseCommand* m_database;
    ViewCommands* m_view;
    SecurityCommands* m_securities;
    LegacyImportCommand* m_legacyImport;
    ExchangeCommands* m_exchange;
    LimitCommands* m_limits;
    DepotCommands* m_depots;
    VideotextCommands* m_videotext;
    PriceSourceCommands* m_sources;
    SampleUpdateCommand* m_sampleUpdate;
    ListCommands* m_lists;
    PrintCommands* m_printing;
    QList<QMenu*> m_menus;
    QList<QMenu*> m_watchMenus;
    QMenu* m_news = nullptr;
};

}  // namespace q::ui
