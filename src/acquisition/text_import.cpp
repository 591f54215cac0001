#include "acquisition/text_import.h"

#include "acquisition/quote_line.h"
#include "base/clock.h"
#include "base/fields.h"
#include "base/formats.h"
#include "base/line_reader.h"
#include "base/text_files.h"

#include <QFile>

#include <algorithm>

namespace q {

namespace {

const QString kZdf = QStringLiteral("ZDF");

bool isBlank(QStringView line) {
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace(); });
}

// A line of the identifier layout: the identifier is the second field; without it
// the line reads as a daily line (name, price, date, volume).
ParsedLine parseIdentifierLine(const QString& line, QString* kennung) {
    QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < 3) return parseDailyLine(line, NameBlanks::Keep);
    *kennung = fields.takeAt(1).trimmed();
    ParsedLine parsed = parseDailyLine(fields.join(QLatin1Char('\t')), NameBlanks::Keep);
    if (parsed.kind == LineKind::Quote && kennung->isEmpty()) parsed.kind = LineKind::Skip;
    return parsed;
}

struct InfobeatLine {
    QString kennung;
    QString priceText;
    double price = 0;
    QDate datum;
};

std::optional<InfobeatLine> parseInfobeatLine(const QString& raw) {
    // A quoted "61,50" stays one field.
    const QStringList fields = splitFields(raw.left(kInfobeatLineLength), QLatin1Char(','));
    if (fields.size() < 3) return std::nullopt;
    InfobeatLine l;
    l.kennung = unquoted(fields[0]);
    l.priceText = unquoted(fields[1]);
    const auto price = parsePriceText(l.priceText);
    const auto datum = infobeatDate(unquoted(fields[2]));
    // A price of 0 is no quote: the daily route drops it too.
    if (l.kennung.isEmpty() || !price || *price == 0.0 || !datum) return std::nullopt;
    l.price = *price;
    l.datum = std::min(*datum, today());
    return l;
}

}  // namespace

std::optional<QDate> infobeatDate(const QString& field) {
    const QStringList parts = field.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3) return std::nullopt;
    bool okM = false;
    bool okD = false;
    bool okY = false;
    const int m = parts[0].trimmed().toInt(&okM);
    const int d = parts[1].trimmed().toInt(&okD);
    int y = parts[2].trimmed().toInt(&okY);
    if (!okM || !okD || !okY || y < 0) return std::nullopt;
    // Only a two-digit year lacks its century; a written century stays as it is.
    if (parts[2].trimmed().size() <= 2) y += y < 90 ? 2000 : 1900;
    const QDate date(y, m, d);
    if (!date.isValid() || dayNumber(date) <= 0) return std::nullopt;
    return date;
}

ReadReport runTextFile(const QString& file, QuoteBook& book, const QString& workDir, Progress& progress, const TextLineStep& line,
                       const TextBatchStep& prepare) {
    ReadReport report;
    report.source = file;
    LineReader reader;
    report.status = reader.open(file);
    if (!report.status) return report;
    report.status = book.open();
    std::vector<QString> batch;
    batch.reserve(kLinesPerBatch);
    qint64 index = 0;
    while (report.status) {
        // A companion program that books meanwhile waits for one batch at most
        // (readers never wait); the batch is large, because each commit, and the
        // date index kept up row by row once the table holds a first batch, cost
        // more the more often they come.
        batch.clear();
        while (batch.size() < size_t(kLinesPerBatch)) {
            auto next = reader.next();
            if (!next) break;
            batch.push_back(std::move(*next));
        }
        if (!reader.error()) {
            report.status = reader.error();
            break;
        }
        if (batch.empty()) break;
        // The batch's look-ups run inside its transaction: what they read stays true
        // until it commits, whatever other jobs write.
        report.status = book.beginBatch();
        if (report.status && prepare) report.status = prepare(batch);
        for (size_t i = 0; i < batch.size() && report.status; ++i, ++index) {
            if (isBlank(batch[i])) continue;
            if (progress.cancelRequested()) {
                report.status = Status::cancelled(QStringLiteral("Einlesen abgebrochen"));
                break;
            }
            ++report.counts.lines;
            report.status = line(batch[i], TextPlace{index, reader.position(), reader.size()}, report);
        }
        // What was booked before a stop stays booked; a failed batch is rolled back.
        if (report.status || report.status.category() == Category::Cancelled)
            if (Status committed = book.commitBatch(); !committed) report.status = committed;
    }
    if (report.protocol.leftOut > 0)
        report.notes << QStringLiteral("%1 weitere Zeilen stehen nicht im Protokoll").arg(report.protocol.leftOut);
    if (Status written = report.protocol.write(workDir); !written && report.status) report.status = written;
    return report;
}

ReadReport bookQuoteFile(QuoteBook& book, const QString& file, const QuoteFileRules& rules, const ReadingSettings& settings,
                         Progress& progress) {
    QDate datum = today();
    // Each batch is parsed and matched first, so that the last prices of all its
    // securities are read in one query; the booking then takes the parsed lines.
    struct Parsed {
        ParsedLine line;
        QString kennung;
        std::optional<int> firma;
        bool tooLong = false;
    };
    std::vector<Parsed> parsed;
    qint64 first = 0;  // index of the batch's first line
    qint64 seen = 0;
    auto match = [&](const Parsed& p) { return rules.identifiers ? book.matchKennung(p.kennung) : book.match(p.line.quote.name); };
    auto prepare = [&](const std::vector<QString>& lines) -> Status {
        first = seen;
        seen += qint64(lines.size());
        parsed.clear();
        parsed.reserve(lines.size());
        QList<int> firmen;
        for (size_t i = 0; i < lines.size(); ++i) {
            Parsed& p = parsed.emplace_back();
            if (rules.longestLine > 0 && lines[i].size() > rules.longestLine) {
                p.tooLong = true;
                continue;
            }
            p.line = rules.identifiers ? parseIdentifierLine(lines[i], &p.kennung) : parseDailyLine(lines[i], rules.blanks);
            if (p.line.kind != LineKind::Quote) continue;
            auto firma = match(p);
            if (!firma) return firma.status();
            p.firma = *firma;
            if (p.firma) firmen << *p.firma;
        }
        return book.prefetch(firmen);
    };
    return runTextFile(
        file, book, settings.workDir, progress,
        [&](const QString&, const TextPlace& at, ReadReport& report) {
            const Parsed& p = parsed[size_t(at.line - first)];
            if (p.tooLong) {
                ++report.counts.skipped;
                return Status::ok();
            }
            if (p.line.kind == LineKind::Date) {
                datum = p.line.date;
                return Status::ok();
            }
            if (p.line.kind != LineKind::Quote) {
                ++report.counts.skipped;
                return Status::ok();
            }
            const QuoteLine& quote = p.line.quote;
            if (quote.date) datum = *quote.date;
            if (at.stepDue())
                progress.step(formatDate(datum) + QStringLiteral("  ") + quote.name + QStringLiteral("  ") + quote.priceText, at.done, at.total);
            // A security taken up earlier in this batch was not there when the batch was matched.
            std::optional<int> firma = p.firma;
            if (!firma) {
                auto again = match(p);
                if (!again) return again.status();
                firma = *again;
            }
            return bookDailyQuote(book, quote, firma, datum, settings.alle, report, p.kennung);
        },
        prepare);
}

ReadReport importPriceText(Store& store, const QString& file, TextLayout layout, const ReadingSettings& settings, ReadingHooks& hooks,
                           Progress& progress) {
    // The plain list names securities as the first station does, whatever the daily station.
    QuoteBook book(store, bookingRules(settings, kZdf), hooks);
    // The name as written: "BETA " is not the security "BETA".
    return bookQuoteFile(book, file, {kTextLineLength, layout == TextLayout::Identifiers, NameBlanks::Keep}, settings, progress);
}

ReadReport importInfobeat(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress) {
    QuoteBook book(store, bookingRules(settings, kZdf), hooks);
    return runTextFile(file, book, settings.workDir, progress, [&](const QString& text, const TextPlace& at, ReadReport& report) -> Status {
        const auto line = parseInfobeatLine(text);
        if (!line) {
            ++report.counts.skipped;
            return Status::ok();
        }
        if (at.stepDue()) progress.step(formatDate(line->datum) + QStringLiteral("  ") + line->kennung + QStringLiteral("  ") + line->priceText, at.done, at.total);
        auto firma = book.matchKennung(line->kennung);
        if (!firma) return firma.status();
        const QuoteLine quote{line->kennung, line->priceText, line->price, line->datum, std::nullopt, 0};
        if (!firma->has_value()) {
            // Only the two tab-separated importers list unknown names (and rewrite
            // PNeue.txt); an unknown identifier here is taken up with `Alle` or left out.
            if (settings.alle) {
                auto added = book.takeUp(quote.name, line->datum, line->price, line->kennung);
                if (!added) return added.status();
                if (added->has_value()) {
                    ++report.counts.newSecurities;
                    ++report.counts.booked;
                    return Status::ok();
                }
            }
            ++report.counts.unmatched;
            return Status::ok();
        }
        if (listIfImpossible(quote, line->datum, {line->kennung, line->priceText, line->datum, QTime(), 0, std::nullopt, {}}, report))
            return Status::ok();
        auto last = book.lastPrice(**firma);
        if (!last) return last.status();
        if (last->has_value() && (*last)->datum >= line->datum) {
            ++report.counts.already;
            return Status::ok();
        }
        Q_TRY(book.writePrice(**firma, line->datum, line->price));
        ++report.counts.booked;
        return Status::ok();
    });
}

bool readAnyQuote(const ReadReport& report) {
    const ReadCounts& n = report.counts;
    return n.booked + n.unmatched + n.implausible + n.already > 0;
}

Result<bool> offerTextFileDeletion(const ReadReport& report, Interaction& ui) {
    // A file whose protocol is incomplete keeps the lines the protocol lacks.
    if (!report.status || report.protocol.leftOut > 0 || !QFile::exists(report.source)) return false;
    if (ui.ask(QStringLiteral("Soll die Textdatei gelöscht werden?"), report.source) != Answer::Yes) return false;
    if (!QFile::remove(report.source)) return Status::io(QStringLiteral("Die Datei %1 konnte nicht gelöscht werden").arg(report.source));
    return true;
}

}  // namespace q
