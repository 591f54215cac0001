// The news window's work on `Nachrichten.db` and the item files of the news
// directory: listing by the window's switches, adding, editing and deleting items
// (with their files), purging old ones, and reading an item's text.
//
// Design notes.
// 1. An item's text is the first existing file of n + ".TXT", "0" + n + ".TXT",
//    n + ".HTM", "0" + n + ".HTM" in the news directory (teletext items of January to
//    September were saved with the leading "0" of the month that `Nummer` lost).
// 2. A deletion removes the records first, in one transaction, and only then their
//    files: an interrupted deletion leaves at worst a file without a record, never a
//    record whose text is gone.
// 3. A new item's number is round(now × 1000) with now as a day-based timestamp;
//    those numbers repeat within 86 seconds, so an item takes the next free number.
#pragma once

#include "base/interaction.h"
#include "news/news_table.h"

#include <optional>
#include <vector>

namespace q {

// The window's switches and the security it was opened for.
struct NewsFilter {
    bool inactive = false;  // "inaktive": also the items not `Aktiv`
    bool general = true;    // "News": items with `Firma` 0
    bool company = true;    // "Unternehmens-Meldungen"
    int security = 0;       // the window's security; 0: none
    bool accepts(const NewsItem& item) const;
};

// The items the filter lets through, newest first (index "News"). A missing table
// gives none. Fails with the store's message.
Result<std::vector<NewsItem>> listNews(Store& store, const NewsFilter& filter);
// The item with that number. NotFound "Nachricht <n> nicht gefunden".
Result<NewsItem> readNews(Store& store, qint64 nummer);

// The item's file (design note 1); empty when there is none.
QString newsItemFile(const QString& newsDir, qint64 nummer);

struct NewsText {
    QString path;   // empty when the item has no file
    bool html = false;
    QString text;   // .TXT: decoded from Windows-1252 (or UTF-8); .HTM: the HTML;
                    // no file: the notice "Zu dieser Nachricht gibt es keine Datei (n.TXT)"
};
NewsText readNewsText(const QString& newsDir, qint64 nummer);

// Adds an item dated `now` with the headline (cut to 255 characters), linked to
// `firma` (0: general), active; number by design note 3. With `text` the item's
// text is written as n + ".TXT" (Windows-1252, CRLF) into the news directory.
// Fails Invalid "Die Überschrift fehlt" for an empty headline, Io naming the file.
Result<NewsItem> addNews(Store& store, const QString& newsDir, const QString& headline, int firma, const QDateTime& now,
                         const std::optional<QString>& text = std::nullopt);

struct NewsEdit {
    std::optional<QString> headline;
    std::optional<QDateTime> zeit;
    std::optional<bool> aktiv;
    std::optional<int> firma;  // 0 unlinks
};
// Changes the item. NotFound for an unknown number, Invalid for an empty headline.
Result<NewsItem> editNews(Store& store, qint64 nummer, const NewsEdit& edit);

// Deletes the item and then its files (design note 2). NotFound for an unknown number.
Status deleteNews(Store& store, const QString& newsDir, qint64 nummer);

enum class NewsPurge {
    Old,       // inactive items and general items dated before today
    Inactive,  // "Löschen aller nicht aktiven Nachrichten"
};
struct PurgeResult {
    int items = 0;
    int files = 0;
};
// Deletes the items of the rule with their files, the records in one transaction
// first. Fails with the store's message.
Result<PurgeResult> purgeNews(Store& store, const QString& newsDir, NewsPurge rule, const QDate& today);

// The question of "alte Nachrichten &löschen": asked with its title, default No;
// Cancelled on No, else purgeNews(Old).
Result<PurgeResult> purgeOldNewsAsked(Store& store, const QString& newsDir, const QDate& today, Interaction& ui);

}  // namespace q
