#include "news/news_table.h"

#include "base/formats.h"

namespace q {

namespace {

constexpr int kHeadlineLength = 255;

Record recordOf(Record r, const NewsItem& item) {
    r.set(QStringLiteral("Nummer"), item.Nummer);
    r.set(QStringLiteral("ZEIT"), timestampNumber(item.Zeit));
    r.set(QStringLiteral("Nachricht"), item.Nachricht.left(kHeadlineLength));
    r.set(QStringLiteral("Firma"), item.Firma);
    r.set(QStringLiteral("Aktiv"), item.Aktiv);
    return r;
}

Result<Table*> newsTable(Store& store) {
    Q_TRY(store.ensure(QStringLiteral("Nachrichten.db")));
    return store.table(QStringLiteral("Nachrichten.db"));
}

}  // namespace

Status saveNewsItem(Store& store, const NewsItem& item) {
    auto table = newsTable(store);
    if (!table) return table.status();
    Table& t = **table;
    auto found = t.findKey({item.Nummer});
    if (!found) return found.status();
    if (found->has_value()) return t.update(**found, recordOf(**found, item));
    auto appended = t.append(recordOf(t.newRecord(), item));
    return appended ? Status::ok() : appended.status();
}

Result<bool> appendNewsItem(Store& store, const NewsItem& item) {
    auto table = newsTable(store);
    if (!table) return table.status();
    Table& t = **table;
    auto appended = t.append(recordOf(t.newRecord(), item));
    if (appended) return true;
    if (appended.status().message() == t.duplicateKey().message()) return false;
    return appended.status();
}

}  // namespace q
