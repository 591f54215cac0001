#include "news/news_table.h"

#include "base/formats.h"

namespace q {

namespace {
constexpr int kHeadlineLength = 255;
}

Status saveNewsItem(Store& store, const NewsItem& item) {
    Q_TRY(store.ensure(QStringLiteral("Nachrichten.db")));
    auto table = store.table(QStringLiteral("Nachrichten.db"));
    if (!table) return table.status();
    Table& t = **table;
    auto found = t.findKey({item.Nummer});
    if (!found) return found.status();
    Record r = found->has_value() ? **found : t.newRecord();
    r.set(QStringLiteral("Nummer"), item.Nummer);
    r.set(QStringLiteral("ZEIT"), timestampNumber(item.Zeit));
    r.set(QStringLiteral("Nachricht"), item.Nachricht.left(kHeadlineLength));
    r.set(QStringLiteral("Firma"), item.Firma);
    r.set(QStringLiteral("Aktiv"), item.Aktiv);
    if (found->has_value()) return t.update(**found, r);
    auto appended = t.append(r);
    return appended ? Status::ok() : appended.status();
}

}  // namespace q
