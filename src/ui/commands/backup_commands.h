// Menu commands of the safety copies: "akt. Datenbank &sichern" (Sicherung1Click),
// "Sicherung &wiederherstellen" (Sicherungwiederherstellen1Click) and the switch
// "&automatische Sicherung" (`AutoSpeichern`).
#pragma once

#include "settings/einstellungen.h"

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class BackupCommands final : public QObject {
    Q_OBJECT
public:
    explicit BackupCommands(TAktienkurse& window);

    QAction* sichern() const { return m_sichern; }
    QAction* wiederherstellen() const { return m_wiederherstellen; }
    QAction* automatisch() const { return m_automatisch; }

    void applyValues(const Einstellungen& values);
    void storeValues(Einstellungen& values) const;

    // Copies the tables with the status window "Sichere aktuelle Quintara Datenbank";
    // a failure shows "Datenbank konnte nicht gesichert werden!". True when done.
    bool Sicherung1Click();
    // Puts the copies back after the question, repairs the indexes, reopens the views.
    void Sicherungwiederherstellen1Click();

private:
    TAktienkurse& m_window;
    QAction* m_sichern;
    QAction* m_wiederherstellen;
    QAction* m_automatisch;
};

}  // namespace q::ui
