// The print entries of "&Datei": "Kurs&diagramm drucken" (the price chart while the
// inner page "Kurs" is shown, otherwise the profit chart) and "Kurs&blatt drucken"
// (the page "&Kursübersicht" with its price list, after the question whether it is
// fitted to the page).
#pragma once

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class PrintCommands final : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(TAktienkurse& window);

    QAction* kursdiagramm() const { return m_chart; }
    QAction* kursblatt() const { return m_sheet; }

    void KursdiagrammDrucken();
    // Only on the page "&Kursübersicht"; elsewhere the user is told to go there.
    void KursblattDrucken();

private:
    TAktienkurse& m_window;
    QAction* m_chart;
    QAction* m_sheet;
};

}  // namespace q::ui
