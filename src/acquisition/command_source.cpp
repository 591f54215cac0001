#include "acquisition/command_source.h"

#include "base/text_files.h"

#include <QElapsedTimer>
#include <QProcess>

namespace q {

namespace {

// Each wait is short, so that the progress sink can repaint between them.
constexpr int kWaitSliceMs = 100;

QString filled(QString text, const PageRequest& r) {
    text.replace(QStringLiteral("[SeiteName]"), r.seitenname);
    text.replace(QStringLiteral("[Seite]"), r.page);
    text.replace(QStringLiteral("[Unter]"), twoDigitSubpage(r.subpage));
    return text;
}

}  // namespace

QStringList pageCommandLine(const QString& command, const QString& topic, const QString& item, const PageRequest& request) {
    QStringList words = QProcess::splitCommand(command);
    for (QString& w : words) w = filled(w, request);
    if (words.isEmpty()) return words;
    if (!topic.isEmpty()) words << filled(topic, request);
    if (!item.isEmpty()) words << filled(item, request);
    return words;
}

Result<std::optional<QString>> CommandPageSource::fetch(const PageRequest& request) {
    QStringList words = pageCommandLine(m_command, m_topic, m_item, request);
    if (words.isEmpty()) return Status::invalid(QStringLiteral("Für die Videotextseiten ist kein Befehl eingestellt"));
    const QString program = words.takeFirst();
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, words, QIODevice::ReadOnly);
    if (!process.waitForStarted()) return Status::io(QStringLiteral("Konnte %1 nicht starten!!").arg(program));
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(kWaitSliceMs)) {
        if (process.state() == QProcess::NotRunning) break;
        m_progress.step(QStringLiteral("Seite %1/%2").arg(request.seitenname, twoDigitSubpage(request.subpage)), 0, 0);
        if (clock.elapsed() > m_timeoutMs || m_progress.cancelRequested()) {
            process.kill();
            process.waitForFinished();
            return m_progress.cancelRequested() ? Status::cancelled()
                                                : Status::busy(QStringLiteral("%1 hat die Seite %2 nicht in %3 s geliefert")
                                                                   .arg(program, request.seitenname)
                                                                   .arg(m_timeoutMs / 1000));
        }
    }
    const QByteArray out = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || out.trimmed().isEmpty())
        return std::optional<QString>();
    return std::optional<QString>(decodeText(out));
}

}  // namespace q
