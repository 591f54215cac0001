#include "app/backup_sets.h"

#include "base/text_files.h"
#include "store/catalogue.h"
#include "store/database.h"
#include "store/raw_connection.h"
#include "store/table_health.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace q {

namespace {

const QString kGenerationPrefix = QStringLiteral("Sicherung_");
const QString kUnfinished = QStringLiteral(".neu");

struct Planned {
    const char* table;
    bool depot;  // "aktuell" keeps this copy beside the table in the depot directory
};
// Backup order.
constexpr Planned kTables[] = {{"Firma.db", false},        {"Gruppen.db", false}, {"Branchen.db", false},
                               {"Transaktionen.db", true}, {"Anlagen.DB", true},  {"Aktien.db", false},
                               {"Volumen.db", false}};

qint64 countRows(const QString& path, const QString& table) {
    RawConnection db;
    if (!db.open(path)) return -1;
    auto n = db.rowCount(tableNameOf(table));
    return n ? *n : -1;
}

BackupSet readSet(const QString& name, const QString& dir, const QString& depotDir, bool countRows_) {
    BackupSet set;
    set.name = name;
    set.dir = withSlash(dir);
    for (const Planned& p : kTables) {
        const QString table = QString::fromLatin1(p.table);
        const QString path = findFile(p.depot && !depotDir.isEmpty() ? depotDir : dir, table + QLatin1Char('~'));
        if (path.isEmpty()) continue;
        SafetyCopy c{table, path, QFileInfo(path).lastModified(), -1};
        if (countRows_) c.rows = countRows(path, table);
        set.copies.push_back(c);
    }
    if (const SafetyCopy* firma = set.copyOf(QStringLiteral("Firma.db"))) set.date = firma->date;
    return set;
}

// The same file: one inode (a hard link), or a copy with the same size and time.
bool sameFile(const QString& a, const QString& b) {
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0) return false;
    if (sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino) return true;
    return sa.st_size == sb.st_size && sa.st_mtime == sb.st_mtime;
}

bool sameSet(const BackupSet& a, const BackupSet& b) {
    if (a.copies.size() != b.copies.size()) return false;
    for (const SafetyCopy& c : a.copies) {
        const SafetyCopy* other = b.copyOf(c.table);
        if (!other || !sameFile(c.path, other->path)) return false;
    }
    return true;
}

QStringList generationNames(const QString& backupDir) {
    QStringList names = QDir(backupDir).entryList({kGenerationPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    names.removeIf([](const QString& n) { return n.endsWith(kUnfinished); });
    std::reverse(names.begin(), names.end());  // the names sort by date: newest first
    return names;
}

// A hard link where the file system has them, else a copy that keeps the time.
Status linkOrCopy(const QString& from, const QString& to) {
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) return Status::ok();
    QFile::remove(to);
    if (!QFile::copy(from, to)) return Status::io(QStringLiteral("Die Datei %1 kann nicht nach %2 kopiert werden").arg(from, to));
    QFile copy(to);
    if (copy.open(QIODevice::ReadWrite)) copy.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    return Status::ok();
}

}  // namespace

const SafetyCopy* BackupSet::copyOf(const QString& table) const {
    for (const SafetyCopy& c : copies)
        if (c.table.compare(table, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

std::vector<BackupSet> Sicherungen(const Directories& dirs, bool countRows_) {
    std::vector<BackupSet> sets;
    for (const QString& name : generationNames(dirs.backup)) {
        BackupSet g = readSet(name, withSlash(dirs.backup) + name, QString(), countRows_);
        if (g.copyOf(QStringLiteral("Firma.db"))) sets.push_back(std::move(g));
    }
    BackupSet newest = readSet(kNewestSet, dirs.backup, dirs.depot, countRows_);
    if (newest.copyOf(QStringLiteral("Firma.db")) && (sets.empty() || !sameSet(newest, sets.front())))
        sets.insert(sets.begin(), std::move(newest));
    return sets;
}

Result<BackupSet> findSet(const std::vector<BackupSet>& sets, const QString& name) {
    QStringList names;
    for (const BackupSet& s : sets) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) return s;
        names << s.name;
    }
    // "aktuell" is the newest generation when both hold the same copies.
    if (name.compare(kNewestSet, Qt::CaseInsensitive) == 0 && !sets.empty()) return sets.front();
    return Status::notFound(QStringLiteral("Es gibt keine Sicherung »%1« (vorhanden: %2)")
                                .arg(name, names.isEmpty() ? QStringLiteral("keine") : names.join(QStringLiteral(", "))));
}

Status checkSet(const BackupSet& set) {
    for (const char* name : {"Aktien.db", "Volumen.db", "Firma.db", "Gruppen.db", "Branchen.db"}) {
        const QString table = QString::fromLatin1(name);
        const SafetyCopy* c = set.copyOf(table);
        if (!c) continue;
        const Layout layout = layoutForFile(table);
        // A copy an earlier release made may lack what the structure upgrade adds at
        // the next start; its key and name must be there.
        QStringList mayLack;
        if (layout.table == QLatin1String("Firma"))
            for (const Field& f : layout.fields)
                if (f.name != QLatin1String("Firma") && f.name != QLatin1String("FirmenName")) mayLack << f.name;
        if (Status s = fullCheck(c->path, layout, mayLack, CheckDepth::Pages); !s)
            return Status::corrupt(QStringLiteral("Die Sicherungskopie %1 ist unbrauchbar: %2").arg(c->path, s.message()));
    }
    return Status::ok();
}

Result<QString> makeGeneration(const Directories& dirs, const QStringList& copies, const QDateTime& when, int keep) {
    const QString base = withSlash(dirs.backup);
    // What a stopped backup left half made.
    for (const QString& n : QDir(base).entryList({kGenerationPrefix + QLatin1Char('*') + kUnfinished}, QDir::Dirs | QDir::NoDotAndDotDot))
        QDir(base + n).removeRecursively();
    QString name;
    if (keep > 0) {
        name = kGenerationPrefix + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
        for (int i = 2; QFileInfo::exists(base + name); ++i)
            name = kGenerationPrefix + when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral("_%1").arg(i);
        const QString building = base + name + kUnfinished;
        if (!QDir().mkpath(building)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(building));
        for (const QString& copy : copies) {
            if (Status s = linkOrCopy(copy, withSlash(building) + QFileInfo(copy).fileName()); !s) {
                QDir(building).removeRecursively();
                return s;
            }
        }
        if (!QDir().rename(building, base + name)) {
            QDir(building).removeRecursively();
            return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden").arg(base + name));
        }
    }
    const QStringList generations = generationNames(base);
    for (int i = std::max(keep, 0); i < generations.size(); ++i) QDir(base + generations[i]).removeRecursively();
    return name;
}

QString formatCopyDate(const QDateTime& date) { return date.toString(QStringLiteral("dd.MM.yyyy HH:mm")); }

}  // namespace q
