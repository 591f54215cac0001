#include "exchange/security_export.h"

#include "base/clock.h"
#include "base/formats.h"
#include "exchange/dbf_writer.h"
#include "exchange/export_file.h"

#include <limits>

namespace q {

namespace {

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

Result<PriceRowReader> PriceRowReader::open(Store& store, bool withVolumes) {
    PriceRowReader reader;
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    auto prices = DayValues::open(**aktien, QStringLiteral("Kurs"));
    if (!prices) return prices.status();
    reader.m_prices = std::move(*prices);
    if (withVolumes && store.exists(QStringLiteral("Volumen.db"))) {
        auto volumen = store.table(QStringLiteral("Volumen.db"));
        if (!volumen) return volumen.status();
        auto volumes = DayValues::open(**volumen, QStringLiteral("Volumen"));
        if (!volumes) return volumes.status();
        reader.m_volumes = std::move(*volumes);
    }
    return reader;
}

Status PriceRowReader::read(int firma, const QDate& from, const QDate& to, std::vector<ExportRow>& rows) {
    rows.clear();
    const int fromDay = from.isValid() ? dayNumber(from) : std::numeric_limits<int>::min();
    const int toDay = to.isValid() ? dayNumber(to) : std::numeric_limits<int>::max();
    Q_TRY(m_prices->read(firma, fromDay, toDay, [&](const DayValue& v) { rows.push_back({v.day, v.number, std::nullopt}); }));
    if (!m_volumes || rows.empty()) return Status::ok();
    m_dayVolumes.clear();
    // A NULL volume is no volume: the export writes none for that day.
    Q_TRY(m_volumes->read(firma, fromDay, toDay, [&](const DayValue& v) {
        if (!v.null) m_dayVolumes.push_back(v);
    }));
    // Both in date order: one walk pairs each price with its day's volume.
    auto volume = m_dayVolumes.cbegin();
    for (ExportRow& row : rows) {
        while (volume != m_dayVolumes.cend() && volume->day < row.Datum) ++volume;
        if (volume != m_dayVolumes.cend() && volume->day == row.Datum) row.Volumen = volume->integer;
    }
    return Status::ok();
}

Result<std::vector<ExportRow>> securityPriceRows(Store& store, int firma, const QDate& from, const QDate& to, bool withVolumes) {
    auto reader = PriceRowReader::open(store, withVolumes);
    if (!reader) return reader.status();
    std::vector<ExportRow> rows;
    Q_TRY(reader->read(firma, from, to, rows));
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
