#include "app/directories.h"

#include "base/text_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace q {

QString installationDir(const QString& programDir) {
    QString dir = withSlash(QDir::cleanPath(programDir));
    if (dir.endsWith(QStringLiteral("/bin/"), Qt::CaseInsensitive)) dir.chop(4);
    if (QFileInfo(dir).isWritable()) return dir;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty()) home = QDir::homePath() + QStringLiteral("/.local/share");
    return withSlash(home) + QStringLiteral("Quintara/");
}

QString companionProgram(const QString& installDir, const QString& name) {
    const QString bin = findFile(installDir, QStringLiteral("bin"));
    if (bin.isEmpty()) return {};
    const QString program = findFile(bin, name);
    const QFileInfo info(program);
    return !program.isEmpty() && info.isFile() && info.isExecutable() ? program : QString();
}

bool sameDir(const QString& a, const QString& b) {
    return withSlash(QDir::cleanPath(a)).compare(withSlash(QDir::cleanPath(b)), Qt::CaseInsensitive) == 0;
}

QString windowCaption(const QString& dataDir, const QString& depotDir) {
    if (sameDir(dataDir, depotDir)) return QStringLiteral("Quintara");
    return QStringLiteral("Quintara - ") + QDir(QDir::cleanPath(depotDir)).dirName();
}

QString storedPath(const QString& install, const QString& dir) {
    const QString base = withSlash(QDir::cleanPath(install));
    const QString path = withSlash(QDir::cleanPath(dir));
    if (path == base) return QStringLiteral("./");
    return path.startsWith(base) ? withSlash(path.mid(base.size())) : path;
}

QString installationPath(const QString& install, const QString& setting) {
    if (QDir::isAbsolutePath(setting)) return withSlash(setting);
    return withSlash(QDir::cleanPath(withSlash(install) + setting));
}

}  // namespace q
