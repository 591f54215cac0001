#include "exchange/security_export.h"

#include "base/clock.h"
#include "base/formats.h"
#include "exchange/dbf_writer.h"
#include "exchange/export_file.h"

#include <QHash>

namespace q {

namespace {

Query rangeOf(int firma, const QDate& from, const QDate& to) {
    Query q = Query::detailOf(firma);
    q.rangeField = QStringLiteral("Datum");
    if (from.isValid()) q.from = dayNumber(from);
    if (to.isValid()) q.to = dayNumber(to);
    return q;
}

QString inQuotes(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

}  // namespace

std::optional<ExportTyp> exportTypNamed(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("csv")) return ExportTyp::Csv;
    if (n == QLatin1String("text") || n == QLatin1String("txt")) return ExportTyp::Text;
    if (n == QLatin1String("dbf") || n == QLatin1String("dbase")) return ExportTyp::DBase;
    return std::nullopt;
}

QString exportFileName(const QString& chosen, ExportTyp typ) {
    const QString ext = typ == ExportTyp::Csv ? QStringLiteral(".csv") : typ == ExportTyp::Text ? QStringLiteral(".txt") : QStringLiteral(".dbf");
    return chosen.endsWith(ext, Qt::CaseInsensitive) ? chosen : chosen + ext;
}

Result<std::vector<ExportRow>> securityPriceRows(Store& store, int firma, const QDate& from, const QDate& to, bool withVolumes) {
    std::vector<ExportRow> rows;
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    const int datum = (*aktien)->layout().fieldIndex(QStringLiteral("Datum"));
    const int kurs = (*aktien)->layout().fieldIndex(QStringLiteral("Kurs"));
    Q_TRY((*aktien)->forEach(rangeOf(firma, from, to), [&](const Record& r) {
        rows.push_back({r.values()[datum].toInt(), r.values()[kurs].toDouble(), std::nullopt});
        return true;
    }));
    if (!withVolumes || rows.empty() || !store.exists(QStringLiteral("Volumen.db"))) return rows;
    auto volumen = store.table(QStringLiteral("Volumen.db"));
    if (!volumen) return volumen.status();
    const int vDatum = (*volumen)->layout().fieldIndex(QStringLiteral("Datum"));
    const int vVolumen = (*volumen)->layout().fieldIndex(QStringLiteral("Volumen"));
    QHash<int, qint64> byDay;
    Q_TRY((*volumen)->forEach(rangeOf(firma, from, to), [&](const Record& r) {
        // A NULL volume is no volume: the export writes none for that day.
        if (!r.values()[vVolumen].isNull()) byDay.insert(r.values()[vDatum].toInt(), r.values()[vVolumen].toLongLong());
        return true;
    }));
    for (ExportRow& row : rows)
        if (auto it = byDay.constFind(row.Datum); it != byDay.constEnd()) row.Volumen = *it;
    return rows;
}

Result<std::optional<QDate>> firstPriceDay(Store& store, int firma) {
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto first = (*aktien)->first(Query::detailOf(firma));
    if (!first) return first.status();
    if (!first->has_value()) return std::optional<QDate>();
    return std::optional<QDate>(dateFromDayNumber((*first)->value(QStringLiteral("Datum")).toInt()));
}

Result<SecurityExportReport> exportSecurity(Store& store, int firma, const QString& chosen, const SecurityExportOptions& options) {
    auto firmen = store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    auto found = (*firmen)->findKey({firma});
    if (!found) return found.status();
    if (!found->has_value()) return Status::notFound(QStringLiteral("Wertpapier \"%1\" nicht gefunden").arg(firma));
    auto rows = securityPriceRows(store, firma, options.from, options.to);
    if (!rows) return rows.status();
    SecurityExportReport report;
    report.file = exportFileName(chosen, options.typ);
    report.rows = qint64(rows->size());
    auto out = ExportFile::open(report.file);
    if (!out) return out.status();
    if (options.typ == ExportTyp::DBase) {
        std::vector<QVariantList> records;
        records.reserve(rows->size());
        for (const ExportRow& r : *rows)
            records.push_back({dateFromDayNumber(r.Datum), r.Kurs, r.Volumen ? QVariant(double(*r.Volumen)) : QVariant()});
        auto bytes = dbfBytes(priceTableFields(), records, today());
        if (!bytes) return bytes.status();
        (*out)->bytes(*bytes);
    } else if (options.typ == ExportTyp::Csv) {
        (*out)->line(QStringLiteral("\"Datum\";\"Kurs\";\"Volumen\""));
        for (const ExportRow& r : *rows)
            (*out)->line(inQuotes(formatDate(dateFromDayNumber(r.Datum))) + QLatin1Char(';') + inQuotes(fixedPriceText(r.Kurs, options.decimals)) +
                         QLatin1Char(';') + inQuotes(QString::number(r.Volumen.value_or(0))));
    } else {
        for (const ExportRow& r : *rows) {
            QString line = formatDate(dateFromDayNumber(r.Datum)) + options.separator + fixedPriceText(r.Kurs, options.decimals);
            if (r.Volumen) line += options.separator + QString::number(*r.Volumen);
            (*out)->line(line);
        }
    }
    Q_TRY((*out)->commit());
    return report;
}

}  // namespace q
