// The subcommands of the shared tables on a PostgreSQL server.
#include "app/database_setting.h"
#include "app/depot_switch.h"
#include "app/server_migration.h"
#include "cli/commands.h"

#include <QTextStream>

namespace q::cli {

namespace {

QString rowsText(qint64 n) { return n == 1 ? QStringLiteral("1 Zeile") : QStringLiteral("%1 Zeilen").arg(n); }

Outcome runMigrate(Context& c) {
    const bool to = c.args.has(QStringLiteral("--to"));
    const bool from = c.args.has(QStringLiteral("--from"));
    if (to == from) return failed(Status::invalid(QStringLiteral("migrate braucht genau eine der Angaben --to URI oder --from URI")));
    const QString uri = c.args.value(to ? QStringLiteral("--to") : QStringLiteral("--from"));
    const bool replace = c.args.has(QStringLiteral("--replace"));
    Outcome out;
    // Writing the tables back replaces files: no other job may work on them meanwhile.
    if (!startForJob(c, out, JobStart{true, false, false, from ? LockMode::Exclusive : LockMode::Shared})) return out;
    Session& s = c.session;
    s.store.closeAll();
    const QStringList depots = knownDepots(s.dirs.depot, recentDepots(s.settings));
    auto report = to ? migrateToServer(s.dirs, depots, uri, replace, c.progress) : migrateFromServer(s.dirs, depots, uri, replace, c.progress);
    out.lines.clear();
    if (!report) return failed(report.status());
    QJsonArray tables;
    QStringList differing;
    for (const QString& copy : report->safetyCopies) out.lines << QStringLiteral("Gesichert: %1").arg(copy);
    for (const MigratedTable& t : report->tables) {
        const QString name = QStringLiteral("%1.%2").arg(t.schema, t.table);
        out.lines << QStringLiteral("%1 (%2): Datei %3, Server %4%5")
                         .arg(name, t.file, rowsText(t.fileRows), rowsText(t.serverRows),
                              t.matches() ? QString() : QStringLiteral("  VERSCHIEDEN"));
        if (!t.matches()) differing << name;
        tables.append(QJsonObject{{QStringLiteral("schema"), t.schema},
                                  {QStringLiteral("table"), t.table},
                                  {QStringLiteral("file"), t.file},
                                  {QStringLiteral("fileRows"), t.fileRows},
                                  {QStringLiteral("serverRows"), t.serverRows},
                                  {QStringLiteral("checked"), t.checked}});
    }
    for (const QString& schema : report->otherDepotSchemas)
        QTextStream(stderr) << (QStringLiteral("Nicht zurückgeschrieben: Schema %1 (kein bekanntes Depot in einem Ordner dieses Namens; "
                                  "--depot DIR wählt ein Depot)").arg(schema)) << "\n";
    out.json[QStringLiteral("otherDepotSchemas")] = toJson(report->otherDepotSchemas);
    if (to)
        out.lines << (report->amcheck ? QStringLiteral("Indizes auf dem Server vollständig und mit amcheck geprüft")
                                      : QStringLiteral("Indizes auf dem Server vollständig (amcheck ist dort nicht eingerichtet)"));
    out.json[QStringLiteral("amcheck")] = report->amcheck;
    out.json[QStringLiteral("server")] = report->server;
    out.json[QStringLiteral("direction")] = to ? QStringLiteral("to") : QStringLiteral("from");
    out.json[QStringLiteral("tables")] = tables;
    out.json[QStringLiteral("safetyCopies")] = toJson(report->safetyCopies);
    out.status = differing.isEmpty()
                     ? Status::ok()
                     : Status::corrupt(QStringLiteral("Die Zeilenzahlen von Datei und Server unterscheiden sich: %1").arg(differing.join(QStringLiteral(", "))));
    return out;
}

// Works on the settings file alone, without a start: the setting is what a user
// corrects when the server named there cannot be reached.
Outcome runDatabase(Context& c) {
    Outcome out;
    SettingsStore& settings = c.session.settings;
    if (Status loaded = settings.load(c.options.settings.isEmpty() ? defaultSettingsPath() : c.options.settings); !loaded)
        return failed(loaded);
    const bool clear = c.args.has(QStringLiteral("--clear"));
    if (clear && !c.args.positional().isEmpty())
        return failed(Status::invalid(QStringLiteral("database: entweder URI oder --clear")));
    QString answered;
    const bool change = clear || !c.args.positional().isEmpty();
    if (change) {
        auto set = setDatabaseSetting(settings, clear ? QString() : c.args.positional().first(), !c.args.has(QStringLiteral("--no-check")));
        if (!set) return failed(set.status());
        answered = *set;
    }
    const QString uri = databaseSetting(settings);
    out.lines << (uri.isEmpty() ? QStringLiteral("Datenbank: die Tabellendateien (kein Server eingestellt)")
                                : QStringLiteral("Datenbank: %1").arg(uri));
    if (!answered.isEmpty()) out.lines << QStringLiteral("Datenbankserver %1 erreichbar").arg(answered);
    if (change) out.lines << QStringLiteral("Die Einstellung gilt ab dem nächsten Start.");
    out.json[QStringLiteral("database")] = uri;
    out.json[QStringLiteral("server")] = answered;
    out.json[QStringLiteral("changed")] = change;
    return out;
}

}  // namespace

std::vector<Command> serverCommands() {
    return {
        {"migrate", "Tabellen auf einen PostgreSQL-Server kopieren (--to URI) oder von dort zurückholen (--from URI)",
         "--to URI kopiert die Tabellen des Datenverzeichnisses in das Schema\n"
         "\"quintara\" des Servers und die Tabellen jedes bekannten Depots in ein Schema\n"
         "depot_<Ordnername>; ein Server, der diese Tabellen schon hat, wird nur mit --replace\n"
         "überschrieben. --from URI schreibt die Tabellen des Servers als Tabellendateien zurück;\n"
         "vorhandene Tabellen mit Daten nur mit --replace, nach einer Sicherungskopie (\"~\").\n"
         "Jede Tabelle wird in einer Transaktion kopiert; die Zeilenzahlen beider Seiten werden\n"
         "ausgegeben, und der Befehl schlägt fehl, wenn sie sich unterscheiden. URI ist eine\n"
         "libpq-Verbindungsangabe (postgresql://benutzer@rechner:port/datenbank?sslmode=...);\n"
         "das Kennwort steht in ~/.pgpass (oder PGPASSFILE), nie in der Angabe.",
         runMigrate,
         {{{"--to", true}, {"--from", true}, {"--replace", false}}, 0, 0}},
        {"database", "Einstellung Datenbank zeigen oder setzen (PostgreSQL-Server oder Tabellendateien)",
         "database [URI] [--clear] [--no-check]\n"
         "Ohne Angaben: zeigt die Einstellung Datenbank. Mit URI (libpq-Verbindungsangabe,\n"
         "postgresql://benutzer@rechner:port/datenbank?sslmode=...) liegen die Tabellen ab dem\n"
         "nächsten Start auf diesem Server; der Server muss dafür jetzt antworten, außer mit\n"
         "--no-check. --clear stellt auf die Tabellendateien zurück. Das Kennwort steht in\n"
         "~/.pgpass (oder PGPASSFILE), nie in der Angabe.",
         runDatabase,
         {{{"--clear", false}, {"--no-check", false}}, 0, 1}},
    };
}

}  // namespace q::cli
