// "&Beispieldatenbank aktualisieren" (F7): starts the sample price program from the
// installation's "bin" folder and, when it has ended, books the daily price file it
// wrote. The window stays usable while the program runs. The entry is hidden when
// the program is missing.
#pragma once

#include <QObject>
#include <QProcess>

class QAction;

namespace q::ui {

class TAktienkurse;
class VideotextCommands;

class SampleUpdateCommand final : public QObject {
    Q_OBJECT
public:
    SampleUpdateCommand(TAktienkurse& window, VideotextCommands& videotext);

    QAction* action() const { return m_action; }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // Shows the entry when the program is in the installation's "bin" folder.
    void findProgram();

    // After the question, stores `VTDatei` and starts the program; nothing happens
    // while it still runs. Returns true when it was started.
    bool BeispielKurse1Click();
    // The first start's offer "Neue Kurse=>Beispieldatenbank aktualisieren", made
    // only when the program is there; "Ja" runs BeispielKurse1Click().
    void firstStart();

Q_SIGNALS:
    // The daily price file was booked (or the program failed), the result shown.
    void done();

private:
    void programEnded(int exitCode, QProcess::ExitStatus status);
    void programFailed(QProcess::ProcessError error);

    TAktienkurse& m_window;
    VideotextCommands& m_videotext;
    QAction* m_action;
    QProcess m_process;
};

}  // namespace q::ui
