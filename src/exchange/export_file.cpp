#include "exchange/export_file.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QDir>
#include <charconv>
#include <cmath>
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
    const auto [encoded, replaced] = encodeCounted(text);
    encodedLine(encoded, replaced);
}

void ExportFile::encodedLine(QByteArrayView encoded, qint64 replaced) {
    m_replaced += replaced;
    m_pending.append(encoded.data(), encoded.size());
    m_pending.append("\r\n", 2);
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

void appendFixedPrice(QByteArray& out, double kurs, int decimals, char point) {
    const double rounded = roundHalfEven(kurs, decimals);
    // A positive price of up to 15 digits is the integer rounded × 10^decimals, its
    // digits written with the point put in: the text QString::number() writes for it.
    const double scaled = rounded * powerOfTen(decimals);
    if (decimals >= 0 && decimals < 10 && rounded > 0 && scaled < 1e15) {
        qint64 n = std::llround(scaled);
        char digits[24];
        int count = 0;
        do {
            digits[count++] = char('0' + n % 10);
            n /= 10;
        } while (n > 0 || count <= decimals);
        char text[26];
        int length = 0;
        for (int i = count - 1; i >= 0; --i) {
            text[length++] = digits[i];
            if (i == decimals && decimals > 0) text[length++] = point;
        }
        out.append(text, length);
        return;
    }
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    if (ec != std::errc()) {
        out += fixedPriceText(kurs, decimals, QLatin1Char(point)).toLatin1();
        return;
    }
    const qsizetype start = out.size();
    out.append(buffer, end - buffer);
    if (point != '.')
        for (qsizetype i = start; i < out.size(); ++i)
            if (out[i] == '.') out[i] = point;
}

void appendDate(QByteArray& out, const QDate& date) { out += formatDate(date).toLatin1(); }

std::pair<QByteArray, qint64> encodeCounted(const QString& text) {
    QByteArray encoded = toWindows1252(text);
    // toWindows1252() writes "?" for each character it cannot map.
    const qint64 replaced = encoded.count('?') - text.count(QLatin1Char('?'));
    return {std::move(encoded), replaced};
}

}  // namespace q
