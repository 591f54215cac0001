// Writing news items into Nachrichten.db: one record per item, found by its number.
#pragma once

#include "store/store.h"

#include <QDateTime>

namespace q {

struct NewsItem {
    qint64 Nummer = 0;
    QDateTime Zeit;
    QString Nachricht;  // the headline; cut at the field's 255 characters
    int Firma = 0;      // the security the item belongs to; 0: general news
    bool Aktiv = true;
};

// Creates the record with that `Nummer` or updates it. Nachrichten.db is created
// when missing. Fails with the store's message.
Status saveNewsItem(Store& store, const NewsItem& item);
// Appends the record of a new item and never changes an existing one: false when its
// `Nummer` is taken (another program, on the server another computer, may have
// taken it a moment ago). Fails with the store's message.
Result<bool> appendNewsItem(Store& store, const NewsItem& item);

}  // namespace q
