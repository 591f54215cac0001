// The menu command "Daten der &Windows-Version übernehmen" (Datenaustausch): asks
// for the data directory of the Windows version, imports its Paradox tables
// (importLegacy) with progress in the status bar, shows what was taken over and
// what was left out, and reopens the views.
#pragma once

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class LegacyImportCommand final : public QObject {
    Q_OBJECT
public:
    explicit LegacyImportCommand(TAktienkurse& window);
    QAction* action() const { return m_action; }

    // Asks for the directory, then imports from it. False when the user cancelled
    // or the import failed (its message was shown).
    bool run();
    // Imports from `dir` and shows the result or the failure's message.
    bool importFrom(const QString& dir);

private:
    TAktienkurse& m_window;
    QAction* m_action;
};

}  // namespace q::ui
