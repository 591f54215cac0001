#include "overview/list_selection.h"

#include "overview/classifications.h"
#include "overview/filter_expression.h"
#include "portfolio/lot.h"

#include <unordered_set>

namespace q {

QString watchListFile(int k) {
    Q_ASSERT(k >= 1 && k <= 4);
    return k == 1 ? QStringLiteral("Watch.db") : QStringLiteral("Watch%1.db").arg(k);
}

Result<std::vector<ListChoice>> listSelectorEntries(Store& store, const QStringList& watchNames, bool ratingLists) {
    auto groups = readClassification(store, Classification::Gruppen);
    if (!groups) return groups.status();
    std::vector<ListChoice> out;
    const auto group = [](const ClassEntry& e) { return ListChoice{ListChoice::Kind::Group, e.GruppenName, e.GruppenIndex}; };
    if (!groups->empty()) out.push_back(group(groups->front()));
    out.push_back({ListChoice::Kind::Holdings, kHoldingsEntry, 0});
    for (int k = 1; k <= 4; ++k) {
        const QString name = watchNames.value(k - 1);
        if (!name.trimmed().isEmpty()) out.push_back({ListChoice::Kind::Watch, name, k});
    }
    for (size_t i = 1; i < groups->size(); ++i) out.push_back(group((*groups)[i]));
    if (ratingLists) {
        if (store.exists(QStringLiteral("Gewinner.db"))) out.push_back({ListChoice::Kind::Winners, kWinnersEntry, 0});
        if (store.exists(QStringLiteral("Verlierer.db"))) out.push_back({ListChoice::Kind::Losers, kLosersEntry, 0});
    }
    return out;
}

Result<ListChoice> findListChoice(Store& store, const QStringList& watchNames, const QString& name) {
    auto entries = listSelectorEntries(store, watchNames, true);
    if (!entries) return entries.status();
    QStringList names;
    for (const ListChoice& e : *entries) {
        if (e.text.trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0) return e;
        names << e.text;
    }
    return Status::notFound(QStringLiteral("Die Liste \"%1\" gibt es nicht. Listen: %2").arg(name, names.join(QStringLiteral(", "))));
}

namespace {

// The numbers of a list table (watch list, winners, losers); a missing table is empty.
Result<std::unordered_set<int>> listTableNumbers(Store& store, const QString& file) {
    std::unordered_set<int> out;
    if (!store.exists(file)) return out;
    auto t = store.table(file);
    if (!t) return t.status();
    Q_TRY((*t)->forEach(Query{}, [&](const Record& r) {
        out.insert(r.value(QStringLiteral("Firma")).toInt());
        return true;
    }));
    return out;
}

Result<std::unordered_set<int>> heldNumbers(Store& store, const QDate& reportDate) {
    std::unordered_set<int> out;
    if (!store.exists(kLots)) return out;
    auto t = store.table(kLots);
    if (!t) return t.status();
    Q_TRY((*t)->forEach(Query{}, [&](const Record& r) {
        const Lot lot = lotFromRecord(r);
        if (lot.Firma > 0 && (!reportDate.isValid() || !lot.isSold() || lot.Verkauf > reportDate)) out.insert(lot.Firma);
        return true;
    }));
    return out;
}

}  // namespace

Result<std::vector<SecurityRecord>> resolveList(Store& store, const ListSelection& s) {
    auto firmen = store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    auto filter = FilterExpression::parse(s.filter, (*firmen)->layout());
    if (!filter) return filter.status();

    std::optional<std::unordered_set<int>> members;
    int gruppe = 0;
    switch (s.list.kind) {
    case ListChoice::Kind::Group: gruppe = s.list.number; break;
    case ListChoice::Kind::Watch: {
        auto m = listTableNumbers(store, watchListFile(s.list.number));
        if (!m) return m.status();
        members = std::move(*m);
        break;
    }
    case ListChoice::Kind::Winners:
    case ListChoice::Kind::Losers: {
        auto m = listTableNumbers(store, s.list.kind == ListChoice::Kind::Winners ? QStringLiteral("Gewinner.db")
                                                                                  : QStringLiteral("Verlierer.db"));
        if (!m) return m.status();
        members = std::move(*m);
        break;
    }
    case ListChoice::Kind::Holdings: {
        auto m = heldNumbers(store, s.reportDate);
        if (!m) return m.status();
        members = std::move(*m);
        break;
    }
    }

    std::vector<SecurityRecord> out;
    const SecurityReader reader((*firmen)->layout());
    Query byName;
    byName.order = QStringLiteral("IFirma");
    Q_TRY((*firmen)->forEach(byName, [&](const Record& r) {
        if (!filter->accepts(r)) return true;
        SecurityRecord sec = reader.read(r);
        if (sec.Firma <= 0) return true;
        if (members && !members->count(sec.Firma)) return true;
        if (s.favouritesOnly && !sec.Aktiv) return true;
        if (gruppe != 0 && sec.Gruppe != gruppe) return true;
        if (s.branche != 0 && sec.Branche != s.branche) return true;
        if (s.merkmal != 0 && sec.Merkmal != s.merkmal) return true;
        out.push_back(std::move(sec));
        return true;
    }));
    return out;
}

Result<std::vector<int>> resolveListNumbers(Store& store, const ListSelection& selection) {
    auto list = resolveList(store, selection);
    if (!list) return list.status();
    std::vector<int> out;
    out.reserve(list->size());
    for (const SecurityRecord& s : *list) out.push_back(s.Firma);
    return out;
}

bool matchesText(const SecurityRecord& s, const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return true;
    return s.FirmenName.contains(t, Qt::CaseInsensitive) || s.Kennung.contains(t, Qt::CaseInsensitive) ||
           s.ISIN.contains(t, Qt::CaseInsensitive);
}

}  // namespace q
