// The target of an export: lines written as Windows-1252 with CR LF into a new file
// beside the target, which replaces the target only when every line is written. A
// failed export leaves an existing file as it was.
#pragma once

#include "base/status.h"

#include <QByteArrayView>
#include <QDate>
#include <QSaveFile>
#include <utility>
#include <memory>

namespace q {

// Used on one thread. Destroying it before commit() removes the new file.
class ExportFile {
public:
    // Creates the new file beside `path`. Fails Io "Das Verzeichnis … gibt es nicht"
    // or "In das Verzeichnis … kann nicht geschrieben werden: …" naming the directory.
    static Result<std::unique_ptr<ExportFile>> open(const QString& path);

    // Adds one line (CR LF appended). A character outside Windows-1252 becomes "?"
    // and is counted in replaced().
    void line(const QString& text);
    // Adds one line already in Windows-1252 (CR LF appended); `replaced` counts its
    // characters that became "?". For exports that encode each name once.
    void encodedLine(QByteArrayView encoded, qint64 replaced = 0);
    // Adds bytes as they stand (a binary table file).
    void bytes(const QByteArray& data);

    // Writes what is left and puts the file in place of the target. Fails Io "Die
    // Datei … konnte nicht geschrieben werden (nach N Zeilen): …"; the target stays.
    [[nodiscard]] Status commit();

    qint64 lines() const { return m_lines; }
    qint64 replaced() const { return m_replaced; }
    const QString& path() const { return m_path; }

private:
    explicit ExportFile(const QString& path);
    void flush();
    Status failure() const;

    QString m_path;
    QSaveFile m_file;
    QByteArray m_pending;
    qint64 m_lines = 0;
    qint64 m_written = 0;  // lines handed to the file without an error
    qint64 m_replaced = 0;
    bool m_failed = false;
};

// The price in fixed notation with `decimals` places, ties to even, and `point` as
// the decimal separator ("12,50"); no thousands separators.
QString fixedPriceText(double kurs, int decimals, QChar point = QLatin1Char(','));
// The same text appended to bytes; `point` an ASCII character.
void appendFixedPrice(QByteArray& out, double kurs, int decimals, char point = ',');
// "dd.mm.yyyy" appended to bytes, as formatDate() writes it.
void appendDate(QByteArray& out, const QDate& date);
// `text` in Windows-1252 and the number of its characters that became "?".
std::pair<QByteArray, qint64> encodeCounted(const QString& text);

}  // namespace q
