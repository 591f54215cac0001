#include "app/restore_journal.h"

#include "base/text_files.h"
#include "store/file_system.h"
#include "store/firma_hooks.h"
#include "store/table_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace q {

namespace {

QString journalPath(const QString& dataDir) { return withSlash(dataDir) + kRestoreJournal; }

}  // namespace

Status writeRestoreJournal(const QString& dataDir, const std::vector<RestoreStep>& steps) {
    const QString path = journalPath(dataDir);
    QSaveFile f(path);
    QByteArray text;
    for (const RestoreStep& s : steps) text += (s.copy + QLatin1Char('\t') + s.live + QLatin1Char('\t') + QString::number(s.counter)).toUtf8() + '\n';
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
        return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(path, f.errorString()));
    return syncFile(path);
}

Result<std::vector<RestoreStep>> readRestoreJournal(const QString& dataDir) {
    const QString path = journalPath(dataDir);
    std::vector<RestoreStep> steps;
    QFile f(path);
    if (!f.exists()) return steps;
    if (!f.open(QIODevice::ReadOnly)) return Status::io(QStringLiteral("Datei %1 kann nicht gelesen werden: %2").arg(path, f.errorString()));
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        bool ok = false;
        const qint64 counter = fields.value(2).toLongLong(&ok);
        if (fields.size() != 3 || !ok) return Status::corrupt(QStringLiteral("Die Datei %1 ist kein Wiederherstellungsprotokoll").arg(path));
        steps.push_back({fields[0], fields[1], counter});
    }
    return steps;
}

Status removeRestoreJournal(const QString& dataDir) {
    const QString path = journalPath(dataDir);
    if (QFile::exists(path) && !QFile::remove(path)) return Status::io(QStringLiteral("Die Datei %1 kann nicht gelöscht werden").arg(path));
    return Status::ok();
}

Status runRestoreSteps(const std::vector<RestoreStep>& steps, size_t* done) {
    if (done) *done = 0;
    for (const RestoreStep& s : steps) {
        Q_TRY(putCopyBack(s.copy, s.live));
        if (s.counter > 0) (void)raiseNumberCounter(s.live, s.counter);
        if (done) ++*done;
    }
    return Status::ok();
}

Result<bool> finishRestore(const QString& dataDir) {
    auto steps = readRestoreJournal(dataDir);
    if (!steps) return steps.status();
    if (steps->empty()) return false;
    for (const RestoreStep& s : *steps)
        if (!QFileInfo::exists(s.copy))
            return Status::notFound(QStringLiteral("Die unterbrochene Wiederherstellung kann nicht abgeschlossen werden: die Sicherungskopie %1 fehlt").arg(s.copy));
    Q_TRY(runRestoreSteps(*steps));
    Q_TRY(removeRestoreJournal(dataDir));
    return true;
}

}  // namespace q
