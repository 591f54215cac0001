// Depots: listing, choosing, creating, deleting, importing another depot's lots and
// the depot password.
#include "cli/portfolio_cli.h"
#include "app/depot_switch.h"
#include "app/portfolio_binding.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "portfolio/depot_password.h"
#include "portfolio/depots.h"
#include "portfolio/value_history.h"
#include "store/table.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace q::cli {

namespace {

void describeDepot(Context& c, Outcome& out) {
    const Session& s = c.session;
    out.lines << QStringLiteral("Depot: %1 (%2)").arg(depotName(s.dirs.depot), s.dirs.depot);
    out.json[QStringLiteral("depot")] = s.dirs.depot;
    out.json[QStringLiteral("name")] = depotName(s.dirs.depot);
    out.json[QStringLiteral("caption")] = s.caption;
}

Outcome runDepotList(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    describeDepot(c, out);
    const QStringList recent = recentDepots(c.session.settings);
    QJsonArray list;
    for (int i = 0; i < recent.size(); ++i) {
        const bool exists = QFileInfo(recent[i]).isDir();
        out.lines << QStringLiteral("Depotpath%1: %2%3").arg(i).arg(recent[i], exists ? QString() : QStringLiteral(" (fehlt)"));
        list.append(QJsonObject{{QStringLiteral("dir"), recent[i]}, {QStringLiteral("exists"), exists}});
    }
    out.json[QStringLiteral("recent")] = list;
    return out;
}

Outcome runDepotUse(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto password = passwordOfFile(c.options.passwordFile);
    if (!password) return failed(password.status());
    DepotOpen how;
    how.password = *password;
    const QString dir = depotDirOfChoice(QDir(c.session.dirs.data).absoluteFilePath(c.args.positional().value(0)));
    if (Status s = switchDepot(c.session, dir, c.ui, how); !s) return failed(s);
    out.lines << QStringLiteral("Gewählt:");
    describeDepot(c, out);
    return out;
}

Outcome runDepotCreate(Context& c) {
    Outcome out;
    auto start = c.args.date(QStringLiteral("--start"));
    if (!start) return failed(start.status());
    if (!start->has_value())
        return failed(Status::invalid(QStringLiteral("Beginn der Depotberechnung fehlt (--start TT.MM.JJJJ)")));
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    auto dir = depotDirFor(s.dirs.data, c.args.positional().value(0));
    if (!dir) return failed(dir.status());
    if (Status sw = switchDepot(s, *dir, c.ui); !sw) return failed(sw);
    auto converter = CurrencyConverter::load(s.store, portfolioSettings(s));
    if (!converter) return failed(converter.status());
    auto history = BerechnungAnlagen(s.store, *converter, **start, c.progress);
    if (!history) return failed(history.status());
    out.lines << QStringLiteral("Angelegt:");
    describeDepot(c, out);
    return out;
}

Outcome runDepotDelete(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    const QString text = c.args.positional().value(0);
    const QString dir = depotDirOfChoice(QDir(s.dirs.data).absoluteFilePath(text));
    if (!QFileInfo(dir).isDir()) return failed(Status::notFound(QStringLiteral("Das Depot %1 gibt es nicht").arg(dir)));
    if (c.ui.ask(QStringLiteral("Depot löschen"), QStringLiteral("Wollen Sie wirklich das Depot %1 löschen?").arg(text), Answer::No) !=
        Answer::Yes)
        return failed(Status::cancelled(QStringLiteral("Nicht gelöscht (mit --yes bestätigen)")));
    if (Status d = deleteDepot(s, dir, c.ui); !d) return failed(d);
    out.lines << QStringLiteral("Gelöscht: %1").arg(dir);
    out.json[QStringLiteral("deleted")] = dir;
    describeDepot(c, out);
    return out;
}

Outcome runDepotImport(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    QString file = QDir(s.dirs.data).absoluteFilePath(c.args.positional().value(0));
    if (QFileInfo(file).isDir()) file = findFile(file, kLots);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return failed(Status::notFound(QStringLiteral("Keine Depotdatei %1 gefunden").arg(c.args.positional().value(0))));
    // A protected depot is read only with its password.
    auto locked = depotProtected(file);
    if (!locked) return failed(locked.status());
    if (*locked) {
        const QString name = depotName(QFileInfo(file).absolutePath());
        auto password = passwordOfFile(c.options.passwordFile);
        if (!password) return failed(password.status());
        if (!*password) return failed(Status::invalid(QStringLiteral("Das Depot %1 ist durch ein Passwort geschützt").arg(name)));
        if (Status ok = checkDepotPassword(file, **password, name); !ok) return failed(ok);
    }
    auto r = importDepot(s.store, file);
    if (!r) return failed(r.status());
    out.lines << QStringLiteral("Aus Depot %1 eingelesen: %2 Posten (%3 verknüpft), %4 schon vorhanden%5")
                     .arg(r->depot)
                     .arg(r->added)
                     .arg(r->linked)
                     .arg(r->duplicates)
                     .arg(r->refused ? QStringLiteral(", %1 abgewiesen").arg(r->refused) : QString());
    out.json[QStringLiteral("depot")] = r->depot;
    out.json[QStringLiteral("added")] = r->added;
    out.json[QStringLiteral("linked")] = r->linked;
    out.json[QStringLiteral("duplicates")] = r->duplicates;
    out.json[QStringLiteral("refused")] = r->refused;
    return out;
}

Outcome runDepotPassword(Context& c) {
    Outcome out;
    const bool clear = c.args.has(QStringLiteral("--clear"));
    if (clear == c.args.has(QStringLiteral("--new-password-file")))
        return failed(Status::invalid(QStringLiteral("Genau eines von --new-password-file DATEI oder --clear angeben")));
    QString password;
    if (!clear) {
        auto read = passwordOfFile(c.args.value(QStringLiteral("--new-password-file")));
        if (!read) return failed(read.status());
        if (!*read) return failed(Status::invalid(QStringLiteral("--new-password-file braucht eine Datei")));
        password = **read;
    }
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    if (Status ok = s.store.ensure(kLots); !ok) return failed(ok);
    auto lots = s.store.table(kLots);
    if (!lots) return failed(lots.status());
    if (Status set = setDepotPassword((*lots)->db(), password); !set)
        return failed(Status::io(clear ? QStringLiteral("Passwort konnte nicht gelöscht werden: %1").arg(set.message())
                                       : QStringLiteral("Passwort konnte nicht gesetzt werden: %1").arg(set.message())));
    out.lines << (clear || password.isEmpty() || password == kBuiltinPassword ? QStringLiteral("Passwort gelöscht")
                                                                               : QStringLiteral("Passwort gesetzt"));
    describeDepot(c, out);
    return out;
}

}  // namespace

std::vector<Command> depotCommands() {
    std::vector<Command> list = {
        {"depot-list", "Depots zeigen", "depot-list\nDas aktuelle Depot und die zuletzt benutzten (Depotpath0 … Depotpath9).",
         runDepotList},
        {"depot-use", "Depot wählen",
         "depot-use VERZEICHNIS\nWählt das Depot im Verzeichnis (relativ zum Datenverzeichnis; eine Transaktionen.db\n"
         "steht für ihr Verzeichnis), legt es an, wenn es fehlt, und merkt es unter den letzten zehn.",
         runDepotUse, ArgSpec{{}, 1, 1}},
        {"depot-create", "Depot anlegen",
         "depot-create NAME|PFAD --start TT.MM.JJJJ\nEin Name ohne \"/\" wird ein Ordner im Datenverzeichnis. Legt die\n"
         "Transaktionen.db und den Depotwert-Verlauf Anlagen.DB ab --start an und wählt das Depot.",
         runDepotCreate, ArgSpec{{{"--start", true}}, 1, 1}},
        {"depot-delete", "Depot löschen",
         "depot-delete VERZEICHNIS --yes\nLöscht die Depotdateien (Transaktionen.db, Anlagen.DB, Depot.ini, …), den leeren\n"
         "Ordner und den Eintrag unter den letzten Depots.",
         runDepotDelete, ArgSpec{{}, 1, 1}},
        {"depot-import", "Posten eines anderen Depots einlesen",
         "depot-import DATEI|VERZEICHNIS\nLiest die Posten einer anderen Transaktionen.db ein; Posten bekannter Wertpapiere\n"
         "werden mit dem Depot verknüpft (Verkäufe werden dort mitgebucht). Schon vorhandene\n"
         "Posten werden übersprungen. Ein geschütztes Depot braucht --password-file.",
         runDepotImport, ArgSpec{{}, 1, 1}},
        {"depot-password", "Depot-Passwort setzen oder löschen",
         "depot-password (--new-password-file DATEI | --clear)\nDas neue Passwort steht in der ersten Zeile der Datei (nie auf der\n"
         "Befehlszeile); ein geschütztes Depot öffnet --password-file. Das Passwort sperrt das\n"
         "Depot in Quintara, es verschlüsselt die Datei nicht.",
         runDepotPassword, ArgSpec{{{"--new-password-file", true}, {"--clear", false}}, 0, 0}},
    };
    list[5].depot = true;  // changing the password needs the old one
    return list;
}

}  // namespace q::cli
