// The menu command "Datenbankserver": shows and changes the setting Datenbank (the
// PostgreSQL server of the tables, or the table files). The change takes effect at
// the next start.
#pragma once

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class DatabaseCommand final : public QObject {
    Q_OBJECT
public:
    explicit DatabaseCommand(TAktienkurse& window);
    QAction* action() const { return m_action; }

    // Shows the dialog; on confirmation stores the connection. A server that does not
    // answer is kept only when the user says so.
    void run();

private:
    TAktienkurse& m_window;
    QAction* m_action;
};

}  // namespace q::ui
