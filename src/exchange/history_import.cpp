#include "exchange/history_import.h"

#include "acquisition/protocol.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/price_bounds.h"
#include "base/text_files.h"
#include "exchange/dbf_table.h"
#include "exchange/paradox_table.h"
#include "exchange/web_export.h"
#include "store/bulk_insert.h"
#include "store/foreign_table.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace q {

namespace {

Status noPriceFields(const QString& file) {
    return Status::invalid(QStringLiteral("Die Tabelle %1 hat keine Felder Datum und Kurs").arg(file));
}

std::optional<QDate> dateValue(const QVariant& v) {
    if (v.isNull()) return std::nullopt;
    if (v.typeId() == QMetaType::QString) return historyDate(v.toString());
    bool ok = false;
    const double day = v.toDouble(&ok);
    if (!ok || day <= 0) return std::nullopt;
    return dateFromDayNumber(std::floor(day));
}

std::optional<double> numberValue(const QVariant& v) {
    if (v.isNull()) return std::nullopt;
    if (v.typeId() == QMetaType::QString) return parsePriceText(v.toString().trimmed());
    bool ok = false;
    const double n = v.toDouble(&ok);
    return ok ? std::optional<double>(n) : std::nullopt;
}

// Collects the rows of a table file's records, its fields named `Datum`, `Kurs`, `Volumen`.
class TableRows {
public:
    TableRows(int datum, int kurs, int volumen, HistoryRead& out) : m_datum(datum), m_kurs(kurs), m_volumen(volumen), m_out(out) {}
    bool operator()(const QVariantList& values) {
        const auto datum = dateValue(values.value(m_datum));
        const auto kurs = numberValue(values.value(m_kurs));
        if (!datum || !kurs || *kurs <= 0) {
            ++m_out.skipped;
            return true;
        }
        const auto volumen = m_volumen >= 0 ? numberValue(values.value(m_volumen)) : std::nullopt;
        m_out.rows.push_back({*datum, *kurs, volumen && *volumen > 0 ? qRound64(*volumen) : 0});
        return true;
    }

private:
    int m_datum, m_kurs, m_volumen;
    HistoryRead& m_out;
};

Result<HistoryRead> readTableFile(const QString& file) {
    HistoryRead out;
    out.columns = {-1, -1, -1};
    const QString suffix = QFileInfo(file).suffix().toUpper();
    if (suffix == QLatin1String("DBF")) {
        auto t = DbfTable::read(file);
        if (!t) return t.status();
        const int datum = t->fieldIndex(QStringLiteral("Datum"));
        const int kurs = t->fieldIndex(QStringLiteral("Kurs"));
        if (datum < 0 || kurs < 0) return noPriceFields(file);
        t->forEach(TableRows(datum, kurs, t->fieldIndex(QStringLiteral("Volumen")), out));
        return out;
    }
    if (isSqliteFile(file)) {
        auto t = readForeignTable(file, {QStringLiteral("Datum"), QStringLiteral("Kurs")});
        if (!t) return t.status().category() == Category::Invalid ? noPriceFields(file) : t.status();
        auto index = [&](const char* name) { return int(t->fields.indexOf(QRegularExpression(QStringLiteral("^%1$").arg(QLatin1String(name)), QRegularExpression::CaseInsensitiveOption))); };
        TableRows take(index("Datum"), index("Kurs"), index("Volumen"), out);
        for (const QVariantList& row : t->rows) take(row);
        return out;
    }
    auto t = ParadoxTable::open(file);
    if (!t) return t.status();
    const int datum = (*t)->fieldIndex(QStringLiteral("Datum"));
    const int kurs = (*t)->fieldIndex(QStringLiteral("Kurs"));
    if (datum < 0 || kurs < 0) return noPriceFields(file);
    Q_TRY((*t)->forEach(TableRows(datum, kurs, (*t)->fieldIndex(QStringLiteral("Volumen")), out)));
    return out;
}

// Appends one row per day that has none, in one transaction; returns the rows written.
Result<qint64> appendDays(Table& table, const QString& field, int firma, const std::vector<std::pair<QDate, QVariant>>& values) {
    BulkInsert insert(table, BulkInsert::OnDuplicate::Ignore);
    Q_TRY(insert.begin());
    // One row of the table's defaults, its day and value replaced for each day.
    Record r = table.newRecord();
    r.set(QStringLiteral("Firma"), firma);
    QVariantList row = r.values();
    const int iDatum = table.layout().fieldIndex(QStringLiteral("Datum"));
    const int iValue = table.layout().fieldIndex(field);
    for (const auto& [datum, value] : values) {
        row[iDatum] = dayNumber(datum);
        row[iValue] = value;
        Q_TRY(insert.add(row));
    }
    Q_TRY(insert.commit());
    return insert.added();
}

}  // namespace

HistoryFormat historyFormatOf(const QString& file) {
    // The second character of ".DB", ".CSV", ".TXT": the letter after the dot.
    const QString suffix = QFileInfo(file).suffix().toUpper();
    switch (suffix.isEmpty() ? 0 : suffix[0].unicode()) {
    case 'D': return HistoryFormat::Table;
    case 'C': return HistoryFormat::WebExport;
    case 'T': return HistoryFormat::Text;
    default: return HistoryFormat::None;
    }
}

Result<HistoryRead> readHistory(const QString& file, const HistoryOptions& options) {
    const HistoryFormat format = historyFormatOf(file);
    if (format == HistoryFormat::None)
        return Status::invalid(QStringLiteral("Das Format der Datei %1 ist unbekannt (erwartet .DB, .DBF, .CSV oder .TXT)").arg(file));
    if (!QFileInfo::exists(file)) return Status::notFound(QStringLiteral("Die Datei %1 gibt es nicht").arg(file));
    if (format == HistoryFormat::Table) return readTableFile(file);
    auto lines = readTextLinesAnyEncoding(file);
    if (!lines) return lines.status();
    HistoryRead out = readHistoryLines(*lines, format, options);
    if (options.backup && format == HistoryFormat::WebExport && !lines->isEmpty() && isWebExportHeader(lines->first())) {
        Q_TRY(writeWebExportBackup(file, *lines));
        out.backup = file + QStringLiteral(".bak");
    }
    return out;
}

Result<HistoryReport> bookHistory(Store& store, int firma, const std::vector<HistoryRow>& rows, const QDate& from, Progress& progress) {
    auto firmen = store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    auto found = (*firmen)->findKey({firma});
    if (!found) return found.status();
    if (!found->has_value()) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(firma));
    HistoryReport report;
    report.read = qint64(rows.size());
    std::vector<std::pair<QDate, QVariant>> prices;
    std::vector<std::pair<QDate, QVariant>> volumes;
    std::vector<ProtocolEntry> refused;
    const QString name = (*found)->value(QStringLiteral("FirmenName")).toString();
    const QDate latest = today().addDays(1);
    for (const HistoryRow& row : rows) {
        if (from.isValid() && row.datum < from) {
            ++report.before;
            continue;
        }
        if (const QString why = priceRefusal(row.kurs, row.datum, latest); !why.isEmpty()) {
            if (refused.size() < kProtocolEntriesKept)
                refused.push_back({name, formatGeneral(row.kurs), row.datum, QTime(0, 0), row.volumen, std::nullopt, why});
            ++report.refused;
            continue;
        }
        prices.push_back({row.datum, row.kurs});
        if (row.volumen > 0) volumes.push_back({row.datum, row.volumen});
    }
    progress.step(QStringLiteral("Kurse eintragen"), 0, 2);
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto booked = appendDays(**aktien, QStringLiteral("Kurs"), firma, prices);
    if (!booked) return booked.status();
    report.booked = *booked;
    report.already = qint64(prices.size()) - *booked;
    progress.step(QStringLiteral("Volumen eintragen"), 1, 2);
    if (!volumes.empty()) {
        if (Status ensured = store.ensure(QStringLiteral("Volumen.db")); !ensured) return ensured;
        auto volumen = store.table(QStringLiteral("Volumen.db"));
        if (!volumen) return volumen.status();
        auto written = appendDays(**volumen, QStringLiteral("Volumen"), firma, volumes);
        if (!written) return written.status();
        report.volumes = *written;
    }
    if (!refused.empty()) {
        ProtocolLists lists;
        lists.implausible = std::move(refused);
        // Only the implausible list: the unmatched list of the last reading run stays.
        Q_TRY(writeTextLines(filePath(store.dirs().work, kImplausibleFile), lists.implausibleLines()));
        report.refusedFile = filePath(store.dirs().work, kImplausibleFile);
    }
    return report;
}

Result<HistoryReport> importHistory(Store& store, int firma, const QString& file, const HistoryOptions& options, Progress& progress) {
    auto read = readHistory(file, options);
    if (!read) return read.status();
    auto report = bookHistory(store, firma, read->rows, options.from, progress);
    if (!report) return report.status();
    report->skipped = read->skipped;
    report->backup = read->backup;
    return report;
}

}  // namespace q
