#include "app/watch_names.h"

#include "app/acquisition_binding.h"
#include "app/session.h"
#include "base/text_files.h"

namespace q {

namespace {
const QString kFileName = QStringLiteral("WNamen.ini");
}

QStringList watchListNames(const Einstellungen& values, const QString& dataDir) {
    QStringList names;
    for (int i = 1; i <= kWatchListCount; ++i) names << values.text(QStringLiteral("Watch") + QString::number(i));
    const QString path = findFile(dataDir, kFileName);
    if (path.isEmpty()) return names;
    // The names then only lack the user's renaming; the lists themselves still work.
    const auto lines = readTextLinesAnyEncoding(path);
    if (!lines) return names;
    for (int i = 0; i < kWatchListCount && i < lines->size(); ++i) names[i] = lines->at(i);
    return names;
}

Status writeWatchListNames(const QString& dataDir, const QStringList& names) {
    Q_ASSERT(names.size() == kWatchListCount);
    QStringList lines = names.mid(0, kWatchListCount);
    while (lines.size() < kWatchListCount) lines << QString();
    return writeTextLines(filePath(dataDir, kFileName), lines);
}

Status storeWatchListName(Session& session, int k, const QString& name) {
    if (k < 1 || k > kWatchListCount)
        return Status::invalid(QStringLiteral("Beobachtungsliste %1 gibt es nicht (1 bis %2)").arg(k).arg(kWatchListCount));
    while (session.watchNames.size() < kWatchListCount) session.watchNames << QString();
    session.watchNames[k - 1] = name.trimmed();
    Q_TRY(storeSetting(session, QStringLiteral("Watch") + QString::number(k), SettingValue::text(name.trimmed())));
    return writeWatchListNames(session.dirs.data, session.watchNames);
}

}  // namespace q
