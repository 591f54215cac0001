#include "cli/commands.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/intraday_export.h"
#include "exchange/price_text_export.h"
#include "exchange/security_export.h"
#include "exchange/security_import.h"
#include "store/firma_hooks.h"

#include <QDir>
#include <QFileInfo>

namespace q::cli {

namespace {

int decimalsOf(const Session& s) {
    return s.values.has(QStringLiteral("DezimalStellen")) ? s.values.integer(QStringLiteral("DezimalStellen")) : 2;
}

Result<int> securityOf(Context& c) {
    auto firmen = c.session.store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    return findSecurity(**firmen, c.args.positional()[0]);
}

// --from and --to; a missing one is `preset`.
Result<std::pair<QDate, QDate>> rangeOf(Context& c, const QDate& fromPreset, const QDate& toPreset) {
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return from.status();
    auto to = c.args.date(QStringLiteral("--to"));
    if (!to) return to.status();
    return std::pair{from->value_or(fromPreset), to->value_or(toPreset)};
}

// The separator named on the command line among `names` (first: the preset).
Result<QChar> separatorOf(Context& c, const std::vector<std::pair<const char*, QChar>>& names) {
    if (!c.args.has(QStringLiteral("--separator"))) return names.front().second;
    const QString given = c.args.value(QStringLiteral("--separator")).toLower();
    QStringList all;
    for (const auto& [name, sep] : names) {
        if (given == QLatin1String(name)) return sep;
        all << QString::fromLatin1(name);
    }
    return Status::invalid(QStringLiteral("--separator muss %1 sein, nicht %2").arg(all.join(QStringLiteral(", ")), given));
}

Outcome runExportSecurity(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityOf(c);
    if (!firma) return failed(firma.status());
    SecurityExportOptions o;
    o.decimals = decimalsOf(c.session);
    const int typ = c.session.values.has(QStringLiteral("ExportTyp")) ? c.session.values.integer(QStringLiteral("ExportTyp")) : 3;
    o.typ = typ >= 1 && typ <= 3 ? ExportTyp(typ) : ExportTyp::Csv;
    if (c.args.has(QStringLiteral("--format"))) {
        const auto named = exportTypNamed(c.args.value(QStringLiteral("--format")));
        if (!named) return failed(Status::invalid(QStringLiteral("--format muss csv, text oder dbf sein, nicht %1").arg(c.args.value(QStringLiteral("--format")))));
        o.typ = *named;
    }
    auto first = firstPriceDay(c.session.store, *firma);
    if (!first) return failed(first.status());
    auto range = rangeOf(c, first->value_or(QDate()), QDate());
    if (!range) return failed(range.status());
    o.from = range->first;
    o.to = range->second;
    auto sep = separatorOf(c, {{"semikolon", QLatin1Char(';')}, {"tab", QLatin1Char('\t')}, {"komma", QLatin1Char(',')}});
    if (!sep) return failed(sep.status());
    o.separator = *sep;
    auto report = exportSecurity(c.session.store, *firma, QFileInfo(c.args.positional()[1]).absoluteFilePath(), o);
    if (!report) return failed(report.status());
    out.lines << QStringLiteral("Datei: %1").arg(QDir::toNativeSeparators(report->file)) << QStringLiteral("Kurse: %1").arg(report->rows);
    out.json[QStringLiteral("Firma")] = *firma;
    out.json[QStringLiteral("file")] = report->file;
    out.json[QStringLiteral("rows")] = report->rows;
    return out;
}

Result<SecurityImportOptions> importOptionsOf(Context& c, int firma) {
    SecurityImportOptions o;
    auto preset = importStartPreset(c.session.store, firma);
    if (!preset) return preset.status();
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return from.status();
    o.from = from->value_or(*preset);
    auto sep = separatorOf(c, {{"semikolon", QLatin1Char(';')}, {"tab", QLatin1Char('\t')}, {"komma", QLatin1Char(',')}});
    if (!sep) return sep.status();
    o.separator = *sep;
    auto columns = historyColumnsOf(c, QStringLiteral("2,4,9"));
    if (!columns) return columns.status();
    if (*columns) o.columns = **columns;
    return o;
}

Outcome runImportSecurity(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityOf(c);
    if (!firma) return failed(firma.status());
    auto options = importOptionsOf(c, *firma);
    if (!options) return failed(options.status());
    const QString file = QFileInfo(c.args.positional()[1]).absoluteFilePath();
    auto report = importSecurity(c.session.store, *firma, file, *options, c.progress);
    if (!report) return failed(report.status());
    const HistoryReport& r = *report;
    out.lines << QStringLiteral("Quelle: %1").arg(QDir::toNativeSeparators(file))
              << QStringLiteral("Ab: %1").arg(options->from.isValid() ? formatDate(options->from) : QStringLiteral("allen Zeilen"))
              << QStringLiteral("Gespeichert: %1").arg(r.booked) << QStringLiteral("Volumen: %1").arg(r.volumes)
              << QStringLiteral("Schon vorhanden: %1").arg(r.already) << QStringLiteral("Vor dem Startdatum: %1").arg(r.before)
              << QStringLiteral("Übersprungen: %1").arg(r.skipped);
    if (r.refused > 0) out.lines << QStringLiteral("Unplausibel: %1 (%2)").arg(r.refused).arg(r.refusedFile);
    if (!r.backup.isEmpty()) out.lines << QStringLiteral("Kopie: %1").arg(r.backup);
    out.json[QStringLiteral("Firma")] = *firma;
    out.json[QStringLiteral("read")] = r.read;
    out.json[QStringLiteral("stored")] = r.booked;
    out.json[QStringLiteral("volumes")] = r.volumes;
    out.json[QStringLiteral("present")] = r.already;
    out.json[QStringLiteral("before")] = r.before;
    out.json[QStringLiteral("skipped")] = r.skipped;
    out.json[QStringLiteral("implausible")] = r.refused;
    out.json[QStringLiteral("backup")] = r.backup;
    if (r.read == 0 && r.skipped == 0) out.status = Status::invalid(QStringLiteral("In der Datei %1 wurde kein Kurs gefunden").arg(file));
    return out;
}

Outcome runExportIntraday(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityOf(c);
    if (!firma) return failed(firma.status());
    IntradayExportOptions o;
    auto range = rangeOf(c, today(), today());
    if (!range) return failed(range.status());
    o.from = range->first;
    o.to = range->second;
    if (c.args.has(QStringLiteral("--interval"))) {
        bool ok = false;
        o.minutes = c.args.value(QStringLiteral("--interval")).toInt(&ok);
        if (!ok) o.minutes = -1;
    }
    auto sep = separatorOf(c, {{"blank", QLatin1Char(' ')}, {"komma", QLatin1Char(',')}, {"semikolon", QLatin1Char(';')}, {"tab", QLatin1Char('\t')}});
    if (!sep) return failed(sep.status());
    o.separator = *sep;
    if (c.args.has(QStringLiteral("--date-format"))) o.dateFormat = c.args.value(QStringLiteral("--date-format"));
    if (c.args.has(QStringLiteral("--time-format"))) o.timeFormat = c.args.value(QStringLiteral("--time-format"));
    if (!intradayDateFormats().contains(o.dateFormat))
        return failed(Status::invalid(QStringLiteral("--date-format muss eines von %1 sein").arg(intradayDateFormats().join(QStringLiteral(", ")))));
    if (!intradayTimeFormats().contains(o.timeFormat))
        return failed(Status::invalid(QStringLiteral("--time-format muss eines von %1 sein").arg(intradayTimeFormats().join(QStringLiteral(", ")))));
    o.decimals = decimalsOf(c.session);
    o.intradayDir = c.session.dirs.intraday;
    o.today = today();
    const QString file = QFileInfo(c.args.positional()[1]).absoluteFilePath();
    auto report = exportIntraday(c.session.store, *firma, file, o);
    if (!report) return failed(report.status());
    out.lines << QStringLiteral("Datei: %1").arg(QDir::toNativeSeparators(file)) << QStringLiteral("Tage: %1").arg(report->days)
              << QStringLiteral("Intervalle: %1").arg(report->bars);
    out.json[QStringLiteral("file")] = file;
    out.json[QStringLiteral("days")] = report->days;
    out.json[QStringLiteral("bars")] = report->bars;
    return out;
}

Outcome runExport(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return failed(from.status());
    if (!from->has_value()) return failed(Status::invalid(QStringLiteral("Das Anfangsdatum fehlt (--from TT.MM.JJJJ)")));
    auto to = c.args.date(QStringLiteral("--to"));
    if (!to) return failed(to.status());
    if (c.args.has(QStringLiteral("--dir")) && c.args.has(QStringLiteral("--file")))
        return failed(Status::invalid(QStringLiteral("--dir und --file schließen einander aus")));
    PriceTextOptions o;
    o.from = **from;
    o.to = to->value_or(today());
    o.extended = c.args.has(QStringLiteral("--extended"));
    o.decimals = decimalsOf(c.session);
    const QString file = c.args.has(QStringLiteral("--file"))
                             ? QFileInfo(c.args.value(QStringLiteral("--file"))).absoluteFilePath()
                             : withSlash(QFileInfo(c.args.has(QStringLiteral("--dir")) ? c.args.value(QStringLiteral("--dir")) : QStringLiteral(".")).absoluteFilePath()) +
                                   priceTextFileName(o.from);
    auto report = exportPriceText(c.session.store, file, o, c.progress);
    if (!report) return failed(report.status());
    out.lines << QStringLiteral("Datei: %1").arg(QDir::toNativeSeparators(report->file)) << QStringLiteral("Wertpapiere: %1").arg(report->securities)
              << QStringLiteral("Kurse: %1").arg(report->prices);
    if (report->replaced > 0) out.lines << QStringLiteral("Zeichen außerhalb Windows-1252 als \"?\" geschrieben: %1").arg(report->replaced);
    out.json[QStringLiteral("file")] = report->file;
    out.json[QStringLiteral("securities")] = report->securities;
    out.json[QStringLiteral("prices")] = report->prices;
    out.json[QStringLiteral("lines")] = report->lines;
    out.json[QStringLiteral("replaced")] = report->replaced;
    return out;
}

}  // namespace

std::vector<Command> exchangeExportCommands() {
    return {
        {"export-security", "Kurse eines Wertpapiers exportieren (Export Einzelkurs)",
         "export-security FIRMA DATEI [--format csv|text|dbf] [--from TT.MM.JJJJ] [--to TT.MM.JJJJ]\n"
         "                [--separator semikolon|tab|komma]\n"
         "Schreibt Datum, Kurs und Volumen der Tage (ohne --from ab dem ersten Kurs, ohne --to bis\n"
         "zum letzten): CSV mit Kopfzeile \"Datum\";\"Kurs\";\"Volumen\", Text mit Trennzeichen (Volumen\n"
         "nur, wo es eins gibt) oder dBase (Datum, Kurs, Volumen). Ohne --format der zuletzt im\n"
         "Fenster gewählte Typ (ExportTyp). .csv, .txt oder .dbf wird angehängt, wenn der Name\n"
         "nicht schon so endet.",
         runExportSecurity, ArgSpec{{{"--format", true}, {"--from", true}, {"--to", true}, {"--separator", true}}, 2, 2}},
        {"import-security", "Kurse eines Wertpapiers importieren (Import Einzelkurs)",
         "import-security FIRMA DATEI [--from TT.MM.JJJJ] [--separator semikolon|tab|komma] [--columns D,K,V]\n"
         "DATEI: .DBF/.DB (Felder Datum, Kurs, Volumen), .CSV mit Kopfzeile (Spalten aus der Kopfzeile,\n"
         "sonst 2, 4 und 9; --columns ab 1) oder .TXT (Datum, Kurs, Volumen mit Trennzeichen). Ohne\n"
         "--from ab dem Tag nach dem letzten Kurs. Tage mit Kurs bleiben unverändert.",
         runImportSecurity, ArgSpec{{{"--from", true}, {"--separator", true}, {"--columns", true}}, 2, 2}},
        {"export-intraday", "Intraday-Kurse als Open/High/Low/Close exportieren",
         "export-intraday FIRMA DATEI [--from TT.MM.JJJJ] [--to TT.MM.JJJJ] [--interval 5|10|15|30|60|120|720|1440]\n"
         "                [--separator blank|komma|semikolon|tab] [--date-format ddmmyy] [--time-format hh:mm:ss]\n"
         "Eine Zeile je Intervall (Minuten, ohne --interval 5) an jedem Tag mit Tageskurs (ohne Datum\n"
         "heute): Datum, Zeit, Open, High, Low, Close, Volumen, Last.",
         runExportIntraday,
         ArgSpec{{{"--from", true}, {"--to", true}, {"--interval", true}, {"--separator", true}, {"--date-format", true}, {"--time-format", true}}, 2, 2}},
        {"export", "Kurse aller Wertpapiere als Text exportieren (/E)",
         "export --from TT.MM.JJJJ [--to TT.MM.JJJJ] [--dir VERZ | --file DATEI] [--extended]\n"
         "Schreibt je Kurs eine Datumszeile und Name<Tab>Kurs (Gruppen 0 bis 100) in VERZ/ttmmjjjj.txt\n"
         "des Anfangsdatums (ohne --to bis heute). --extended: Name<Tab>WKN<Tab>Kurs<Tab>Volumen\n"
         "aller Gruppen (Export in erweiterte Textdatei).",
         runExport, ArgSpec{{{"--from", true}, {"--to", true}, {"--dir", true}, {"--file", true}, {"--extended", false}}, 0, 0}},
    };
}

}  // namespace q::cli
