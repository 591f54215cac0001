// The depot menu entries: "Depo&t auswählen", "Depot &anlegen", "Depot &löschen",
// "Depot &Passwort", "Depot Pass&word löschen" and "De&potdatei einlesen". Each asks
// what it needs, calls the core and shows the new depot; a failure is told and the
// old depot stays.
#pragma once

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class DepotCommands final : public QObject {
    Q_OBJECT
public:
    explicit DepotCommands(TAktienkurse& window);

    QList<QAction*> actions() const;

    // Each returns true when it changed something.
    bool auswaehlen();
    bool anlegen();
    bool loeschen();
    bool passwort();
    bool passwortLoeschen();
    bool einlesen();

    // Switches to `dir` and shows it; false (told) on failure.
    bool useDepot(const QString& dir);

private:
    std::optional<QString> chooseDepot(const QString& caption);

    TAktienkurse& m_window;
    QAction* m_choose;
    QAction* m_create;
    QAction* m_delete;
    QAction* m_password;
    QAction* m_clearPassword;
    QAction* m_import;
};

}  // namespace q::ui
