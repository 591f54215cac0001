// The teletext commands of the main window: "&VideoText einlesen" (the daily price
// file, or with `MultiDec2` the daily pages), the protocol window with its
// "Aufnehmen" and "Splitten", the page dialogs and the station identifier dialog.
#pragma once

#include "acquisition/read_report.h"

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;
class TProtKurs;

class VideotextCommands final : public QObject {
    Q_OBJECT
public:
    explicit VideotextCommands(TAktienkurse& window);

    QAction* einlesen() const { return m_einlesen; }
    QAction* tagesSeiten() const { return m_tagesSeiten; }
    QAction* intradaySeiten() const { return m_intradaySeiten; }
    QAction* senderNamen() const { return m_senderNamen; }
    TProtKurs& protocol() const { return *m_protocol; }

    // Reads the day's prices; shows the counts in the status bar, a failure in a
    // message and the protocol window when a list holds a line. Returns the report.
    ReadReport VTeinlesen1Click();
    // Each returns the dialog's result (1 confirmed), 0 when it did not open.
    int Kurseeinlesen1Click();
    int DDESeiten1Click();
    int Sendernamen1Click();

    // The protocol window's buttons: the chosen quotes read again. "Aufnehmen" takes
    // up no second security of a name that exists: it asks whether the name goes into
    // that security's match column of the daily station, and on Yes books the quote.
    ReadReport Aufnehmen(const std::vector<ProtocolEntry>& entries);
    ReadReport Splitten(const std::vector<ProtocolEntry>& entries);

    // The end of every reading run: the counts in the status bar, a failure in a
    // message, the protocol window when a list holds a line, the views re-read.
    void finish(const ReadReport& report);

private:
    ReadReport readAgain(const std::vector<ProtocolEntry>& entries, bool alle);
    int pageDialog(int kind);

    TAktienkurse& m_window;
    TProtKurs* m_protocol;
    QAction* m_einlesen;
    QAction* m_tagesSeiten;
    QAction* m_intradaySeiten;
    QAction* m_senderNamen;
};

}  // namespace q::ui
