// The menu command "Daten-Verzeichnis": asks for the data directory and moves the
// run there (changeDataDirectory), then reopens the views.
#pragma once

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class DataDirectoryCommand final : public QObject {
    Q_OBJECT
public:
    explicit DataDirectoryCommand(TAktienkurse& window);
    QAction* action() const { return m_action; }

    // Shows the dialog; on confirmation changes to the chosen directory.
    void run();
    // Changes to `dir`; a failure is shown. True when the change succeeded.
    bool change(const QString& dir);

private:
    TAktienkurse& m_window;
    QAction* m_action;
};

}  // namespace q::ui
