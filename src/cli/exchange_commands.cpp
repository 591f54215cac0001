#include "cli/commands.h"

#include "exchange/legacy_import.h"

#include <QDir>
#include <QFileInfo>

namespace q::cli {

namespace {

QJsonObject toJson(const LegacyReport& report) {
    QJsonArray tables;
    for (const LegacyTableReport& t : report.tables)
        tables.append(QJsonObject{{QStringLiteral("file"), t.source},
                                  {QStringLiteral("table"), t.target},
                                  {QStringLiteral("read"), t.read},
                                  {QStringLiteral("added"), t.added},
                                  {QStringLiteral("existing"), t.existing},
                                  {QStringLiteral("skipped"), t.skipped},
                                  {QStringLiteral("notes"), QJsonArray::fromStringList(t.notes)}});
    QJsonArray skipped;
    for (const LegacySkippedFile& f : report.skipped)
        skipped.append(QJsonObject{{QStringLiteral("file"), f.file}, {QStringLiteral("reason"), f.reason}});
    return {{QStringLiteral("dir"), report.dir},
            {QStringLiteral("dryRun"), report.dryRun},
            {QStringLiteral("tables"), tables},
            {QStringLiteral("skippedFiles"), skipped}};
}

Outcome runImportLegacy(Context& c) {
    Outcome out;
    const QString dir = QFileInfo(c.args.positional().value(0)).absoluteFilePath();
    if (Status s = checkLegacyDir(dir); !s) return failed(s);
    Result<LegacyReport> report = Status::ok();
    if (c.args.has(QStringLiteral("--dry-run"))) {
        // Reading only: the data directory is not even opened.
        report = readLegacy(dir, c.progress);
    } else {
        if (!startForJob(c, out, true)) return out;
        report = importLegacy(c.session.store, dir, c.progress);
    }
    if (!report) return failed(report.status());
    out.lines << describeLegacyReport(*report);
    const QJsonObject json = toJson(*report);
    for (auto it = json.begin(); it != json.end(); ++it) out.json[it.key()] = it.value();
    // Nothing read while files were there: damaged or empty tables, which a script must notice.
    qint64 read = 0;
    for (const LegacyTableReport& t : report->tables) read += t.read;
    if (report->tables.empty() || (read == 0 && !report->skipped.empty()))
        out.status = Status::invalid(QStringLiteral("Im Verzeichnis %1 konnte keine Tabelle gelesen werden").arg(dir));
    return out;
}

}  // namespace

std::vector<Command> exchangeCommands() {
    return {
        {"import-legacy", "Daten der Windows-Version (Paradox-Tabellen) übernehmen",
         "quintara-cli import-legacy VERZEICHNIS [--dry-run]\n"
         "Liest jede Tabelle des Katalogs im Verzeichnis (Firma.DB, Aktien.DB, Volumen.DB,\n"
         "Transaktionen.DB, …, Memos aus den .MB-Dateien) und übernimmt sie Feld für Feld:\n"
         "Wertpapiere werden über den Namen zugeordnet, Kurse und Volumen über Wertpapier und\n"
         "Datum; vorhandene Kurse bleiben, keine Wertpapiernummer wird doppelt vergeben. Eine\n"
         "Transaktion je Tabelle. Beschädigte und verschlüsselte Dateien werden genannt und\n"
         "ausgelassen. --dry-run liest und zählt nur.",
         runImportLegacy,
         {{{"--dry-run", false}}, 1, 1}},
    };
}

}  // namespace q::cli
