// The tool-bar bands of the main window and their stored layout: per band n of tool
// bar b, `CoolBar`[2]`Width`n, `Break`n, `Index`n and `ID`n, where n is the band's
// identity number. Read at start and by "Leiste &laden", written by "Leiste &speichern".
#pragma once

#include "settings/einstellungen.h"

#include <QList>

class QMainWindow;
class QToolBar;

namespace q::ui {

class ToolBarBands {
public:
    explicit ToolBarBands(QMainWindow& window) : m_window(window) {}

    // Registers a band: `bar` 1 or 2 (the two tool bars), `id` its identity number.
    void add(int bar, int id, QToolBar* band);

    // Rearranges the bands after the stored values: order by `Index`, a new line
    // where `Break` is set. Bands without stored values keep their place after them.
    void apply(const Einstellungen& values);
    // Sets the band values from the current arrangement.
    void store(Einstellungen& values) const;

private:
    struct Band {
        int bar;
        int id;
        QToolBar* toolBar;
    };
    QMainWindow& m_window;
    QList<Band> m_bands;
};

}  // namespace q::ui
