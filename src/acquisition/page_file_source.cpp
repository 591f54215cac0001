#include "acquisition/page_file_source.h"

#include "acquisition/mask.h"
#include "base/text_files.h"

#include <QFile>
#include <QFileInfo>

namespace q {

QString pageFilePath(const QString& receiverDir, const PageRequest& r) {
    const QString stationDir = filePath(receiverDir, r.station);
    return filePath(stationDir, QStringLiteral("VT%1-%2.txt").arg(r.page, twoDigitSubpage(r.subpage)));
}

Result<std::optional<QString>> PageFileSource::fetch(const PageRequest& request) {
    const QString path = pageFilePath(m_dir, request);
    const QFileInfo info(path);
    if (!info.isFile()) return std::optional<QString>();
    if (info.lastModified().date() < m_today) {
        QFile::remove(path);
        return std::optional<QString>();
    }
    auto lines = readTextLinesAnyEncoding(path);
    if (!lines) return lines.status();
    for (QString& l : *lines) l.truncate(kPageLineLength);
    return std::optional<QString>(lines->join(QLatin1Char('\n')));
}

}  // namespace q
