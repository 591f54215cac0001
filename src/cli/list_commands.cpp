// The lists of the overview: the selector's entries, the securities of a list, the
// favourite flag, the watch lists and their names, the group, branch and feature
// tables, creating and deleting securities and the securities list export.
#include "app/watch_names.h"
#include "base/text_files.h"
#include "cli/list_options.h"
#include "overview/classifications.h"
#include "overview/security_master.h"
#include "overview/watch_lists.h"
#include "app/portfolio_binding.h"
#include "store/firma_hooks.h"

namespace q::cli {

namespace {

QString kindWord(ListChoice::Kind k) {
    switch (k) {
    case ListChoice::Kind::Group: return QStringLiteral("Gruppe");
    case ListChoice::Kind::Holdings: return QStringLiteral("Depot");
    case ListChoice::Kind::Watch: return QStringLiteral("Beobachtungsliste");
    case ListChoice::Kind::Winners: return QStringLiteral("Gewinner");
    case ListChoice::Kind::Losers: return QStringLiteral("Verlierer");
    }
    return {};
}

Result<int> securityArg(Context& c, const QString& text) {
    auto firmen = c.session.store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    return findSecurity(**firmen, text);
}

Result<int> watchNumber(const QString& text) {
    bool ok = false;
    const int k = text.toInt(&ok);
    if (!ok || k < 1 || k > kWatchListCount)
        return Status::invalid(QStringLiteral("Beobachtungsliste \"%1\" gibt es nicht (1 bis 4)").arg(text));
    return k;
}

Outcome runLists(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto entries = listSelectorEntries(c.session.store, c.session.watchNames, true);
    if (!entries) return failed(entries.status());
    QJsonArray list;
    for (const ListChoice& e : *entries) {
        out.lines << e.text;
        list.append(QJsonObject{{QStringLiteral("text"), e.text}, {QStringLiteral("kind"), kindWord(e.kind)},
                                {QStringLiteral("number"), e.number}});
    }
    out.json[QStringLiteral("lists")] = list;
    return out;
}

Outcome runList(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto list = listedSecurities(c);
    if (!list) return failed(list.status());
    QJsonArray securities;
    for (const SecurityRecord& s : *list) {
        out.lines << QStringLiteral("%1\t%2\t%3").arg(s.Firma).arg(s.FirmenName, s.Kennung);
        securities.append(QJsonObject{{QStringLiteral("Firma"), s.Firma}, {QStringLiteral("FirmenName"), s.FirmenName},
                                      {QStringLiteral("Kennung"), s.Kennung}});
    }
    out.lines << QStringLiteral("%1 Wertpapiere").arg(list->size());
    out.json[QStringLiteral("count")] = int(list->size());
    out.json[QStringLiteral("securities")] = securities;
    return out;
}

Outcome runFavourite(Context& c) {
    Outcome out;
    if (c.args.has(QStringLiteral("--on")) && c.args.has(QStringLiteral("--off")))
        return failed(Status::invalid(QStringLiteral("--on und --off schließen einander aus")));
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional()[0]);
    if (!firma) return failed(firma.status());
    auto security = readSecurity(c.session.store, *firma);
    if (!security) return failed(security.status());
    const bool on = c.args.has(QStringLiteral("--on")) ? true : c.args.has(QStringLiteral("--off")) ? false : !security->Aktiv;
    if (Status s = setFavourite(c.session.store, *firma, on); !s) return failed(s);
    out.lines << (on ? QStringLiteral("%1 ist Favorit") : QStringLiteral("%1 ist kein Favorit")).arg(security->FirmenName);
    out.json[QStringLiteral("Firma")] = *firma;
    out.json[QStringLiteral("Aktiv")] = on;
    return out;
}

Outcome runWatch(Context& c) {
    Outcome out;
    const int modes = int(c.args.has(QStringLiteral("--toggle"))) + int(c.args.has(QStringLiteral("--add-all"))) +
                      int(c.args.has(QStringLiteral("--clear")));
    if (modes != 1) return failed(Status::invalid(QStringLiteral("Genau eines von --toggle FIRMA, --add-all und --clear angeben")));
    auto k = watchNumber(c.args.positional()[0]);
    if (!k) return failed(k.status());
    if (!startForJob(c, out, true)) return out;
    Store& store = c.session.store;
    const QString name = c.session.watchNames.value(*k - 1);
    out.json[QStringLiteral("list")] = *k;
    if (c.args.has(QStringLiteral("--toggle"))) {
        auto firma = securityArg(c, c.args.value(QStringLiteral("--toggle")));
        if (!firma) return failed(firma.status());
        auto on = toggleWatch(store, *k, *firma);
        if (!on) return failed(on.status());
        auto security = securityName(store, *firma);
        out.lines << (*on ? QStringLiteral("%1 steht jetzt auf %2") : QStringLiteral("%1 steht nicht mehr auf %2"))
                         .arg(security ? *security : QString::number(*firma), name);
        out.json[QStringLiteral("Firma")] = *firma;
        out.json[QStringLiteral("onList")] = *on;
    } else if (c.args.has(QStringLiteral("--add-all"))) {
        auto firmen = [&]() -> Result<std::vector<int>> {
            auto s = listSelectionOf(c);
            if (!s) return s.status();
            return resolveListNumbers(store, *s);
        }();
        if (!firmen) return failed(firmen.status());
        auto added = addAllToWatch(store, *k, *firmen);
        if (!added) return failed(added.status());
        out.lines << QStringLiteral("%1 von %2 Wertpapieren zu %3 hinzugefügt (die übrigen standen schon darauf)")
                         .arg(*added)
                         .arg(firmen->size())
                         .arg(name);
        out.json[QStringLiteral("added")] = *added;
        out.json[QStringLiteral("listed")] = int(firmen->size());
    } else {
        auto removed = clearWatch(store, *k);
        if (!removed) return failed(removed.status());
        out.lines << QStringLiteral("%1 geleert: %2 Einträge gelöscht").arg(name).arg(*removed);
        out.json[QStringLiteral("removed")] = double(*removed);
    }
    return out;
}

Outcome runWatchNames(Context& c) {
    Outcome out;
    const QStringList& args = c.args.positional();
    if (args.size() == 1) return failed(Status::invalid(QStringLiteral("Zur Nummer fehlt der Name (\"\" blendet die Liste aus)")));
    std::optional<int> k;
    if (args.size() == 2) {
        auto n = watchNumber(args[0]);
        if (!n) return failed(n.status());
        k = *n;
    }
    if (!startForJob(c, out, !k.has_value())) return out;
    if (k)
        if (Status s = storeWatchListName(c.session, *k, args[1]); !s) return failed(s);
    for (int i = 0; i < kWatchListCount; ++i) {
        const QString name = c.session.watchNames.value(i);
        out.lines << QStringLiteral("%1: %2").arg(i + 1).arg(name.isEmpty() ? QStringLiteral("(ausgeblendet)") : name);
    }
    out.json[QStringLiteral("names")] = toJson(c.session.watchNames);
    return out;
}

Result<Classification> classificationOf(const QString& word) {
    const QString w = word.toLower();
    if (w == QLatin1String("gruppen")) return Classification::Gruppen;
    if (w == QLatin1String("branchen")) return Classification::Branchen;
    if (w == QLatin1String("merkmale")) return Classification::Merkmale;
    return Status::invalid(QStringLiteral("Erwartet wird gruppen, branchen oder merkmale, nicht \"%1\"").arg(word));
}

Outcome runClasses(Context& c) {
    Outcome out;
    auto kind = classificationOf(c.args.positional()[0]);
    if (!kind) return failed(kind.status());
    const QStringList edits = {QStringLiteral("--add"), QStringLiteral("--rename"), QStringLiteral("--move"), QStringLiteral("--delete")};
    QString edit;
    for (const QString& e : edits)
        if (c.args.has(e)) {
            if (!edit.isEmpty()) return failed(Status::invalid(QStringLiteral("%1 und %2 schließen einander aus").arg(edit, e)));
            edit = e;
        }
    const bool withSecurities = c.args.has(QStringLiteral("--delete-securities"));
    if (withSecurities && !c.options.yes)
        return failed(Status::invalid(QStringLiteral("--delete-securities löscht Wertpapiere mit ihren Kursen: nur mit --yes")));
    const QString second = c.args.positional().value(1);
    if ((edit == QLatin1String("--rename") || edit == QLatin1String("--move")) && second.isEmpty())
        return failed(Status::invalid(edit == QLatin1String("--rename") ? QStringLiteral("--rename IDX NAME: der Name fehlt")
                                                                         : QStringLiteral("--move IDX up|down: die Richtung fehlt")));
    std::optional<int> index;
    if (edit == QLatin1String("--rename") || edit == QLatin1String("--move") || edit == QLatin1String("--delete")) {
        auto n = c.args.integer(edit);
        if (!n) return failed(n.status());
        index = int(**n);
    }
    if (!startForJob(c, out, edit.isEmpty())) return out;
    Store& store = c.session.store;
    if (edit == QLatin1String("--add")) {
        auto n = addClassification(store, *kind, c.args.value(edit));
        if (!n) return failed(n.status());
        out.lines << QStringLiteral("Angelegt: %1 (Nummer %2)").arg(c.args.value(edit).trimmed()).arg(*n);
        out.json[QStringLiteral("added")] = *n;
    } else if (edit == QLatin1String("--rename")) {
        if (Status s = renameClassification(store, *kind, *index, second); !s) return failed(s);
    } else if (edit == QLatin1String("--move")) {
        const QString dir = second.toLower();
        if (dir != QLatin1String("up") && dir != QLatin1String("down"))
            return failed(Status::invalid(QStringLiteral("--move IDX up|down, nicht \"%1\"").arg(second)));
        auto place = moveClassification(store, *kind, *index, dir == QLatin1String("up"));
        if (!place) return failed(place.status());
        out.json[QStringLiteral("moved")] = *place;
    } else if (edit == QLatin1String("--delete")) {
        UnattendedInteraction answer(withSecurities ? Answer::Yes : Answer::No);
        auto d = deleteClassification(store, *kind, *index, answer);
        if (!d) return failed(d.status());
        if (d->securitiesDeleted)
            out.lines << QStringLiteral("Gelöscht: %1 mit %2 Wertpapieren, %3 Kursen, %4 Volumen und %5 Buchungen")
                             .arg(d->name)
                             .arg(d->securities)
                             .arg(d->prices)
                             .arg(d->volumes)
                             .arg(d->bookings);
        else
            out.lines << QStringLiteral("Gelöscht: %1; %2 Wertpapiere ohne Zuordnung").arg(d->name).arg(d->securities);
        out.json[QStringLiteral("deleted")] = d->GruppenIndex;
        out.json[QStringLiteral("securities")] = d->securities;
        out.json[QStringLiteral("securitiesDeleted")] = d->securitiesDeleted;
        out.json[QStringLiteral("prices")] = double(d->prices);
        out.json[QStringLiteral("bookings")] = double(d->bookings);
    }
    auto entries = readClassification(store, *kind);
    if (!entries) return failed(entries.status());
    QJsonArray list;
    for (size_t i = 0; i < entries->size(); ++i) {
        const ClassEntry& e = (*entries)[i];
        out.lines << QStringLiteral("%1\t%2\t%3").arg(i).arg(e.GruppenIndex).arg(e.GruppenName);
        list.append(QJsonObject{{QStringLiteral("GruppenIndex"), e.GruppenIndex}, {QStringLiteral("GruppenName"), e.GruppenName}});
    }
    out.json[QStringLiteral("entries")] = list;
    return out;
}

Outcome runSecurityAdd(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    NewSecurity s;
    s.FirmenName = c.args.positional()[0];
    s.Kennung = c.args.value(QStringLiteral("--wkn"));
    s.ISIN = c.args.value(QStringLiteral("--isin"));
    s.Ticker = c.args.value(QStringLiteral("--ticker"));
    s.Internet = c.args.value(QStringLiteral("--internet"));
    if (c.args.has(QStringLiteral("--group"))) {
        const QString g = c.args.value(QStringLiteral("--group"));
        bool isNumber = false;
        const int n = g.toInt(&isNumber);
        if (isNumber) {
            s.Gruppe = n;
        } else {
            auto found = classificationNumber(c.session.store, Classification::Gruppen, g);
            if (!found) return failed(found.status());
            s.Gruppe = *found;
        }
    }
    auto firma = addSecurity(c.session.store, s, portfolioSettings(c.session).homeSymbol);
    if (!firma) return failed(firma.status());
    out.lines << QStringLiteral("Angelegt: %1 (Nummer %2)").arg(s.FirmenName.trimmed()).arg(*firma);
    out.json[QStringLiteral("Firma")] = *firma;
    return out;
}

Outcome runSecurityDelete(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityArg(c, c.args.positional()[0]);
    if (!firma) return failed(firma.status());
    auto name = securityName(c.session.store, *firma);
    auto rows = deleteSecurityAsked(c.session.store, *firma, c.ui);
    if (!rows) {
        Status s = rows.status();
        if (s.category() == Category::Cancelled) s = Status::cancelled(s.message() + QStringLiteral(" (löschen mit --yes)"));
        return failed(s);
    }
    out.lines << QStringLiteral("Gelöscht: %1 mit %2 Kursen, %3 Volumen und %4 Buchungen")
                     .arg(name ? *name : QString::number(*firma))
                     .arg(rows->prices)
                     .arg(rows->volumes)
                     .arg(rows->bookings);
    out.json[QStringLiteral("Firma")] = *firma;
    out.json[QStringLiteral("prices")] = double(rows->prices);
    out.json[QStringLiteral("volumes")] = double(rows->volumes);
    out.json[QStringLiteral("bookings")] = double(rows->bookings);
    return out;
}

Outcome runSecuritiesExport(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    std::vector<int> firmen;
    const bool selection = c.args.has(QStringLiteral("--list")) || c.args.has(QStringLiteral("--favourites")) ||
                           c.args.has(QStringLiteral("--branch")) || c.args.has(QStringLiteral("--feature")) ||
                           c.args.has(QStringLiteral("--filter"));
    if (selection) {
        auto s = listSelectionOf(c);
        if (!s) return failed(s.status());
        auto numbers = resolveListNumbers(c.session.store, *s);
        if (!numbers) return failed(numbers.status());
        firmen = *numbers;
        if (firmen.empty()) return failed(Status::notFound(QStringLiteral("Die Auswahl enthält keine Wertpapiere")));
    }
    const QString path = c.args.positional()[0];
    auto n = exportSecurities(c.session.store, firmen, c.session.stations, path);
    if (!n) return failed(n.status());
    out.lines << QStringLiteral("%1 Wertpapiere nach %2 geschrieben").arg(n->securities).arg(path);
    reportUnmappable(n->unmappable, out);
    out.json[QStringLiteral("securities")] = n->securities;
    out.json[QStringLiteral("file")] = path;
    return out;
}


}  // namespace

std::vector<Command> listCommands() {
    return {
        {"lists", "Einträge der Listenauswahl",
         "lists\n"
         "Zeigt die Einträge der Listenauswahl in ihrer Reihenfolge: die erste Gruppe,\n"
         "akt.Depotwerte, die Beobachtungslisten mit Namen, die übrigen Gruppen, dann\n"
         "Gewinner(Quintara) und Verlierer(Quintara), sobald ein Bewertungslauf sie geschrieben hat.",
         runLists, ArgSpec{{}, 0, 0}},
        {"list", "Wertpapiere einer Liste",
         "list [--list NAME] [--favourites] [--branch NAME] [--feature NAME] [--filter TEXT]\n"
         "Zeigt die Wertpapiere der Liste (Eintrag der Listenauswahl, ohne Rücksicht auf Groß- und\n"
         "Kleinschreibung; ohne --list alle) nach Namen. --filter: Text des Filter-Editors,\n"
         "z. B. \"(Kennung>'500000') AND (Gruppe='1')\".",
         runList, withListOptions(ArgSpec{{}, 0, 0})},
        {"favourite", "Favorit setzen oder löschen (&Favorit)",
         "favourite FIRMA [--on|--off]\n"
         "Ohne --on und --off wird der Favorit umgeschaltet.",
         runFavourite, ArgSpec{{{"--on", false}, {"--off", false}}, 1, 1}},
        {"watch", "Beobachtungsliste bearbeiten",
         "watch K (--toggle FIRMA | --add-all [--list NAME …] | --clear)\n"
         "K: 1 bis 4. --toggle nimmt das Wertpapier auf oder wieder heraus; --add-all nimmt jedes\n"
         "Wertpapier der Liste auf, das noch fehlt; --clear leert die Liste.",
         runWatch, withListOptions(ArgSpec{{{"--toggle", true}, {"--add-all", false}, {"--clear", false}}, 1, 1})},
        {"watch-names", "Namen der Beobachtungslisten (Be&obachtungslisten)",
         "watch-names [K NAME]\n"
         "Zeigt die vier Namen; mit K und NAME wird Liste K umbenannt (\"\" blendet sie aus,\n"
         "ihre Tabelle bleibt). Geschrieben werden WatchK und WNamen.ini.",
         runWatchNames, ArgSpec{{}, 0, 2}},
        {"classes", "Gruppen, Branchen und Merkmale bearbeiten",
         "classes gruppen|branchen|merkmale [--add NAME | --rename IDX NAME | --move IDX up|down |\n"
         "        --delete IDX [--delete-securities --yes]]\n"
         "IDX: Stelle in der Liste (ab 0). Beim Löschen verlieren die Wertpapiere den Eintrag;\n"
         "mit --delete-securities --yes werden sie mit Kursen und Buchungen gelöscht.",
         runClasses, ArgSpec{{{"--add", true}, {"--rename", true}, {"--move", true}, {"--delete", true},
                              {"--delete-securities", false}}, 1, 2}},
        {"security-add", "Wertpapier anlegen",
         "security-add NAME [--wkn W] [--isin I] [--ticker T] [--group G] [--internet TEXT]\n"
         "G: Nummer oder Name der Gruppe.",
         runSecurityAdd, ArgSpec{{{"--wkn", true}, {"--isin", true}, {"--ticker", true}, {"--group", true}, {"--internet", true}}, 1, 1}},
        {"security-delete", "Wertpapier löschen",
         "security-delete FIRMA --yes\n"
         "Löscht das Wertpapier mit seinen Kursen, Volumen und Buchungen (die Frage nennt, wie viele).",
         runSecurityDelete, ArgSpec{{}, 1, 1}},
        {"securities-export", "Wertpapierliste exportieren (Wertpapierliste.txt)",
         "securities-export DATEI [--list NAME …]\n"
         "Ohne Auswahl alle Wertpapiere nach WKN, sonst die der Auswahl nach Namen; Windows-1252.",
         runSecuritiesExport, withListOptions(ArgSpec{{}, 1, 1})},
    };
}

}  // namespace q::cli
