// Commands on single securities that use the companion dialogs: a new security
// ("Wertpapier &anlegen") and the editing of the selected one in the securities
// editor, the intraday value list of the selected security, the choice of a
// security from the whole list, and the about box.
#pragma once

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class SecurityCommands final : public QObject {
    Q_OBJECT
public:
    explicit SecurityCommands(TAktienkurse& window);

    QAction* anlegen() const { return m_anlegen; }
    QAction* bearbeiten() const { return m_bearbeiten; }
    QAction* auswaehlen() const { return m_auswaehlen; }
    QAction* info() const { return m_info; }

    // Each returns the dialog's result (1 confirmed), or 0 when it was not shown.
    int WertpapierAnlegen();
    int WertpapierBearbeiten();
    int IntradayWerte();
    int WertpapierAuswaehlen();
    void Info();

private:
    int editSecurity(bool isNew);

    TAktienkurse& m_window;
    QAction* m_anlegen;
    QAction* m_bearbeiten;
    QAction* m_auswaehlen;
    QAction* m_info;
};

}  // namespace q::ui
