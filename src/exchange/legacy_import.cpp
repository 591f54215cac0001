#include "exchange/legacy_import.h"

#include "base/text_files.h"
#include "exchange/legacy_merge.h"
#include "exchange/paradox_table.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cmath>

namespace q {

namespace {

constexpr int kProgressEvery = 2000;
constexpr int kProblemsShown = 5;

struct Source {
    const CatalogueEntry* entry;
    QString path;
};

// The catalogued tables in `dir` in catalogue order (the securities master first);
// every other Paradox table there is listed as left out.
std::vector<Source> findSources(const QString& dir, std::vector<LegacySkippedFile>& skipped) {
    const QStringList files = QDir(dir).entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
    std::vector<Source> sources;
    QSet<QString> taken;
    for (const CatalogueEntry& e : catalogue()) {
        for (const QString& f : files) {
            if (f.compare(e.file, Qt::CaseInsensitive) != 0) continue;
            sources.push_back({&e, withSlash(dir) + f});
            taken.insert(f);
            break;
        }
    }
    for (const QString& f : files) {
        if (taken.contains(f)) continue;
        skipped.push_back({f, catalogueEntry(f) ? QStringLiteral("noch einmal in anderer Schreibweise vorhanden")
                                                : QStringLiteral("keine Tabelle von Quintara")});
    }
    return sources;
}

// The value a field missing from an old table gets, as the structure upgrades give it.
QVariant missingValue(TableKind kind, const QString& field) {
    if (kind == TableKind::Firma && (field == QLatin1String("Branche") || field == QLatin1String("Merkmal"))) return 0;
    if (kind == TableKind::Waehrung && field == QLatin1String("Multiplikator")) return true;
    if (kind == TableKind::Waehrung && field == QLatin1String("Einheit")) return 1.0;
    return QVariant();
}

// A value read from the old table as the field here stores it; nullopt when it
// cannot be one (a text where a number belongs).
std::optional<QVariant> convert(const QVariant& v, FieldType to) {
    if (v.isNull()) return QVariant();
    bool ok = true;
    switch (to) {
    case FieldType::Alpha:
    case FieldType::Memo:
        if (v.typeId() == QMetaType::QByteArray) return std::nullopt;
        return QVariant(v.toString());
    case FieldType::Long:
    case FieldType::Short: {
        if (v.typeId() == QMetaType::Double) return QVariant(static_cast<qint64>(std::floor(v.toDouble())));
        const qint64 n = v.toLongLong(&ok);
        return ok ? std::optional<QVariant>(n) : std::nullopt;
    }
    case FieldType::Date: {
        const double d = v.toDouble(&ok);
        return ok ? std::optional<QVariant>(static_cast<int>(std::floor(d))) : std::nullopt;
    }
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::Timestamp: {
        const double d = v.toDouble(&ok);
        return ok ? std::optional<QVariant>(d) : std::nullopt;
    }
    case FieldType::Logical:
        if (v.typeId() == QMetaType::QString) return std::nullopt;
        return QVariant(v.toBool());
    }
    return std::nullopt;
}

// One old table read into rows of our layout.
class Reader {
public:
    Reader(ParadoxTable& table, TableKind kind, const Layout& target, LegacyTableReport& report)
        : m_table(table), m_kind(kind), m_target(target), m_report(report) {
        for (const Field& f : target.fields) {
            const int i = table.fieldIndex(f.name);
            m_source.push_back(i);
            const bool handedOut = target.autoNumberKey && f.name == target.primaryFields.value(0);
            if (i < 0 && f.required && missingValue(kind, f.name).isNull() && !handedOut)
                report.notes << QStringLiteral("Feld %1 fehlt in der Datei").arg(f.name);
        }
        for (const ParadoxField& f : table.fields())
            if (!target.field(f.name))
                report.notes << QStringLiteral("Feld %1 nicht übernommen: in Quintara nicht vorhanden").arg(f.name);
    }

    // Reads every record and hands it on as a row of the target layout.
    Status feed(const RowSink& sink, Progress& progress) {
        const qint64 total = m_table.recordCount();
        const QString file = QFileInfo(m_table.path()).fileName();
        Status failed = Status::ok();
        QVariantList row;
        Status read = m_table.forEach([&](const QVariantList& record) {
            ++m_report.read;
            if (m_report.read % kProgressEvery == 0) {
                progress.step(file, m_report.read, total);
                if (progress.cancelRequested()) {
                    failed = Status::cancelled(QStringLiteral("Import abgebrochen"));
                    return false;
                }
            }
            row.clear();
            for (size_t i = 0; i < m_target.fields.size(); ++i) {
                const int from = m_source[i];
                const Field& field = m_target.fields[i];
                if (from < 0) {
                    row << missingValue(m_kind, field.name);
                    continue;
                }
                auto value = convert(record[from], field.type);
                if (!value) m_unreadable.insert(field.name);
                row << value.value_or(QVariant());
            }
            failed = sink(row);
            return failed.isOk();
        });
        if (!failed) return failed;
        m_damaged = !read.isOk();
        return read;
    }
    // The old file could not be read to its end.
    bool damaged() const { return m_damaged; }

    // The notes of the reading: fields that could not be converted, memos unread.
    void finish() {
        for (const QString& name : m_unreadable)
            m_report.notes << QStringLiteral("Feld %1: Werte anderer Art leer gelassen").arg(name);
        const QStringList& problems = m_table.problems();
        for (int i = 0; i < problems.size() && i < kProblemsShown; ++i) m_report.notes << problems[i];
        if (problems.size() > kProblemsShown)
            m_report.notes << QStringLiteral("… und %1 weitere").arg(problems.size() - kProblemsShown);
    }

private:
    ParadoxTable& m_table;
    TableKind m_kind;
    const Layout& m_target;
    LegacyTableReport& m_report;
    std::vector<int> m_source;  // per target field: the old field, or -1
    QSet<QString> m_unreadable;
    bool m_damaged = false;
};

void addCount(LegacyTableReport& report, const MergeCount& count) {
    report.added = count.added;
    report.existing = count.existing;
    report.skipped = count.skipped;
    for (auto it = count.reasons.begin(); it != count.reasons.end(); ++it)
        report.notes << QStringLiteral("%1 Zeilen ausgelassen: %2").arg(it.value()).arg(it.key());
}

bool refersToSecurities(const Layout& layout) {
    return layout.table != QLatin1String("Firma") && layout.field(QStringLiteral("Firma"));
}

// Reads (and with a store, merges) every table found. Without a store nothing is
// written and only the securities master's numbers are learnt.
Result<LegacyReport> run(Store* store, const QString& dir, Progress& progress) {
    Q_TRY(checkLegacyDir(dir));
    LegacyReport report;
    report.dir = withSlash(dir);
    report.dryRun = store == nullptr;
    const std::vector<Source> sources = findSources(dir, report.skipped);
    if (sources.empty())
        return Status::notFound(
            QStringLiteral("Im Verzeichnis %1 gibt es keine Tabellen der Windows-Version (Firma.DB, Aktien.DB, …)").arg(dir));

    LegacyMerge merge;
    QSet<qint64> oldNumbers;  // the dry run's view of the old securities master
    bool securitiesKnown = false;
    for (const Source& source : sources) {
        const QString fileName = QFileInfo(source.path).fileName();
        auto table = ParadoxTable::open(source.path);
        if (!table) {
            report.skipped.push_back({fileName, table.status().message()});
            continue;
        }
        const bool isFirma = source.entry->kind == TableKind::Firma;
        Layout target = layoutForFile(source.entry->file);
        Table* into = nullptr;
        if (store) {
            Q_TRY(store->ensure(source.entry->file));
            auto t = store->table(source.entry->file);
            if (!t) return t.status();
            into = *t;
            target = into->layout();
        }
        if (refersToSecurities(target) && !securitiesKnown) {
            report.skipped.push_back(
                {fileName, QStringLiteral("ohne lesbare Firma.DB lassen sich die Wertpapiernummern nicht zuordnen")});
            continue;
        }
        LegacyTableReport tableReport;
        tableReport.source = fileName;
        tableReport.target = source.entry->file;
        Reader reader(**table, source.entry->kind, target, tableReport);
        const RowSource rows = [&](const RowSink& sink) { return reader.feed(sink, progress); };
        MergeCount count;
        Status merged = Status::ok();
        if (into && isFirma) {
            merged = merge.mergeFirma(*into, rows, count);
        } else if (into) {
            const std::vector<Row> seed = seedRows(source.entry->kind, source.entry->file, store->dirs().data);
            merged = merge.mergeRows(source.entry->kind, *into, seed, rows, count);
        } else {
            const int firmaField = target.fieldIndex(QStringLiteral("Firma"));
            merged = rows([&](QVariantList& row) {
                if (isFirma && !row.value(firmaField).isNull()) oldNumbers.insert(row[firmaField].toLongLong());
                if (!isFirma && refersToSecurities(target) && !row.value(firmaField).isNull() &&
                    !oldNumbers.contains(row[firmaField].toLongLong()))
                    count.skip(LegacyMerge::unknownSecurity());
                return Status::ok();
            });
        }
        // A damaged block ends the table's transaction; the file is left out whole.
        if (reader.damaged()) {
            report.skipped.push_back({fileName, merged.message()});
            continue;
        }
        Q_TRY(merged);
        if (isFirma) securitiesKnown = true;
        reader.finish();
        addCount(tableReport, count);
        report.tables.push_back(tableReport);
    }
    progress.step(QStringLiteral("Import"), 1, 1);
    return report;
}

}  // namespace

Status checkLegacyDir(const QString& dir) {
    if (!QFileInfo(dir).isDir()) return Status::notFound(QStringLiteral("Das Verzeichnis %1 gibt es nicht").arg(dir));
    return Status::ok();
}

Result<LegacyReport> readLegacy(const QString& dir, Progress& progress) { return run(nullptr, dir, progress); }

Result<LegacyReport> importLegacy(Store& store, const QString& dir, Progress& progress) { return run(&store, dir, progress); }

QStringList describeLegacyReport(const LegacyReport& report) {
    QStringList lines;
    for (const LegacyTableReport& t : report.tables) {
        if (report.dryRun)
            lines << QStringLiteral("%1: %2 gelesen, %3 ausgelassen").arg(t.source).arg(t.read).arg(t.skipped);
        else
            lines << QStringLiteral("%1 -> %2: %3 gelesen, %4 neu, %5 vorhanden, %6 ausgelassen")
                         .arg(t.source, t.target)
                         .arg(t.read)
                         .arg(t.added)
                         .arg(t.existing)
                         .arg(t.skipped);
        for (const QString& note : t.notes) lines << QStringLiteral("  ") + note;
    }
    for (const LegacySkippedFile& f : report.skipped) lines << QStringLiteral("Ausgelassen: %1: %2").arg(f.file, f.reason);
    if (report.dryRun) lines << QStringLiteral("Probelauf: nichts geschrieben");
    return lines;
}

}  // namespace q
