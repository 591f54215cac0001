// The portfolio's commands in the window: the menu entries "&Anlagen-Übersicht",
// "&Depot-Buchungen", "&Aktiensplit", "&Bargeldbestand berechnen", "&Währungen" and
// "&Ländereinstellung", and the booking buttons of the "Depotwerte" and bookings
// pages. Each opens its dialog, books through the core and refreshes the pages;
// each returns the dialog's result (1 booked), 0 when nothing was shown or booked.
#pragma once

#include <QObject>

class QAction;

namespace q {
class Store;
}

namespace q::ui {

class TAktienkurse;

class PortfolioCommands final : public QObject {
    Q_OBJECT
public:
    explicit PortfolioCommands(TAktienkurse& window);

    QAction* anlagen() const { return m_anlagen; }
    QAction* buchungen() const { return m_buchungen; }
    QAction* aktiensplit() const { return m_aktiensplit; }
    QAction* bargeld() const { return m_bargeld; }
    QAction* waehrungen() const { return m_waehrungen; }
    QAction* laender() const { return m_laender; }

    // The split dialog for `firma` (the reading's split offer): true when it split.
    bool offerSplit(int firma, const QString& caption, double lastPrice, int ratio);

public Q_SLOTS:
    void AnlagenUebersicht();
    void DepotBuchungen();
    int Aktiensplit();
    int Bargeldbestand();
    int Waehrungen();
    int Laendereinstellung();
    int Ankaufsassistent();
    int Verkaufsassistent();
    int AnkaufKurz();
    int VerkaufKurz();
    int Uebertragen();
    int Dividende();
    int Ausschuettung();
    int Zahlung();

private:
    int assistant(bool purchase);
    int income(bool reinvest);
    // After a booking: the lots of the page and the bookings page read again.
    void booked(const QString& status);

    TAktienkurse& m_window;
    QAction* m_anlagen;
    QAction* m_buchungen;
    QAction* m_aktiensplit;
    QAction* m_bargeld;
    QAction* m_waehrungen;
    QAction* m_laender;
};

}  // namespace q::ui
