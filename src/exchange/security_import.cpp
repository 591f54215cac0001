#include "exchange/security_import.h"

#include "base/fields.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/web_export.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace q {

namespace {

// Longer lines are no price lines of these formats; they are skipped whole.
constexpr int kMaxLine = 1024;

// Everything up to and including the first double quote goes, the rest is cut before
// the next one: "\"12,50\"" and "x\"12,50\"y" both give "12,50".
QString stripQuotes(const QString& field) {
    const int open = field.indexOf(QLatin1Char('"'));
    if (open < 0) return field;
    const int close = field.indexOf(QLatin1Char('"'), open + 1);
    return close < 0 ? field.mid(open + 1) : field.mid(open + 1, close - open - 1);
}

QString withoutEntities(QString text) {
    return text.replace(QStringLiteral("&ouml;"), QStringLiteral("ö")).replace(QStringLiteral("&szlig;"), QStringLiteral("ß"));
}

// A volume as an integer: "1200", "1.200" and "1.234.567" (thousands points), "300,0".
std::optional<qint64> volumeText(const QString& raw) {
    QString t = raw.trimmed();
    // Plain digits, the usual volume: read as the integer they are.
    if (!t.isEmpty() && t.size() <= 18 && std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c.isDigit() && c.unicode() < 0x80; }))
        return t.toLongLong();
    static const QRegularExpression grouped(QStringLiteral("^\\d{1,3}(\\.\\d{3})+$"));
    if (grouped.match(t).hasMatch()) t.remove(QLatin1Char('.'));
    const auto v = parseNumber(t);
    if (!v || *v < 0) return std::nullopt;
    return qRound64(*v);
}

// A month between two "-": a name ("12-Jan-2000", "13-Januar-2000") or a number ("2000-01-31").
bool hasMonthPattern(const QString& text) {
    static const QRegularExpression between(QStringLiteral("-[^-]+-"));
    return between.match(text).hasMatch();
}

Status stop(const QString& file, int line, const QString& what) {
    return Status::invalid(QStringLiteral("Datei %1, Zeile %2: %3; der Import endet hier").arg(file).arg(line).arg(what));
}

SecurityImportRead readText(const QString& file, const QStringList& lines, QChar separator) {
    SecurityImportRead out;
    out.read.columns = {0, 1, 2};
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty()) continue;
        const QStringList fields = splitFields(line, separator);
        const QString date = stripQuotes(fields[0]);
        if (line.size() > kMaxLine || date.size() < 8 || date.size() > 10) {
            ++out.read.skipped;
            continue;
        }
        const auto datum = parseDate(date.trimmed());
        if (!datum) {
            out.stopped = stop(file, i + 1, QStringLiteral("\"%1\" ist kein gültiges Datum").arg(date.trimmed()));
            return out;
        }
        const auto kurs = parsePriceText(stripQuotes(fields.value(1)).trimmed());
        if (!kurs || *kurs <= 0) {
            ++out.read.skipped;
            continue;
        }
        const qint64 volumen = fields.size() > 2 ? volumeText(stripQuotes(fields[2])).value_or(0) : 0;
        out.read.rows.push_back({*datum, *kurs, volumen});
    }
    return out;
}

// A web export is cut at ",", unless its header holds ";" and no "," (a German
// export saved by a spreadsheet); every other CSV file at ";".
QChar csvSeparator(const QString& header) {
    if (!isWebExportHeader(header)) return QLatin1Char(';');
    return header.contains(QLatin1Char(';')) && !header.contains(QLatin1Char(',')) ? QLatin1Char(';') : QLatin1Char(',');
}

SecurityImportRead readCsv(const QString& file, const QStringList& lines, const SecurityImportOptions& options) {
    SecurityImportRead out;
    const QChar separator = csvSeparator(lines.value(0));
    for (const QString& f : splitFields(withoutEntities(lines.value(0)), separator)) out.read.header << stripQuotes(f).trimmed();
    out.read.columns = options.columns ? *options.columns : csvColumnsOf(out.read.header, csvColumnPreset());
    const HistoryColumns& c = out.read.columns;
    for (int i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.trimmed().isEmpty()) continue;
        if (line.size() > kMaxLine) {
            ++out.read.skipped;
            continue;
        }
        QStringList fields = splitFields(line, separator);
        for (QString& f : fields) f = stripQuotes(f);
        const QString date = fields.value(c.datum).trimmed();
        // Each line's date is read on its own; a line without one is no row.
        std::optional<QDate> datum = date.size() >= 5 && date.size() <= 19 ? historyDate(date) : std::nullopt;
        if (!datum) {
            if (date.size() >= 5 && date.size() <= 19 && hasMonthPattern(date)) {
                out.stopped = stop(file, i + 1, QStringLiteral("\"%1\" ist kein gültiges Datum").arg(date));
                return out;
            }
            ++out.read.skipped;
            continue;
        }
        const auto kurs = parsePriceText(fields.value(c.kurs).trimmed());
        if (!kurs || *kurs <= 0) {
            ++out.read.skipped;
            continue;
        }
        qint64 volumen = 0;
        if (c.volumen >= 0 && c.volumen < fields.size() && !fields[c.volumen].trimmed().isEmpty()) {
            const auto v = volumeText(fields[c.volumen]);
            if (!v) {
                out.stopped = stop(file, i + 1, QStringLiteral("\"%1\" ist kein gültiges Volumen").arg(fields[c.volumen].trimmed()));
                return out;
            }
            volumen = *v;
        }
        out.read.rows.push_back({*datum, *kurs, volumen});
    }
    return out;
}

}  // namespace

HistoryColumns csvColumnPreset() { return HistoryColumns{1, 3, 8}; }

HistoryColumns csvColumnsOf(const QStringList& header, const HistoryColumns& preset) {
    HistoryColumns c = preset;
    for (int i = 0; i < header.size(); ++i) {
        const QString& h = header[i];
        if (h == QLatin1String("Datum") || h == QLatin1String("Date")) c.datum = i;
        else if (h == QLatin1String("Kurs") || h == QLatin1String("Close")) c.kurs = i;
        else if (h == QLatin1String("Volumen") || h == QLatin1String("Volume")) c.volumen = i;
    }
    return c;
}

Result<QStringList> csvHeader(const QString& file) {
    auto lines = readTextLinesAnyEncoding(file);
    if (!lines) return lines.status();
    QStringList header;
    const QString first = lines->value(0);
    for (const QString& f : splitFields(withoutEntities(first), csvSeparator(first))) header << stripQuotes(f).trimmed();
    return header;
}

Result<QDate> importStartPreset(Store& store, int firma) {
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query q = Query::detailOf(firma);
    q.reverse = true;
    q.limit = 1;
    auto last = (*aktien)->first(q);
    if (!last) return last.status();
    // No price yet: every row of the file is wanted, not those after day zero.
    if (!last->has_value()) return QDate();
    return dateFromDayNumber((*last)->value(QStringLiteral("Datum")).toInt()).addDays(1);
}

Result<SecurityImportRead> readSecurityFile(const QString& file, const SecurityImportOptions& options) {
    const HistoryFormat format = historyFormatOf(file);
    if (format == HistoryFormat::None)
        return Status::invalid(QStringLiteral("Das Format der Datei %1 ist unbekannt (erwartet .DB, .DBF, .CSV oder .TXT); nichts importiert").arg(file));
    if (!QFileInfo::exists(file)) return Status::notFound(QStringLiteral("Die Datei %1 gibt es nicht").arg(file));
    if (format == HistoryFormat::Table) {
        auto table = readHistory(file, HistoryOptions{});
        if (!table) return table.status();
        return SecurityImportRead{std::move(*table), Status::ok()};
    }
    auto lines = readTextLinesAnyEncoding(file);
    if (!lines) return lines.status();
    if (format == HistoryFormat::Text) return readText(file, *lines, options.separator);
    SecurityImportRead out;
    if (!lines->isEmpty() && isWebExportHeader(lines->first())) {
        // The copy beside the file, with one line end convention, is what is read.
        Q_TRY(writeWebExportBackup(file, *lines));
        QStringList copy;
        for (const QString& l : *lines) copy << l.trimmed();
        out = readCsv(file + QStringLiteral(".bak"), copy, options);
        out.read.backup = file + QStringLiteral(".bak");
        return out;
    }
    return readCsv(file, *lines, options);
}

Result<HistoryReport> importSecurity(Store& store, int firma, const QString& file, const SecurityImportOptions& options, Progress& progress) {
    auto read = readSecurityFile(file, options);
    if (!read) return read.status();
    auto report = bookHistory(store, firma, read->read.rows, options.from, progress);
    if (!report) return report.status();
    if (!read->stopped) return read->stopped;
    report->skipped = read->read.skipped;
    report->backup = read->read.backup;
    return report;
}

}  // namespace q
