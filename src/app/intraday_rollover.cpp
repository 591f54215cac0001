#include "app/intraday_rollover.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "store/bulk_insert.h"
#include "store/catalogue.h"
#include "store/schema.h"

#include <QDir>
#include <cmath>
#include <map>

namespace q {

Result<RolloverReport> intradayRollover(const Directories& dirs, Store& store) {
    RolloverReport report;
    store.close(QStringLiteral("Intraday.db"));
    if (!store.exists(QStringLiteral("Intraday.db"))) {
        Q_TRY(store.ensure(QStringLiteral("Intraday.db")));
        return report;
    }
    // The store's table: its file, or the server's table (the day archives stay files).
    auto intraday = store.table(QStringLiteral("Intraday.db"));
    if (!intraday) return intraday.status();
    Table& source = **intraday;

    // The write lock on Intraday.db is held from reading to emptying, so a row a
    // polling job adds meanwhile waits and is not emptied away unarchived.
    Transaction sourceTx(source.db());
    Q_TRY(sourceTx.begin());
    // Rows by day; a day's rows go to that day's archive.
    std::map<int, std::vector<QVariantList>> byDay;
    Q_TRY(source.forEach(Query(), [&byDay](const Record& r) {
        byDay[static_cast<int>(std::floor(r.value(QStringLiteral("ZEIT")).toDouble()))].push_back(r.values());
        return true;
    }));
    if (!byDay.empty() && !QDir().mkpath(dirs.intraday))
        return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(dirs.intraday));

    const int f = source.layout().fieldIndex(QStringLiteral("Firma"));
    const int z = source.layout().fieldIndex(QStringLiteral("ZEIT"));
    const int k = source.layout().fieldIndex(QStringLiteral("Kurs"));
    const int v = source.layout().fieldIndex(QStringLiteral("Volumen"));
    for (const auto& [day, rows] : byDay) {
        const QString name = intradayArchiveName(dateFromDayNumber(day));
        const QString path = filePath(dirs.intraday, name);
        auto db = Database::open(path, Database::Mode::CreateIfMissing);
        if (!db) return db.status();
        const Layout layout = layoutFor(TableKind::Intraday, tableNameOf(name));
        Q_TRY(ensureTable(**db, layout, {}, nullptr));
        auto archive = Table::open(std::move(*db), layout);
        if (!archive) return archive.status();
        // An archive written before keeps its rows; a tick it has already is left out,
        // and so is a row the archive's fields refuse.
        const Layout& target = (*archive)->layout();
        const int tf = target.fieldIndex(QStringLiteral("Firma"));
        const int tz = target.fieldIndex(QStringLiteral("ZEIT"));
        const int tk = target.fieldIndex(QStringLiteral("Kurs"));
        const int tv = target.fieldIndex(QStringLiteral("Volumen"));
        BulkInsert insert(**archive, BulkInsert::OnDuplicate::Ignore);
        Q_TRY(insert.begin());
        QVariantList values;
        for (const QVariantList& row : rows) {
            values = QVariantList(static_cast<qsizetype>(target.fields.size()));
            for (auto [to, from] : {std::pair{tf, f}, std::pair{tz, z}, std::pair{tk, k}, std::pair{tv, v}})
                if (to >= 0 && from >= 0) values[to] = row[from];
            if (Status added = insert.add(values); !added && added.category() != Category::Invalid) return added;
        }
        Q_TRY(insert.commit());
        report.archives << path;
        report.rows += static_cast<qint64>(rows.size());
    }
    // Every row is safe in its archive now.
    auto removed = source.removeWhere(Query());
    if (!removed) return removed.status();
    Q_TRY(sourceTx.commit());
    return report;
}

}  // namespace q
