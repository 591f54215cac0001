#include "exchange/export_file.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QDir>
#include <QFileInfo>

namespace q {

namespace {

// The buffer is handed to the file in pieces of this size: the export of all prices
// runs to several megabytes, and a full disk shows while the count still means something.
constexpr qsizetype kFlushBytes = 1 << 16;

}  // namespace

ExportFile::ExportFile(const QString& path) : m_path(path), m_file(path) {}

Result<std::unique_ptr<ExportFile>> ExportFile::open(const QString& path) {
    const QString dir = QFileInfo(path).absolutePath();
    const QFileInfo d(dir);
    if (!d.exists() || !d.isDir()) return Status::io(QStringLiteral("Das Verzeichnis %1 gibt es nicht").arg(QDir::toNativeSeparators(dir)));
    std::unique_ptr<ExportFile> f(new ExportFile(path));
    // Written beside the target and renamed over it; never written in place, so a
    // read-only target directory fails here and not after a half-written file.
    f->m_file.setDirectWriteFallback(false);
    if (!f->m_file.open(QIODevice::WriteOnly))
        return Status::io(QStringLiteral("In das Verzeichnis %1 kann nicht geschrieben werden: %2").arg(QDir::toNativeSeparators(dir), f->m_file.errorString()));
    return f;
}

void ExportFile::line(const QString& text) {
    const QByteArray encoded = toWindows1252(text);
    // toWindows1252() writes "?" for each character it cannot map.
    m_replaced += encoded.count('?') - text.count(QLatin1Char('?'));
    m_pending += encoded;
    m_pending += "\r\n";
    ++m_lines;
    if (m_pending.size() >= kFlushBytes) flush();
}

void ExportFile::bytes(const QByteArray& data) {
    m_pending += data;
    if (m_pending.size() >= kFlushBytes) flush();
}

void ExportFile::flush() {
    if (m_failed) return;
    if (!m_pending.isEmpty() && m_file.write(m_pending) != m_pending.size()) {
        m_failed = true;
        return;
    }
    m_pending.clear();
    m_written = m_lines;
}

Status ExportFile::failure() const {
    return Status::io(QStringLiteral("Die Datei %1 konnte nicht geschrieben werden (nach %2 Zeilen): %3")
                          .arg(QDir::toNativeSeparators(m_path))
                          .arg(m_written)
                          .arg(m_file.errorString()));
}

Status ExportFile::commit() {
    flush();
    if (m_failed) {
        m_file.cancelWriting();
        return failure();
    }
    if (!m_file.commit()) return failure();
    return Status::ok();
}

QString fixedPriceText(double kurs, int decimals, QChar point) {
    QString text = QString::number(roundHalfEven(kurs, decimals), 'f', decimals);
    if (point != QLatin1Char('.')) text.replace(QLatin1Char('.'), point);
    return text;
}

}  // namespace q
