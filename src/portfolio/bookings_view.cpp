#include "portfolio/bookings_view.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "portfolio/holdings_report.h"

namespace q {

namespace {

QString fieldOfTitle(const QString& title) {
    return title == QLatin1String("Bezeichnung") ? QStringLiteral("FirmenName") : title;
}

QString textOf(const Field& field, const QVariant& v) {
    if (v.isNull()) return QString();
    switch (field.type) {
    case FieldType::Date:
    case FieldType::Timestamp: return v.toDouble() > 0 ? formatDate(dateFromDayNumber(v.toDouble())) : QString();
    case FieldType::Number:
    case FieldType::Money: return formatGeneral(v.toDouble());
    case FieldType::Long:
    case FieldType::Short: return QString::number(v.toLongLong());
    default: return v.toString();
    }
}

}  // namespace

QStringList bookingsColumns() {
    return {QStringLiteral("FirmenName"), QStringLiteral("Anteile"), QStringLiteral("Datum"),
            QStringLiteral("Ankauf"),     QStringLiteral("Verkauf"), QStringLiteral("Erloes")};
}

QString nextSortIndex(const QString& current, const QString& title) {
    const QString ascending = QStringLiteral("I") + fieldOfTitle(title);
    return current.compare(ascending, Qt::CaseInsensitive) == 0 ? QStringLiteral("G") + fieldOfTitle(title) : ascending;
}

Status ensureSortIndex(Table& lots, const QString& name) {
    if (lots.hasIndex(name)) return Status::ok();
    const QString field = name.mid(1);
    const bool ascending = name.startsWith(QLatin1Char('I'));
    if ((!ascending && !name.startsWith(QLatin1Char('G'))) || !lots.hasField(field))
        return Status::invalid(QStringLiteral("Nach %1 kann nicht sortiert werden").arg(field));
    return lots.addIndex({name, {lots.layout().field(field)->name}, ascending ? IndexKind::CaseInsensitive : IndexKind::Descending});
}

double bookingsSum(const std::vector<Lot>& lots) {
    double sum = 0;
    for (const Lot& lot : lots) sum += (lot.Erloes - lot.buyPrice()) * lot.Anteile;
    return sum;
}

Result<BookingsText> writeBookingsText(Store& store, const QString& workDir, const QString& order, const QStringList& columns,
                                       const QString& homeSymbol) {
    auto table = store.table(kLots);
    if (!table) return table.status();
    const Layout& layout = (*table)->layout();
    QStringList fields;
    if (columns.size() >= static_cast<int>(layout.fields.size()))
        for (const Field& f : layout.fields) fields << f.name;
    else
        for (const QString& c : columns) fields << fieldOfTitle(c);

    Query q;
    q.order = order;
    QStringList lines;
    lines << fields.join(QLatin1Char('\t')) + QLatin1Char('\t');
    std::vector<Lot> lots;
    Q_TRY((*table)->forEach(q, [&](const Record& r) {
        QString line;
        for (const QString& name : fields) {
            const Field* f = layout.field(name);
            line += (f ? textOf(*f, r.value(name)) : QString()) + QLatin1Char('\t');
        }
        lines << line;
        lots.push_back(lotFromRecord(r));
        return true;
    }));
    BookingsText out;
    out.sum = bookingsSum(lots);
    out.sumLine = QStringLiteral("Summe: ") + reportMoney(out.sum, 9, 2, homeSymbol);
    lines << QString() << out.sumLine;
    out.path = filePath(workDir, kBookingsText);
    Q_TRY(writeTextLines(out.path, lines));
    return out;
}

}  // namespace q
