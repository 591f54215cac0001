#include "acquisition/sample_update.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QProcess>

namespace q {

namespace {

// Each wait is short, so that progress can repaint and ask to stop between them.
constexpr int kWaitSliceMs = 100;

}  // namespace

QString sampleProgram(const QString& installDir) {
    const QString bin = findFile(installDir, QStringLiteral("bin"));
    return bin.isEmpty() ? QString() : findFile(bin, kSampleProgram);
}

Status sampleProgramMissing(const QString& installDir) {
    return Status::notFound(
        QStringLiteral("Das Programm %1 fehlt im Verzeichnis %2bin").arg(kSampleProgram, installDir));
}

QString sampleDailyFile(const QString& installDir) { return installDir + QStringLiteral("aktien.txt"); }

Result<QDate> lastPriceDate(Store& store) {
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query newest;
    newest.order = QStringLiteral("IDatum");
    newest.reverse = true;
    newest.limit = 1;
    auto row = (*aktien)->first(newest);
    if (!row) return row.status();
    if (!*row) return QDate();
    return dateFromDayNumber((*row)->value(QStringLiteral("Datum")).toDouble());
}

QStringList sampleArguments(const QDate& lastPrice) {
    QStringList args{QStringLiteral("/K")};
    if (lastPrice.isValid()) args << formatDate(lastPrice);
    return args;
}

Status sampleProgramEnded(const QString& program, int exitCode, bool normalExit) {
    if (normalExit && exitCode == 0) return Status::ok();
    return Status::io(QStringLiteral("%1 endete mit dem Fehlercode %2").arg(program).arg(exitCode));
}

Status runSampleProgram(const QString& program, const QStringList& arguments, Progress& progress) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted()) return Status::io(QStringLiteral("Konnte %1 nicht starten!!").arg(program));
    while (!process.waitForFinished(kWaitSliceMs)) {
        if (process.state() == QProcess::NotRunning) break;
        progress.step(QStringLiteral("Beispielkurse werden geladen"), 0, 0);
        if (progress.cancelRequested()) {
            process.kill();
            process.waitForFinished();
            return Status::cancelled();
        }
    }
    return sampleProgramEnded(program, process.exitCode(), process.exitStatus() == QProcess::NormalExit);
}

}  // namespace q
