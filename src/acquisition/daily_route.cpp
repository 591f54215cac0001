#include "acquisition/daily_route.h"

#include "acquisition/capture.h"
#include "acquisition/dvb_source.h"
#include "acquisition/quote_line.h"
#include "acquisition/stations.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QFile>
#include <QFileInfo>

namespace q {

namespace {

// One quote of the daily file.
Status bookQuote(QuoteBook& book, const QuoteLine& q, const QDate& datum, bool alle, ReadReport& report) {
    ProtocolEntry entry{q.name, q.priceText, datum, now().time(), q.volume, std::nullopt};
    auto firma = book.match(q.name);
    if (!firma) return firma.status();
    if (!firma->has_value()) {
        auto added = bookUnmatched(book, alle, q, entry, report);
        return added ? Status::ok() : added.status();
    }
    const int id = **firma;
    auto has = book.hasPrice(id, datum);
    if (!has) return has.status();
    if (*has) {
        Q_TRY(book.writePrice(id, datum, q.price));
        ++report.counts.booked;
        return Status::ok();
    }
    auto implausible = listIfImplausible(book, id, q, entry, report);
    if (!implausible) return implausible.status();
    if (*implausible) return Status::ok();
    Q_TRY(book.writePrice(id, datum, q.price));
    if (q.volume != 0) Q_TRY(book.writeVolume(id, datum, q.volume));
    ++report.counts.booked;
    return Status::ok();
}

}  // namespace

ReadReport bookDailyFile(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress) {
    ReadReport report;
    report.source = file;
    auto lines = readTextLinesAnyEncoding(file);
    if (!lines) {
        report.status = lines.status();
        return report;
    }
    QuoteBook book(store, bookingRules(settings, dailyStationColumn(settings.kursSender)), hooks);
    report.status = book.open();
    QDate datum = today();
    const qint64 total = lines->size();
    for (qint64 i = 0; i < total && report.status; ++i) {
        if (progress.cancelRequested()) {
            report.status = Status::cancelled(QStringLiteral("Einlesen abgebrochen"));
            break;
        }
        ++report.counts.lines;
        const ParsedLine line = parseDailyLine((*lines)[i]);
        if (line.kind == LineKind::Date) {
            datum = line.date;
            continue;
        }
        if (line.kind != LineKind::Quote) {
            ++report.counts.skipped;
            continue;
        }
        if (line.quote.date) datum = *line.quote.date;
        progress.step(formatDate(datum) + QStringLiteral("  ") + line.quote.name + QStringLiteral("  ") + line.quote.priceText, i, total);
        report.status = bookQuote(book, line.quote, datum, settings.alle, report);
    }
    // Only a file read to its end goes: its unmatched and implausible quotes stand
    // in the protocol by now, and nothing of it is left to book.
    if (report.status) {
        report.fileDeleted = QFile::remove(file);
        if (!report.fileDeleted)
            report.notes << QStringLiteral("Die Datei %1 konnte nicht gelöscht werden").arg(file);
    }
    if (Status written = report.protocol.write(settings.workDir); !written && report.status) report.status = written;
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
