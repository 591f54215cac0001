#include "acquisition/daily_route.h"

#include "acquisition/capture.h"
#include "acquisition/dvb_source.h"
#include "acquisition/quote_line.h"
#include "acquisition/stations.h"
#include "acquisition/text_import.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QFile>
#include <QFileInfo>

namespace q {

ReadReport bookDailyFile(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress) {
    QuoteBook book(store, bookingRules(settings, dailyStationColumn(settings.kursSender)), hooks);
    ReadReport report = bookQuoteFile(book, file, QuoteFileRules{}, settings, progress);
    // A file without a single quote (empty, or not a price file at all) stays: it
    // may be the wrong file, and the user should see it.
    if (report.status && !readAnyQuote(report))
        report.status = Status::invalid(QStringLiteral("In der Datei %1 wurde kein Kurs gefunden").arg(file));
    // Only a file read to its end goes: its unmatched and implausible quotes stand
    // in the protocol by now (unless there were too many to keep), and nothing of it
    // is left to book.
    if (report.status && report.protocol.leftOut == 0) {
        report.fileDeleted = QFile::remove(file);
        if (!report.fileDeleted)
            report.notes << QStringLiteral("Die Datei %1 konnte nicht gelöscht werden").arg(file);
    }
    return report;
}

Status startDailyScript(Store& store, const ReadingSettings& settings, Progress& progress) {
    if (settings.dvbQuelle.trimmed().isEmpty())
        return Status::invalid(QStringLiteral("Programm existiert nicht ") + settings.vtPath);
    auto cache = readTransportStream(settings.dvbQuelle.trimmed(), settings.dvbSekunden, progress);
    if (!cache) return cache.status();
    DvbPageSource source(std::shared_ptr<const TeletextCache>(std::move(*cache)), settings.dvbPid);
    auto captured = captureDailyPages(store, settings, source, progress);
    return captured ? Status::ok() : captured.status();
}

ReadReport VTeinlesen(Store& store, const ReadingSettings& settings, Interaction& ui, ReadingHooks& hooks, Progress& progress) {
    const QString filter = QStringLiteral("Kurs-Text-Datei|*.TXT");
    QString file = settings.vtDatei;
    if (file.isEmpty()) file = ui.chooseFile(QStringLiteral("Kurs-Text-Datei"), filter, settings.installDir).value_or(QString());
    if (!file.isEmpty() && !QFileInfo::exists(file)) {
        if (ui.ask(QStringLiteral("VTPlus jetzt starten ?"),
                   QStringLiteral("Die Datei ") + file + QStringLiteral(" existiert noch nicht! Soll VTPlus Script jetzt gestartet werden?")) ==
            Answer::Yes) {
            if (Status started = startDailyScript(store, settings, progress); !started) {
                ReadReport failed;
                failed.source = file;
                failed.status = started;
                return failed;
            }
        } else if (ui.ask(QStringLiteral("Andere Datei ?"), QStringLiteral("Wollen Sie Daten aus einer anderen Datei einlesen ?")) == Answer::Yes) {
            file = ui.chooseFile(QStringLiteral("Kurs-Text-Datei"), filter, QFileInfo(file).absolutePath()).value_or(QString());
        }
    }
    if (file.isEmpty() || !QFileInfo::exists(file)) {
        ReadReport none;
        none.source = file;
        none.status = Status::cancelled(file.isEmpty() ? QString() : QStringLiteral("Die Datei %1 existiert nicht").arg(file));
        return none;
    }
    return bookDailyFile(store, file, settings, hooks, progress);
}

}  // namespace q
