#include "ui/acquisition/sample_update_command.h"

#include "acquisition/daily_route.h"
#include "acquisition/sample_update.h"
#include "app/acquisition_binding.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/acquisition/window_hooks.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QCoreApplication>

namespace q::ui {

SampleUpdateCommand::SampleUpdateCommand(TAktienkurse& window, VideotextCommands& videotext)
    : QObject(&window), m_window(window), m_videotext(videotext) {
    m_action = new QAction(QStringLiteral("&Beispieldatenbank aktualisieren"), &window);
    m_action->setShortcut(QKeySequence(Qt::Key_F7));
    m_action->setVisible(false);
    connect(m_action, &QAction::triggered, this, &SampleUpdateCommand::BeispielKurse1Click);
    connect(&m_process, &QProcess::finished, this, &SampleUpdateCommand::programEnded);
    connect(&m_process, &QProcess::errorOccurred, this, &SampleUpdateCommand::programFailed);
}

void SampleUpdateCommand::findProgram() {
    m_action->setVisible(!sampleProgram(m_window.session().dirs.install).isEmpty());
}

void SampleUpdateCommand::firstStart() {
    // Without the program a "Ja" could only end in the message that it is missing:
    // a question the user cannot usefully answer is not asked.
    if (sampleProgram(m_window.session().dirs.install).isEmpty()) return;
    if (m_window.interaction().ask(QStringLiteral("Quintara"), QStringLiteral("Neue Kurse=>Beispieldatenbank aktualisieren")) ==
        Answer::Yes)
        BeispielKurse1Click();
}

bool SampleUpdateCommand::BeispielKurse1Click() {
    if (running()) return false;
    Session& s = m_window.session();
    const QString program = sampleProgram(s.dirs.install);
    if (program.isEmpty()) {
        m_window.interaction().tell(sampleProgramMissing(s.dirs.install).message());
        return false;
    }
    if (m_window.interaction().ask(
            QStringLiteral("Kursdaten der Beispieldatenbank aktualisieren (keine Haftung für Verfügbarkeit und Richtigkeit der Kurse)"),
            QStringLiteral("Sollen Kurse jetzt eingelesen werden? Die Kurse des aktuellen Tages stehe ca. ab 23Uhr zur Verfügung."),
            Answer::No) != Answer::Yes)
        return false;
    auto last = lastPriceDate(s.store);
    Status stored = last ? storeDailyFile(s, sampleDailyFile(s.dirs.install)) : last.status();
    if (!stored) {
        m_window.interaction().tell(stored.message());
        return false;
    }
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(program, sampleArguments(*last), QIODevice::ReadOnly);
    m_window.showStatus(QStringLiteral("Beispielkurse werden geladen"));
    return true;
}

void SampleUpdateCommand::programFailed(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    m_window.interaction().tell(QStringLiteral("Konnte %1 nicht starten!!").arg(m_process.program()));
    Q_EMIT done();
}

void SampleUpdateCommand::programEnded(int exitCode, QProcess::ExitStatus status) {
    if (Status ended = sampleProgramEnded(m_process.program(), exitCode, status == QProcess::NormalExit); !ended) {
        m_window.interaction().tell(ended.message());
        Q_EMIT done();
        return;
    }
    Session& s = m_window.session();
    const ReadingSettings settings = readingSettings(s, QCoreApplication::applicationFilePath());
    WindowHooks hooks(m_window);
    ReadReport report;
    {
        WaitCursor wait;
        report = bookDailyFile(s.store, settings.vtDatei, settings, hooks, m_window.progress());
        m_window.progressDone();
    }
    m_videotext.finish(report);
    Q_EMIT done();
}

}  // namespace q::ui
