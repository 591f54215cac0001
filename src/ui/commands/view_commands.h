// Menu commands of the window's own settings: "Direkthilfe" (tool tips on or off,
// `Direkthilfe`), the language menu of the chart texts (`Sprache`), and the tool-bar
// commands "Leiste &speichern" and "Leiste &laden" (the `CoolBar…` values).
#pragma once

#include "settings/einstellungen.h"

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;

namespace q::ui {

class TAktienkurse;

// The entries of the language menu, by the number stored as `Sprache`.
const QStringList& languageNames();

class ViewCommands final : public QObject {
    Q_OBJECT
public:
    explicit ViewCommands(TAktienkurse& window);

    QAction* direkthilfe() const { return m_direkthilfe; }
    QList<QAction*> languages() const;
    QAction* leisteSpeichern() const { return m_save; }
    QAction* leisteLaden() const { return m_load; }

    void applyValues(const Einstellungen& values);
    void storeValues(Einstellungen& values) const;
    bool toolTipsShown() const;

    // Writes the band layout into the settings file at once.
    void saveToolBars();
    // Reads the band layout from the settings file and arranges the bands after it.
    void loadToolBars();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TAktienkurse& m_window;
    QAction* m_direkthilfe;
    QActionGroup* m_languages;
    QAction* m_save;
    QAction* m_load;
};

}  // namespace q::ui
