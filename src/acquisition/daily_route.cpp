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
    QDate datum = today();
    // Each batch is parsed and matched first, so that the last prices of all its
    // securities are read in one query; the booking then takes the parsed lines.
    struct Parsed {
        ParsedLine line;
        std::optional<int> firma;
    };
    std::vector<Parsed> parsed;
    qint64 first = 0;
    qint64 seen = 0;
    auto prepare = [&](const std::vector<QString>& lines) -> Status {
        first = seen;
        seen += qint64(lines.size());
        parsed.assign(lines.size(), Parsed{});
        QList<int> firmen;
        for (size_t i = 0; i < lines.size(); ++i) {
            Parsed& p = parsed[i];
            p.line = parseDailyLine(lines[i]);
            if (p.line.kind != LineKind::Quote) continue;
            auto firma = book.match(p.line.quote.name);
            if (!firma) return firma.status();
            p.firma = *firma;
            if (p.firma) firmen << *p.firma;
        }
        return book.prefetch(firmen);
    };
    ReadReport report = runTextFile(
        file, book, settings.workDir, progress,
        [&](const QString&, const TextPlace& at, ReadReport& r) {
            const Parsed& p = parsed[size_t(at.line - first)];
            if (p.line.kind == LineKind::Date) {
                datum = p.line.date;
                return Status::ok();
            }
            if (p.line.kind != LineKind::Quote) {
                ++r.counts.skipped;
                return Status::ok();
            }
            const QuoteLine& quote = p.line.quote;
            if (quote.date) datum = *quote.date;
            if (at.stepDue())
                progress.step(formatDate(datum) + QStringLiteral("  ") + quote.name + QStringLiteral("  ") + quote.priceText, at.done, at.total);
            // A security taken up earlier in this batch was not there when the batch was matched.
            std::optional<int> firma = p.firma;
            if (!firma) {
                auto again = book.match(quote.name);
                if (!again) return again.status();
                firma = *again;
            }
            return bookDailyQuote(book, quote, firma, datum, settings.alle, r);
        },
        prepare);
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
