#include "exchange/web_export.h"

#include "base/fields.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace q {

namespace {

// Fixed month names, so a file reads the same whatever the system's language.
const char* const kGermanMonths[] = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November", "Dezember"};
const char* const kEnglishMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int monthNumber(const QString& name) {
    for (int m = 0; m < 12; ++m)
        if (name.compare(QString::fromUtf8(kGermanMonths[m]), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(kEnglishMonths[m]), Qt::CaseInsensitive) == 0)
            return m + 1;
    return 0;
}

QString withoutEntities(QString text) {
    return text.replace(QStringLiteral("&ouml;"), QStringLiteral("ö")).replace(QStringLiteral("&szlig;"), QStringLiteral("ß"));
}

int columnOf(const QStringList& header, std::initializer_list<const char*> names) {
    for (const char* name : names)
        for (int i = 0; i < header.size(); ++i)
            if (header[i].compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) return i;
    return -1;
}

HistoryColumns presetColumns(const QStringList& header) {
    HistoryColumns c;
    const int datum = columnOf(header, {"Date", "Datum"});
    const int kurs = columnOf(header, {"Close", "Schlusskurs", "Schluss", "Kurs", "Adj Close"});
    const int volumen = columnOf(header, {"Volume", "Volumen"});
    c.datum = datum >= 0 ? datum : 0;
    // Without a named close the fifth column is the usual place (Date, Open, High, Low, Close).
    c.kurs = kurs >= 0 ? kurs : (header.size() >= 5 ? 4 : 1);
    c.volumen = volumen;
    c.name = columnOf(header, {"Name", "Bezeichnung", "Wertpapier"});
    c.wkn = columnOf(header, {"WKN"});
    c.isin = columnOf(header, {"ISIN"});
    c.ticker = columnOf(header, {"Ticker", "Symbol"});
    return c;
}

qint64 volumeOf(const QString& text) {
    if (text.isEmpty()) return 0;
    QString t = text;
    // "1.234.567": thousands points.
    if (t.count(QLatin1Char('.')) > 1) t.remove(QLatin1Char('.'));
    auto v = parseNumber(t);
    if (!v) v = parsePriceText(t);
    return v && *v > 0 ? qRound64(*v) : 0;
}

}  // namespace

std::optional<QDate> historyDate(const QString& raw) {
    const QString text = unquoted(raw);
    // "dd.mm.yyyy" is neither of the dashed forms.
    if (text.size() == 10 && text[2] == QLatin1Char('.') && text[5] == QLatin1Char('.')) return parseDate(text);
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    if (const auto m = iso.match(text); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    static const QRegularExpression named(QStringLiteral("^(\\d{1,2})-([^-\\d]+)-(\\d{2,4})$"));
    if (const auto m = named.match(text); m.hasMatch()) {
        const int month = monthNumber(m.captured(2));
        if (month == 0) return std::nullopt;
        return parseDate(m.captured(1) + QLatin1Char('.') + QString::number(month) + QLatin1Char('.') + m.captured(3));
    }
    return parseDate(text);
}

bool isWebExportHeader(const QString& firstLine) {
    return firstLine.contains(QStringLiteral("Er&ouml;ffnungskurs")) || firstLine.contains(QStringLiteral("Open,High"));
}

HistoryRead readHistoryLines(const QStringList& lines, HistoryFormat format, const HistoryOptions& options) {
    HistoryRead out;
    int first = 0;
    QChar separator = options.separator.value_or(QLatin1Char(';'));
    if (format == HistoryFormat::WebExport && !lines.isEmpty()) {
        if (!options.separator) separator = lines[0].contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(',');
        if (isWebExportHeader(lines[0])) {
            for (const QString& f : splitFields(withoutEntities(lines[0]), separator)) out.header << unquoted(f);
            out.columns = presetColumns(out.header);
            first = 1;
        }
    }
    if (options.columns) out.columns = *options.columns;
    for (int i = first; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) continue;
        const QStringList fields = splitFields(lines[i], separator);
        const auto datum = historyDate(unquoted(fields.value(out.columns.datum)));
        const auto kurs = parsePriceText(unquoted(fields.value(out.columns.kurs)));
        if (!datum || !kurs || *kurs <= 0) {
            ++out.skipped;
            continue;
        }
        const qint64 volumen = out.columns.volumen >= 0 ? volumeOf(unquoted(fields.value(out.columns.volumen))) : 0;
        out.rows.push_back({*datum, *kurs, volumen});
    }
    return out;
}

Status writeWebExportBackup(const QString& file, const QStringList& lines) {
    QStringList normalised;
    for (int i = 0; i < lines.size(); ++i) normalised << (i == 0 ? withoutEntities(lines[i]) : lines[i]).trimmed();
    // A new file beside the export, renamed onto the copy's name: rename() replaces a
    // symbolic link of that name itself, where writing to the name would overwrite
    // the file the link points to.
    const QString bak = file + QStringLiteral(".bak");
    QTemporaryFile out(bak + QStringLiteral(".XXXXXX"));
    if (!out.open()) return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(bak, out.errorString()));
    QByteArray bytes;
    for (const QString& line : normalised) bytes += toWindows1252(line) + "\r\n";
    if (out.write(bytes) != bytes.size() || !out.flush())
        return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(bak, out.errorString()));
    out.close();
    // QTemporaryFile makes its file readable by the owner only; the copy is an ordinary file.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(out.fileName()).constData(), QFile::encodeName(bak).constData()) != 0)
        return Status::io(QStringLiteral("Datei %1 kann nicht geschrieben werden: %2").arg(bak, QString::fromLocal8Bit(std::strerror(errno))));
    out.setAutoRemove(false);
    return Status::ok();
}

}  // namespace q
