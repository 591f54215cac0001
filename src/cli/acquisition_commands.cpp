// The teletext subcommands: booking the daily price file, the page route, capturing
// the daily pages from a DVB transport stream, looking at a stream's pages, and
// what the page dialogs do (page lists, scripts, station names, the DVB source).
#include "acquisition/capture.h"
#include "acquisition/daily_route.h"
#include "acquisition/dvb_source.h"
#include "acquisition/page_config.h"
#include "acquisition/page_route.h"
#include "acquisition/page_sources.h"
#include "acquisition/sample_update.h"
#include "acquisition/scripts.h"
#include "acquisition/stations.h"
#include "app/acquisition_binding.h"
#include "cli/commands.h"
#include "cli/read_outcome.h"
#include "base/formats.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>

namespace q::cli {

namespace {

Outcome runRead(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    ReadingSettings s = readingSettingsOf(c);
    if (c.args.has(QStringLiteral("--alle"))) s.alle = true;
    // Nobody is there to check a new security in the editor.
    s.bestaetigen = false;
    ReadingHooks hooks;
    const QStringList files = c.args.positional();
    // A second run of the same file waits for the first, which deletes it.
    const QString file = files.isEmpty() ? s.vtDatei : files[0];
    auto reading = file.isEmpty() ? Result<std::unique_ptr<DataLock>>(Status::notFound(QString())) : DataLock::onFile(file, lockWaitMs(), sayWaiting);
    if (!reading && reading.status().category() == Category::Busy) return failed(reading.status());
    const ReadReport r = files.isEmpty() ? VTeinlesen(c.session.store, s, c.ui, hooks, c.progress)
                                         : bookDailyFile(c.session.store, files[0], s, hooks, c.progress);
    describeReadReport(r, out);
    if (r.fileDeleted) out.lines << QStringLiteral("Datei gelöscht: %1").arg(r.source);
    out.json[QStringLiteral("fileDeleted")] = r.fileDeleted;
    return out;
}

Outcome runSampleUpdate(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    const QString program = sampleProgram(s.dirs.install);
    if (program.isEmpty()) return failed(sampleProgramMissing(s.dirs.install));
    auto last = lastPriceDate(s.store);
    if (!last) return failed(last.status());
    if (Status st = storeDailyFile(s, sampleDailyFile(s.dirs.install)); !st) return failed(st);
    if (Status st = runSampleProgram(program, sampleArguments(*last), c.progress); !st) return failed(st);
    ReadingSettings settings = readingSettingsOf(c);
    settings.bestaetigen = false;
    ReadingHooks hooks;
    const ReadReport r = bookDailyFile(s.store, settings.vtDatei, settings, hooks, c.progress);
    describeReadReport(r, out);
    return out;
}

Outcome runReadPages(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    ReadingSettings s = readingSettingsOf(c);
    s.bestaetigen = false;
    const bool intraday = c.args.has(QStringLiteral("--intraday"));
    auto intradayPages = readPages(c.session.store, kIntradayPages);
    QStringList names;
    if (intradayPages)
        for (const PageEntry& p : *intradayPages) names << p.Seitename;
    auto source = openPageSource(s, c.args.value(QStringLiteral("--ts")), names, c.ui, c.progress);
    if (!source) return failed(source.status());
    const PageRunOptions options{intraday ? kIntradayPages : kDailyPages, !intraday, c.args.has(QStringLiteral("--neue")),
                                 c.args.has(QStringLiteral("--korrektur"))};
    ReadingHooks hooks;
    describeReadReport(Kurseladen(c.session.store, s, **source, options, c.ui, hooks, c.progress), out);
    return out;
}

Result<int> seconds(Context& c, int fallback) {
    auto n = c.args.integer(QStringLiteral("--seconds"));
    if (!n) return n.status();
    if (n->has_value() && (**n < 1 || **n > 86400))
        return Status::invalid(QStringLiteral("--seconds muss zwischen 1 und 86400 liegen"));
    return n->has_value() ? int(**n) : fallback;
}

Outcome runCapture(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const ReadingSettings s = readingSettingsOf(c);
    const QString stream = c.args.has(QStringLiteral("--ts")) ? c.args.value(QStringLiteral("--ts")) : s.dvbQuelle;
    if (stream.isEmpty()) return failed(Status::invalid(QStringLiteral("Kein Datenstrom angegeben (--ts DATEI|GERÄT)")));
    auto secs = seconds(c, s.dvbSekunden);
    if (!secs) return failed(secs.status());
    auto cache = readTransportStream(stream, *secs, c.progress);
    if (!cache) return failed(cache.status());
    DvbPageSource source(std::shared_ptr<const TeletextCache>(std::move(*cache)), s.dvbPid);
    auto report = captureDailyPages(c.session.store, s, source, c.progress);
    if (!report) return failed(report.status());
    out.lines << QStringLiteral("Kursdatei: %1").arg(report->file) << QStringLiteral("Seiten: %1, nicht im Datenstrom: %2").arg(report->pages).arg(report->pagesMissing)
              << QStringLiteral("Zeilen: %1").arg(report->lines);
    out.json[QStringLiteral("file")] = report->file;
    out.json[QStringLiteral("pages")] = report->pages;
    out.json[QStringLiteral("pagesMissing")] = report->pagesMissing;
    out.json[QStringLiteral("lines")] = report->lines;
    return out;
}

// A stream read for looking at it; no tables are needed.
Result<std::unique_ptr<TeletextCache>> lookAt(Context& c) {
    if (!c.args.has(QStringLiteral("--ts"))) return Status::invalid(QStringLiteral("Kein Datenstrom angegeben (--ts DATEI|GERÄT)"));
    auto secs = seconds(c, 60);
    if (!secs) return secs.status();
    return readTransportStream(c.args.value(QStringLiteral("--ts")), *secs, c.progress);
}

Outcome runPages(Context& c) {
    auto cache = lookAt(c);
    if (!cache) return failed(cache.status());
    Outcome out;
    QJsonArray streams;
    for (const TeletextCache::StreamInfo& s : (*cache)->streams()) {
        out.lines << QStringLiteral("PID %1%2").arg(s.pid).arg(s.services.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(s.services.join(QStringLiteral(", "))));
        QJsonArray pages;
        for (const auto& [page, subpages] : s.pages) {
            QStringList subs;
            for (int sub : subpages)
                if (sub != 0) subs << teletextSubpageText(sub);
            out.lines << QStringLiteral("  %1%2").arg(teletextPageText(page), subs.isEmpty() ? QString() : QStringLiteral(" / ") + subs.join(QLatin1Char(' ')));
            pages.append(QJsonObject{{QStringLiteral("page"), teletextPageText(page)}, {QStringLiteral("subpages"), toJson(subs)}});
        }
        streams.append(QJsonObject{{QStringLiteral("pid"), s.pid}, {QStringLiteral("services"), toJson(s.services)}, {QStringLiteral("pages"), pages}});
    }
    out.json[QStringLiteral("streams")] = streams;
    return out;
}

Outcome runPage(Context& c) {
    const QString wanted = c.args.positional().value(0);
    const QString pageText = wanted.section(QLatin1Char('/'), 0, 0);
    const QString subText = wanted.contains(QLatin1Char('/')) ? wanted.section(QLatin1Char('/'), 1) : QString();
    const auto page = teletextPageNumber(pageText);
    const auto subpage = subText.isEmpty() ? std::optional<int>() : teletextSubpageNumber(subText);
    if (!page || (!subText.isEmpty() && !subpage))
        return failed(Status::invalid(QStringLiteral("Ungültige Seite: %1 (erwartet SEITE oder SEITE/UNTERSEITE, z. B. 200 oder 200/0001)").arg(wanted)));
    auto pid = c.args.integer(QStringLiteral("--pid"));
    if (!pid) return failed(pid.status());
    auto cache = lookAt(c);
    if (!cache) return failed(cache.status());
    int stream = pid->value_or(0);
    if (c.args.has(QStringLiteral("--station")) || stream > 0) {
        auto found = (*cache)->streamFor(c.args.value(QStringLiteral("--station")), stream);
        if (!found) return failed(found.status());
        stream = *found;
    } else {
        stream = (*cache)->streams().front().pid;
    }
    const auto rows = (*cache)->page(stream, *page, subpage);
    if (!rows)
        return failed(Status::notFound(QStringLiteral("Die Seite %1 ist im Datenstrom nicht vollständig enthalten").arg(wanted)));
    Outcome out;
    out.lines = *rows;
    out.json[QStringLiteral("pid")] = stream;
    out.json[QStringLiteral("page")] = pageText;
    out.json[QStringLiteral("subpage")] = subpage ? teletextSubpageText(*subpage) : QString();
    out.json[QStringLiteral("rows")] = toJson(*rows);
    return out;
}

QString pageTableOf(Context& c) {
    if (c.args.has(QStringLiteral("--intraday"))) return kIntradayPages;
    if (c.args.has(QStringLiteral("--predefined"))) return kPredefinedPages;
    return kDailyPages;
}

Outcome runPageList(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const QString file = pageTableOf(c);
    auto pages = readPages(c.session.store, file, c.args.value(QStringLiteral("--station")));
    if (!pages) return failed(pages.status());
    QJsonArray list;
    for (const PageEntry& p : *pages) {
        out.lines << QStringLiteral("%1\t%2\t%3-%4\t%5\t%6").arg(p.Seitename, p.Sender).arg(p.SeitenVon).arg(p.Seitenbis).arg(p.Filter, p.Beschreibung);
        list.append(QJsonObject{{QStringLiteral("Seitename"), p.Seitename}, {QStringLiteral("Sender"), p.Sender},
                                {QStringLiteral("SeitenVon"), p.SeitenVon}, {QStringLiteral("Seitenbis"), p.Seitenbis},
                                {QStringLiteral("Filter"), p.Filter}, {QStringLiteral("Beschreibung"), p.Beschreibung}});
    }
    out.json[QStringLiteral("table")] = file;
    out.json[QStringLiteral("pages")] = list;
    return out;
}

Outcome runPageAdd(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const QStringList a = c.args.positional();
    bool okFrom = false;
    bool okTo = false;
    const int from = a[1].toInt(&okFrom);
    const int to = a[2].toInt(&okTo);
    if (!okFrom || !okTo) return failed(Status::invalid(QStringLiteral("Unterseiten müssen ganze Zahlen sein: %1 %2").arg(a[1], a[2])));
    const QString file = pageTableOf(c);
    PageEntry page{c.args.value(QStringLiteral("--description")), stationOfPageName(a[0]), a[0], from, to, a[3]};
    const ReadingSettings s = readingSettingsOf(c);
    if (file != kPredefinedPages)
        if (Status checked = checkPage(page, file == kIntradayPages ? PageDialog::Intraday : PageDialog::Daily, s.filterPath); !checked)
            return failed(Status::invalid(checked.message().trimmed()));
    if (Status added = addPage(c.session.store, file, page); !added) return failed(added);
    out.lines << QStringLiteral("Seite %1 eingetragen in %2").arg(page.Seitename, file);
    return out;
}

Outcome runScripts(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const ReadingSettings s = readingSettingsOf(c);
    DailyScriptOptions o;
    o.station = dailyStationIdentifier(s.stations, s.kursSender);
    o.alternative = c.args.has(QStringLiteral("--alternative"));
    o.alternativeId = c.args.value(QStringLiteral("--alternative"));
    o.startAfter = c.args.has(QStringLiteral("--start"));
    if (Status w = writeDailyScript(c.session.store, s, o); !w) return failed(w);
    const QString intradayStation = isSeveralStations(s.stations, s.ddeSender) ? kSeveralStations : s.ddeSender;
    const auto end = parseTime(s.ddeTime);
    if (Status w = writeIntradayScript(c.session.store, s, intradayStation, s.ddeEnde, end.value_or(QTime(22, 32))); !w) return failed(w);
    out.lines << QStringLiteral("Tages-Script: %1").arg(s.script) << QStringLiteral("Intraday-Script: %1").arg(s.ddeScript);
    out.json[QStringLiteral("script")] = s.script;
    out.json[QStringLiteral("ddeScript")] = s.ddeScript;
    return out;
}

Outcome runRenameStation(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const QString from = c.args.positional()[0];
    const QString to = c.args.positional()[1].trimmed();
    if (to.isEmpty() || to == from) return failed(Status::invalid(QStringLiteral("Der neue Name muss sich vom alten unterscheiden")));
    auto changed = renameStation(c.session.store, from, to);
    if (!changed) return failed(changed.status());
    out.lines << QStringLiteral("Seiten umbenannt: %1").arg(*changed)
              << QStringLiteral("Umbenennen beendet! Eventuell müssen sie jetzt noch unter \"Einstellungen\"  das Intraday und Tages-Script neu schreiben.");
    out.json[QStringLiteral("changed")] = *changed;
    return out;
}

Outcome runDvbSource(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    Session& s = c.session;
    if (!c.args.positional().isEmpty() || c.args.has(QStringLiteral("--seconds")) || c.args.has(QStringLiteral("--pid"))) {
        auto secs = seconds(c, s.values.integer(QStringLiteral("DVBSekunden")));
        if (!secs) return failed(secs.status());
        auto pid = c.args.integer(QStringLiteral("--pid"));
        if (!pid) return failed(pid.status());
        if (pid->has_value() && (**pid < 0 || **pid > 0x1FFE)) return failed(Status::invalid(QStringLiteral("--pid muss zwischen 0 und 8190 liegen")));
        const QString source = c.args.positional().isEmpty() ? s.values.text(QStringLiteral("DVBQuelle")) : c.args.positional()[0];
        if (Status st = storeDvbSource(s, source, *secs, int(pid->value_or(s.values.integer(QStringLiteral("DVBPID"))))); !st) return failed(st);
    }
    out.lines << QStringLiteral("DVB-Quelle: %1").arg(s.values.text(QStringLiteral("DVBQuelle")))
              << QStringLiteral("Sekunden: %1").arg(s.values.integer(QStringLiteral("DVBSekunden")))
              << QStringLiteral("PID: %1").arg(s.values.integer(QStringLiteral("DVBPID")));
    out.json[QStringLiteral("DVBQuelle")] = s.values.text(QStringLiteral("DVBQuelle"));
    out.json[QStringLiteral("DVBSekunden")] = s.values.integer(QStringLiteral("DVBSekunden"));
    out.json[QStringLiteral("DVBPID")] = s.values.integer(QStringLiteral("DVBPID"));
    return out;
}

}  // namespace

std::vector<Command> acquisitionCommands() {
    return {
        {"read", "Tageskurse aus der Kursdatei buchen (/V)",
         "read [DATEI] [--alle]\n"
         "Bucht die Kursdatei (ohne DATEI die Einstellung VTDatei) in Aktien.db und Volumen.db:\n"
         "Namen werden über die Spalte des Tagessenders (KursSender) zugeordnet. Nicht\n"
         "zugeordnete und unplausible Kurse stehen danach in PNeue.txt und PExtrem.txt im\n"
         "Arbeitsverzeichnis. Die Datei wird nur gelöscht, wenn sie ganz gelesen wurde.\n"
         "Fehlt die Datei, wird mit --yes erst die DVB-Quelle aufgenommen (capture).\n"
         "  --alle   nicht zugeordnete Namen als neue Wertpapiere aufnehmen",
         runRead, ArgSpec{{{"--alle", false}}, 0, 1}},
        {"sample-update", "Beispieldatenbank aktualisieren (F7)",
         "sample-update\n"
         "Trägt INSTALLATION/aktien.txt als Kursdatei (VTDatei) ein, startet das Programm\n"
         "bin/beispielkurse mit \"/K\" und dem Tag des letzten gespeicherten Kurses, wartet\n"
         "auf sein Ende und bucht dann die Kursdatei wie read.",
         runSampleUpdate, ArgSpec{{}, 0, 0}},
        {"read-pages", "Kurse seitenweise vom Empfänger lesen (Kurseladen)",
         "read-pages [--intraday] [--ts DATEI|GERÄT] [--neue] [--korrektur]\n"
         "Liest die Tagesseiten (TVAktiv.DB) mit ihren Masken und bucht Tages- und Intraday-\n"
         "Kurse; mit --intraday die Intraday-Seiten (DDEAktiv.db), nur Intraday-Kurse. Die\n"
         "Seiten kommen von der eingestellten Quelle (DVB-Quelle, Befehl oder Seitendateien)\n"
         "oder aus dem Datenstrom --ts. --neue nimmt unbekannte Namen als Wertpapiere auf.\n"
         "--korrektur (\"K\"): geänderte Senderkennungen werden zum Umbenennen angeboten\n"
         "(mit --interactive gefragt, mit --yes angenommen).",
         runReadPages, ArgSpec{{{"--intraday", false}, {"--ts", true}, {"--neue", false}, {"--korrektur", false}}, 0, 0}},
        {"capture", "Tagesseiten aus einem DVB-Datenstrom in die Kursdatei schreiben",
         "capture [--ts DATEI|GERÄT] [--seconds N]\n"
         "Dekodiert den Videotext des Transportstroms (eine .ts-Datei, ein DVR-Gerät wie\n"
         "/dev/dvb/adapter0/dvr0 oder \"-\" für die Standardeingabe; ohne --ts die Einstellung\n"
         "DVBQuelle), schneidet die Tagesseiten mit ihren Masken und hängt die Zeilen an die\n"
         "Kursdatei VTDatei an, wie es das Empfänger-Script täte. Ein Gerät wird N Sekunden\n"
         "gelesen (Vorgabe DVBSekunden).",
         runCapture, ArgSpec{{{"--ts", true}, {"--seconds", true}}, 0, 0}},
        {"page", "Eine Videotextseite aus einem Datenstrom zeigen",
         "page --ts DATEI|GERÄT SEITE[/UNTERSEITE] [--station NAME] [--pid N] [--seconds N]\n"
         "Gibt die 24 Zeilen der Seite aus, wie sie dekodiert wurde (zum Schreiben von Masken).\n"
         "UNTERSEITE mit 1 bis 4 Ziffern (200/1 wie 200/0001); ohne sie die neueste.",
         runPage, ArgSpec{{{"--ts", true}, {"--station", true}, {"--pid", true}, {"--seconds", true}}, 1, 1}},
        {"pages", "Seiten und Unterseiten eines Datenstroms auflisten",
         "pages --ts DATEI|GERÄT [--seconds N]\n"
         "Listet je Videotext-PID (mit den Namen der Programme) die vollständig empfangenen\n"
         "Seiten und ihre Unterseiten.",
         runPages, ArgSpec{{{"--ts", true}, {"--seconds", true}}, 0, 0}},
        {"page-list", "Eingestellte Videotextseiten auflisten",
         "page-list [--intraday|--predefined] [--station NAME]\n"
         "Die Tagesseiten (TVAktiv.DB), Intraday-Seiten (DDEAktiv.db) oder Standardseiten\n"
         "(DDESeiten.db): Seitenname, Sender, Unterseiten, Maske, Beschreibung.",
         runPageList, ArgSpec{{{"--intraday", false}, {"--predefined", false}, {"--station", true}}, 0, 0}},
        {"page-add", "Eine Videotextseite eintragen",
         "page-add SEITENNAME VON BIS MASKE [--intraday|--predefined] [--description TEXT]\n"
         "Trägt die Seite (z. B. ZDF200 1 2 zdf200.msk) in die Tagesseiten ein, mit --intraday\n"
         "in die Intraday-Seiten, mit --predefined in die Standardseiten. Die Maske muss im\n"
         "Filter-Verzeichnis (FilterPath) stehen, VON muss kleiner als BIS sein.",
         runPageAdd, ArgSpec{{{"--intraday", false}, {"--predefined", false}, {"--description", true}}, 4, 4}},
        {"scripts", "Tages- und Intraday-Script schreiben",
         "scripts [--alternative KENNUNG] [--start]\n"
         "Schreibt das Tages-Script (SCRIPT, aktien.vts) und das Intraday-Script (DDESCRIPT,\n"
         "dde.vts) aus den eingestellten Seiten. --alternative: die Senderkennung, die der\n"
         "Empfänger in den Seitentiteln zeigt; --start: danach Quintara mit /V starten.",
         runScripts, ArgSpec{{{"--alternative", true}, {"--start", false}}, 0, 0}},
        {"rename-station", "Eine Senderkennung in allen Seitentabellen umbenennen",
         "rename-station ALT NEU\n"
         "Ändert Sender und Seitennamen in DDESeiten.db, DDEAktiv.db und TVAktiv.DB.",
         runRenameStation, ArgSpec{{}, 2, 2}},
        {"dvb-source", "DVB-Quelle für den eingebauten Videotext-Dekoder zeigen oder setzen",
         "dvb-source [QUELLE] [--seconds N] [--pid N]\n"
         "QUELLE: eine .ts-Datei, ein DVR-Gerät (/dev/dvb/adapter0/dvr0) oder \"-\"; leer (\"\")\n"
         "schaltet den Dekoder ab. --seconds: wie lange ein Gerät gelesen wird; --pid: die\n"
         "Videotext-PID (0: im Datenstrom suchen). Das Einstellen des Senders übernimmt\n"
         "dvbv5-zap.",
         runDvbSource, ArgSpec{{{"--seconds", true}, {"--pid", true}}, 0, 1}},
    };
}

}  // namespace q::cli
