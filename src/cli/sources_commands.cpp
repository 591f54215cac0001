// The further price sources: the price text files and manual entry of "&Neue
// Kurse", the price history of one security, the daily exchange file, Internet
// quotes, intraday polling and taking the last intraday prices as daily prices.
#include "acquisition/manual_entry.h"
#include "acquisition/text_import.h"
#include "cli/commands.h"
#include "cli/polling_cli.h"
#include "cli/read_outcome.h"
#include "base/clock.h"
#include "base/formats.h"
#include "exchange/exchange_file.h"
#include "exchange/history_import.h"
#include "store/firma_hooks.h"

#include <functional>

namespace q::cli {

namespace {

// A run that recognised no quote in its file fails, so scripts notice a wrong file.
void failWhenNothingRead(const ReadReport& r, Outcome& out) {
    if (out.status && !readAnyQuote(r)) out.status = Status::invalid(QStringLiteral("In der Datei %1 wurde kein Kurs gefunden").arg(r.source));
}

Outcome runTextImport(Context& c, const std::function<ReadReport(Store&, const QString&, const ReadingSettings&, ReadingHooks&, Progress&)>& import) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    ReadingSettings s = readingSettingsOf(c);
    // Nobody is there to check a new security in the editor or to split.
    s.bestaetigen = false;
    s.autoSplit = false;
    ReadingHooks hooks;
    // A second run of the same file waits for the first and then finds its prices there.
    auto reading = DataLock::onFile(c.args.positional()[0], lockWaitMs(), sayWaiting);
    if (!reading && reading.status().category() == Category::Busy) return failed(reading.status());
    const ReadReport r = import(c.session.store, c.args.positional()[0], s, hooks, c.progress);
    describeReadReport(r, out);
    failWhenNothingRead(r, out);
    if (out.status && c.args.has(QStringLiteral("--delete"))) {
        UnattendedInteraction yes(Answer::Yes);
        auto deleted = offerTextFileDeletion(r, yes);
        if (!deleted) return failed(deleted.status());
        if (*deleted) out.lines << QStringLiteral("Datei gelöscht: %1").arg(r.source);
        out.json[QStringLiteral("fileDeleted")] = *deleted;
    }
    return out;
}

Outcome runImportText(Context& c) {
    return runTextImport(c, [](Store& st, const QString& f, const ReadingSettings& s, ReadingHooks& h, Progress& p) {
        return importPriceText(st, f, TextLayout::Names, s, h, p);
    });
}

Outcome runImportWkn(Context& c) {
    return runTextImport(c, [](Store& st, const QString& f, const ReadingSettings& s, ReadingHooks& h, Progress& p) {
        return importPriceText(st, f, TextLayout::Identifiers, s, h, p);
    });
}

Outcome runImportInfobeat(Context& c) { return runTextImport(c, importInfobeat); }

Outcome runImportExchange(Context& c) { return runTextImport(c, importExchangeFile); }

Result<int> securityOf(Context& c) {
    auto firmen = c.session.store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    return findSecurity(**firmen, c.args.positional()[0]);
}

Outcome runEnter(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityOf(c);
    if (!firma) return failed(firma.status());
    auto price = c.args.number(QStringLiteral("--price"));
    if (!price) return failed(price.status());
    if (!price->has_value()) return failed(Status::invalid(QStringLiteral("Der Kurs fehlt (--price P)")));
    auto datum = c.args.date(QStringLiteral("--date"));
    if (!datum) return failed(datum.status());
    const QDate day = datum->value_or(today());
    auto entered = enterPrice(c.session.store, *firma, day, **price, c.args.has(QStringLiteral("--overwrite")));
    if (!entered) {
        Status s = entered.status();
        if (s.category() == Category::Invalid && !c.args.has(QStringLiteral("--overwrite")) && s.message().startsWith(QStringLiteral("Für ")))
            s = Status::invalid(s.message() + QStringLiteral(" (mit --overwrite ersetzen)"));
        return failed(s);
    }
    out.lines << QStringLiteral("%1: %2 am %3 eingetragen").arg(entered->FirmenName, formatGeneral(**price), formatDate(day));
    if (entered->replaced) out.lines << QStringLiteral("Ersetzt: %1").arg(formatGeneral(*entered->replaced));
    out.json[QStringLiteral("Firma")] = *firma;
    out.json[QStringLiteral("Datum")] = formatDate(day);
    out.json[QStringLiteral("Kurs")] = **price;
    out.json[QStringLiteral("booked")] = 1;
    if (entered->replaced) out.json[QStringLiteral("replaced")] = *entered->replaced;
    return out;
}

Result<HistoryOptions> historyOptionsOf(Context& c) {
    HistoryOptions o;
    auto from = c.args.date(QStringLiteral("--from"));
    if (!from) return from.status();
    o.from = from->value_or(QDate());
    if (c.args.has(QStringLiteral("--separator"))) {
        const QString sep = c.args.value(QStringLiteral("--separator")).toLower();
        if (sep == QLatin1String("semikolon")) o.separator = QLatin1Char(';');
        else if (sep == QLatin1String("tab")) o.separator = QLatin1Char('\t');
        else if (sep == QLatin1String("komma")) o.separator = QLatin1Char(',');
        else return Status::invalid(QStringLiteral("--separator muss semikolon, tab oder komma sein, nicht %1").arg(sep));
    }
    auto columns = historyColumnsOf(c, QStringLiteral("1,5,6"));
    if (!columns) return columns.status();
    if (*columns) o.columns = **columns;
    return o;
}

Outcome runImportHistory(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto firma = securityOf(c);
    if (!firma) return failed(firma.status());
    auto options = historyOptionsOf(c);
    if (!options) return failed(options.status());
    const QString file = c.args.positional()[1];
    auto report = importHistory(c.session.store, *firma, file, *options, c.progress);
    if (!report) return failed(report.status());
    const HistoryReport& r = *report;
    out.lines << QStringLiteral("Quelle: %1").arg(file) << QStringLiteral("Gelesen: %1").arg(r.read) << QStringLiteral("Gebucht: %1").arg(r.booked)
              << QStringLiteral("Volumen: %1").arg(r.volumes) << QStringLiteral("Schon vorhanden: %1").arg(r.already)
              << QStringLiteral("Vor dem Startdatum: %1").arg(r.before) << QStringLiteral("Übersprungen: %1").arg(r.skipped);
    if (r.refused > 0) out.lines << QStringLiteral("Unplausibel: %1 (%2)").arg(r.refused).arg(r.refusedFile);
    if (!r.backup.isEmpty()) out.lines << QStringLiteral("Kopie: %1").arg(r.backup);
    out.json[QStringLiteral("Firma")] = *firma;
    out.json[QStringLiteral("read")] = r.read;
    out.json[QStringLiteral("booked")] = r.booked;
    out.json[QStringLiteral("volumes")] = r.volumes;
    out.json[QStringLiteral("already")] = r.already;
    out.json[QStringLiteral("before")] = r.before;
    out.json[QStringLiteral("skipped")] = r.skipped;
    out.json[QStringLiteral("unmatched")] = 0;
    out.json[QStringLiteral("implausible")] = r.refused;
    out.json[QStringLiteral("backup")] = r.backup;
    if (r.read == 0) out.status = Status::invalid(QStringLiteral("In der Datei %1 wurde kein Kurs gefunden").arg(file));
    return out;
}

}  // namespace

std::vector<Command> sourcesCommands() {
    return {
        {"import-text", "Kurs-Textdatei einlesen (&Textdatei einlesen)",
         "import-text DATEI [--delete]\n"
         "Liest Zeilen Name<Tab>Kurs[<Tab>Datum[<Tab>Volumen]] und Datumszeilen (Windows-1252\n"
         "oder UTF-8, beliebige Zeilenenden). Namen werden über die Spalte ZDF zugeordnet,\n"
         "sonst wie beim Tageskurs-Einlesen (Alle, Grenzen, PNeue.txt, PExtrem.txt).\n"
         "--delete: die Datei nach einem vollständigen Lauf löschen.",
         runImportText, ArgSpec{{{"--delete", false}}, 1, 1}},
        {"import-wkn", "Textdatei mit WKN|Name|Kurs einlesen",
         "import-wkn DATEI [--delete]\n"
         "Wie import-text, die Zeilen aber Name<Tab>WKN<Tab>Kurs[<Tab>Datum[<Tab>Volumen]];\n"
         "zugeordnet wird über die Kennung (WKN).",
         runImportWkn, ArgSpec{{{"--delete", false}}, 1, 1}},
        {"import-infobeat", "Datei von Infobeat(r) einlesen",
         "import-infobeat DATEI\n"
         "Zeilen \"WKN\",\"Kurs\",\"MM/TT/JJ\". Gebucht wird nur, was neuer als der letzte Kurs ist;\n"
         "ein Datum nach heute wird heute.",
         runImportInfobeat, ArgSpec{{}, 1, 1}},
        {"enter", "Einen Kurs eingeben",
         "enter FIRMA --price P [--date TT.MM.JJJJ] [--overwrite]\n"
         "Trägt den Kurs des Wertpapiers (Nummer oder Name) für den Tag ein (ohne --date heute).\n"
         "Hat der Tag schon einen Kurs, wird er nur mit --overwrite ersetzt.",
         runEnter, ArgSpec{{{"--price", true}, {"--date", true}, {"--overwrite", false}}, 1, 1}},
        {"import-history", "Kurshistorie eines Wertpapiers importieren (Import Wertpapiere)",
         "import-history FIRMA DATEI [--from TT.MM.JJJJ] [--separator semikolon|tab|komma] [--columns D,K,V]\n"
         "DATEI: Tabelle (.DB Paradox oder SQLite, .DBF) mit Datum, Kurs, Volumen; Web-Export\n"
         "(.CSV, Kopfzeile Date,Open,High,… wird als .bak kopiert) oder Text (.TXT, Felder in\n"
         "Anführungszeichen). Tage mit Kurs bleiben unverändert; Volumen 0 wird nicht gespeichert.\n"
         "--columns: Spalten von Datum, Kurs und Volumen (ab 1).",
         runImportHistory, ArgSpec{{{"--from", true}, {"--separator", true}, {"--columns", true}}, 2, 2}},
        {"import-exchange", "Tagesdatei der Börse einlesen (Neuer Markt Tagesdatei)",
         "import-exchange DATEI\n"
         "Zeilen Name;…;…;Kurs;TT.MM.JJJJ. Namen werden ohne Rücksicht auf Groß- und Kleinschreibung\n"
         "und Umlaute zugeordnet, unbekannte als neue Wertpapiere aufgenommen.",
         runImportExchange, ArgSpec{{}, 1, 1}},
        {"internet", "Internet-Kurse einlesen (/I)",
         "internet [--list NAME] [--dry-run] [FIRMA …]\n"
         "Ruft für jedes Wertpapier (ohne FIRMA die der Liste NAME, ohne --list alle) die Adresse\n"
         "seines Feldes Internet ab (http(s)://…, sonst die Vorlage URL im Einstellungsschlüssel\n"
         "Internet mit [Firma], [Kennung], [ISIN], [Ticker], [Internet]) und bucht den gefundenen\n"
         "Kurs für heute. Nach \" | \" im Feld steht, wo der Kurs steht: csv:Spalte,\n"
         "json:pfad[0].wert oder text:regulärer Ausdruck. --dry-run zeigt nur Adresse, Status\n"
         "und gefundene Werte.",
         runInternet, ArgSpec{{{"--list", true}, {"--dry-run", false}}, 0, -1}},
        {"poll", "Intraday-Kurse laufend einlesen (/A)",
         "poll [--source teletext|internet|network] [--list NAME] [--interval N]\n"
         "     [--runs N | --until hh:nn] [--now \"TT.MM.JJJJ hh:nn\"] [--new-securities] [--favourites]\n"
         "Liest alle N Minuten (N = 0: alle 5 Sekunden; erster Lauf nach 5 Sekunden) und schreibt\n"
         "Intraday-Kurse. Ist der neueste Intraday-Kurs älter als heute, wird der Tag vorher im\n"
         "Intraday-Verzeichnis archiviert. --now: die Uhr beginnt dort und läuft ohne Warten\n"
         "(Probelauf). Ohne --source die im Intraday-Reiter gewählte Quelle (IntradayQuelle).\n"
         "SIGTERM beendet den Befehl nach der laufenden Buchung.",
         runPoll, ArgSpec{{{"--source", true}, {"--list", true}, {"--interval", true}, {"--runs", true}, {"--until", true}, {"--now", true},
                           {"--new-securities", false}, {"--favourites", false}}, 0, 0}},
        {"intraday-commit", "akt. Kurse in Datenbank eintragen",
         "intraday-commit\n"
         "Der letzte Intraday-Kurs jedes Wertpapiers wird der Tageskurs seines Tages (und sein\n"
         "Volumen das Tagesvolumen).",
         runIntradayCommit, ArgSpec{{}, 0, 0}},
    };
}

}  // namespace q::cli
