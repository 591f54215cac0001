#include "news/news_store.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QFile>
#include <cmath>

namespace q {

namespace {

const QString kTable = QStringLiteral("Nachrichten.db");
constexpr int kHeadlineLength = 255;

NewsItem itemOf(const Record& r) {
    NewsItem n;
    n.Nummer = r.value(QStringLiteral("Nummer")).toLongLong();
    n.Zeit = dateTimeFromNumber(r.value(QStringLiteral("ZEIT")).toDouble());
    n.Nachricht = r.value(QStringLiteral("Nachricht")).toString();
    n.Firma = r.value(QStringLiteral("Firma")).toInt();
    n.Aktiv = r.value(QStringLiteral("Aktiv")).toBool();
    return n;
}

Result<Table*> newsTable(Store& store) {
    Q_TRY(store.ensure(kTable));
    return store.table(kTable);
}

QStringList candidates(qint64 nummer) {
    const QString n = QString::number(nummer);
    return {n + QStringLiteral(".TXT"), QLatin1Char('0') + n + QStringLiteral(".TXT"), n + QStringLiteral(".HTM"),
            QLatin1Char('0') + n + QStringLiteral(".HTM")};
}

// The item's files that a deletion removes: the text file (or the "0"-prefixed
// one) and the HTML file (or the "0"-prefixed one).
QStringList filesOf(const QString& newsDir, qint64 nummer) {
    const QStringList names = candidates(nummer);
    QStringList out;
    for (int pair : {0, 2}) {
        QString found = findFile(newsDir, names[pair]);
        if (found.isEmpty()) found = findFile(newsDir, names[pair + 1]);
        if (!found.isEmpty()) out << found;
    }
    return out;
}

Result<int> deleteRecordsThenFiles(Table& t, const QString& newsDir, const std::vector<Record>& rows) {
    Transaction tx(t.db());
    Q_TRY(tx.begin());
    for (const Record& r : rows) Q_TRY(t.remove(r));
    Q_TRY(tx.commit());
    int files = 0;
    if (newsDir.isEmpty()) return files;
    for (const Record& r : rows)
        for (const QString& f : filesOf(newsDir, r.value(QStringLiteral("Nummer")).toLongLong()))
            if (QFile::remove(f)) ++files;
    return files;
}

}  // namespace

bool NewsFilter::accepts(const NewsItem& n) const {
    if (!n.Aktiv && !inactive) return false;
    if (n.Firma == 0) return general;
    if (security != 0) return company && n.Firma == security;
    return company;
}

Result<std::vector<NewsItem>> listNews(Store& store, const NewsFilter& filter) {
    std::vector<NewsItem> out;
    if (!store.exists(kTable)) return out;
    auto t = store.table(kTable);
    if (!t) return t.status();
    Query newest;
    newest.order = QStringLiteral("News");
    Q_TRY((*t)->forEach(newest, [&](const Record& r) {
        NewsItem n = itemOf(r);
        if (filter.accepts(n)) out.push_back(std::move(n));
        return true;
    }));
    return out;
}

Result<NewsItem> readNews(Store& store, qint64 nummer) {
    auto t = newsTable(store);
    if (!t) return t.status();
    auto row = (*t)->findKey({nummer});
    if (!row) return row.status();
    if (!row->has_value()) return Status::notFound(QStringLiteral("Nachricht %1 nicht gefunden").arg(nummer));
    return itemOf(**row);
}

QString newsItemFile(const QString& newsDir, qint64 nummer) {
    if (newsDir.isEmpty()) return {};
    for (const QString& name : candidates(nummer)) {
        const QString found = findFile(newsDir, name);
        if (!found.isEmpty()) return found;
    }
    return {};
}

NewsText readNewsText(const QString& newsDir, qint64 nummer) {
    NewsText out;
    out.path = newsItemFile(newsDir, nummer);
    if (out.path.isEmpty()) {
        out.text = QStringLiteral("Zu dieser Nachricht gibt es keine Datei (%1.TXT)").arg(nummer);
        return out;
    }
    out.html = out.path.endsWith(QStringLiteral(".HTM"), Qt::CaseInsensitive);
    QFile f(out.path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.text = QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(out.path, f.errorString());
        out.html = false;
        return out;
    }
    out.text = decodeText(f.readAll());
    return out;
}

Result<NewsItem> addNews(Store& store, const QString& newsDir, const QString& headline, int firma, const QDateTime& now,
                         const std::optional<QString>& text) {
    if (headline.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Die Überschrift fehlt"));
    auto t = newsTable(store);
    if (!t) return t.status();
    NewsItem n;
    n.Zeit = now;
    n.Nachricht = headline.trimmed().left(kHeadlineLength);
    n.Firma = firma;
    n.Aktiv = true;
    // The record claims the number: a number another program took a moment ago is
    // not overwritten, the item takes the next one.
    n.Nummer = std::llround(timestampNumber(now) * 1000);
    for (;; ++n.Nummer) {
        // A number whose file exists belongs to an item whose record was lost.
        if (!newsItemFile(newsDir, n.Nummer).isEmpty()) continue;
        auto claimed = appendNewsItem(store, n);
        if (!claimed) return claimed.status();
        if (*claimed) break;
    }
    if (text) {
        Status written = writeTextLines(withSlash(newsDir) + QString::number(n.Nummer) + QStringLiteral(".TXT"), splitLines(*text));
        if (!written) {
            // No headline without its text: the record goes again.
            if (auto row = (*t)->findKey({n.Nummer}); row && row->has_value()) (void)(*t)->remove(**row);
            return written;
        }
    }
    return n;
}

Result<NewsItem> editNews(Store& store, qint64 nummer, const NewsEdit& e) {
    auto item = readNews(store, nummer);
    if (!item) return item;
    if (e.headline) {
        if (e.headline->trimmed().isEmpty()) return Status::invalid(QStringLiteral("Die Überschrift fehlt"));
        item->Nachricht = e.headline->trimmed().left(kHeadlineLength);
    }
    if (e.zeit) item->Zeit = *e.zeit;
    if (e.aktiv) item->Aktiv = *e.aktiv;
    if (e.firma) item->Firma = *e.firma;
    Q_TRY(saveNewsItem(store, *item));
    return item;
}

Status deleteNews(Store& store, const QString& newsDir, qint64 nummer) {
    auto t = newsTable(store);
    if (!t) return t.status();
    auto row = (*t)->findKey({nummer});
    if (!row) return row.status();
    if (!row->has_value()) return Status::notFound(QStringLiteral("Nachricht %1 nicht gefunden").arg(nummer));
    auto files = deleteRecordsThenFiles(**t, newsDir, {**row});
    return files ? Status::ok() : files.status();
}

Result<PurgeResult> purgeNews(Store& store, const QString& newsDir, NewsPurge rule, const QDate& today) {
    PurgeResult out;
    if (!store.exists(kTable)) return out;
    auto t = store.table(kTable);
    if (!t) return t.status();
    const double start = dayNumber(today);
    std::vector<Record> doomed;
    Q_TRY((*t)->forEach(Query{}, [&](const Record& r) {
        const bool inactive = !r.value(QStringLiteral("Aktiv")).toBool();
        const bool oldGeneral = r.value(QStringLiteral("Firma")).toInt() == 0 && r.value(QStringLiteral("ZEIT")).toDouble() < start;
        if (inactive || (rule == NewsPurge::Old && oldGeneral)) doomed.push_back(r);
        return true;
    }));
    auto files = deleteRecordsThenFiles(**t, newsDir, doomed);
    if (!files) return files.status();
    out.items = int(doomed.size());
    out.files = *files;
    return out;
}

Result<PurgeResult> purgeOldNewsAsked(Store& store, const QString& newsDir, const QDate& today, Interaction& ui) {
    if (ui.ask(QStringLiteral("Inaktive und Alte nicht zugeordnete Nachrichten löschen?"),
               QStringLiteral("Sollen alle Inaktiven und alle Nachrichten die keinem Wertpapier zugeordnet nicht und nicht von "
                              "heute gelöscht werden?"),
               Answer::No) != Answer::Yes)
        return Status::cancelled(QStringLiteral("Es wurde nichts gelöscht"));
    return purgeNews(store, newsDir, NewsPurge::Old, today);
}

}  // namespace q
