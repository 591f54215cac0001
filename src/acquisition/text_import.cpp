#include "acquisition/text_import.h"

#include "acquisition/quote_line.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QFile>

#include <algorithm>

namespace q {

namespace {

// Lines booked in one transaction: about a twentieth of a second of work, so that
// companion programs wait only briefly for the tables, while the syncs of the
// commits stay a small part of a long file.
constexpr int kLinesPerBatch = 10000;

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

// The fields at "," outside double quotes, so that a quoted "61,50" stays one field.
QStringList commaFields(const QString& line) {
    QStringList fields(QString{});
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) quoted = !quoted;
        if (c == QLatin1Char(',') && !quoted) fields << QString();
        else fields.last() += c;
    }
    return fields;
}

std::optional<InfobeatLine> parseInfobeatLine(const QString& raw) {
    const QStringList fields = commaFields(raw.left(kInfobeatLineLength));
    if (fields.size() < 3) return std::nullopt;
    auto unquoted = [](QString f) {
        f = f.trimmed();
        if (f.size() >= 2 && f.startsWith(QLatin1Char('"')) && f.endsWith(QLatin1Char('"'))) f = f.mid(1, f.size() - 2);
        return f.trimmed();
    };
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

ReadReport runTextFile(const QString& file, QuoteBook& book, const QString& workDir, Progress& progress, const TextLineStep& line) {
    ReadReport report;
    report.source = file;
    auto lines = readTextLinesAnyEncoding(file);
    if (!lines) {
        report.status = lines.status();
        return report;
    }
    report.status = book.open();
    if (report.status) report.status = book.beginBatch();
    const qint64 total = lines->size();
    for (qint64 i = 0; i < total && report.status; ++i) {
        if (isBlank((*lines)[i])) continue;
        if (progress.cancelRequested()) {
            report.status = Status::cancelled(QStringLiteral("Einlesen abgebrochen"));
            break;
        }
        ++report.counts.lines;
        report.status = line((*lines)[i], i, total, report);
        if (report.status && report.counts.lines % kLinesPerBatch == 0) {
            report.status = book.commitBatch();
            if (report.status) report.status = book.beginBatch();
        }
    }
    // What was booked before a stop stays booked; a failed batch is rolled back.
    if (report.status || report.status.category() == Category::Cancelled)
        if (Status committed = book.commitBatch(); !committed) report.status = committed;
    if (Status written = report.protocol.write(workDir); !written && report.status) report.status = written;
    return report;
}

ReadReport importPriceText(Store& store, const QString& file, TextLayout layout, const ReadingSettings& settings, ReadingHooks& hooks,
                           Progress& progress) {
    // The plain list names securities as the first station does, whatever the daily station.
    QuoteBook book(store, bookingRules(settings, kZdf), hooks);
    QDate datum = today();
    return runTextFile(file, book, settings.workDir, progress, [&](const QString& text, qint64 i, qint64 total, ReadReport& report) {
        if (text.size() > kTextLineLength) {
            ++report.counts.skipped;
            return Status::ok();
        }
        QString kennung;
        const ParsedLine line =
            layout == TextLayout::Identifiers ? parseIdentifierLine(text, &kennung) : parseDailyLine(text, NameBlanks::Keep);
        if (line.kind == LineKind::Date) {
            datum = line.date;
            return Status::ok();
        }
        if (line.kind != LineKind::Quote) {
            ++report.counts.skipped;
            return Status::ok();
        }
        // The name as written: "BETA " is not the security "BETA".
        const QuoteLine& quote = line.quote;
        if (quote.date) datum = *quote.date;
        if (i % kStepLines == 0) progress.step(formatDate(datum) + QStringLiteral("  ") + quote.name + QStringLiteral("  ") + quote.priceText, i, total);
        auto firma = layout == TextLayout::Identifiers ? book.matchKennung(kennung) : book.match(quote.name);
        return firma ? bookDailyQuote(book, quote, *firma, datum, settings.alle, report, kennung) : firma.status();
    });
}

ReadReport importInfobeat(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress) {
    QuoteBook book(store, bookingRules(settings, kZdf), hooks);
    return runTextFile(file, book, settings.workDir, progress, [&](const QString& text, qint64 i, qint64 total, ReadReport& report) -> Status {
        const auto line = parseInfobeatLine(text);
        if (!line) {
            ++report.counts.skipped;
            return Status::ok();
        }
        if (i % kStepLines == 0) progress.step(formatDate(line->datum) + QStringLiteral("  ") + line->kennung + QStringLiteral("  ") + line->priceText, i, total);
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
    if (!report.status || !QFile::exists(report.source)) return false;
    if (ui.ask(QStringLiteral("Soll die Textdatei gelöscht werden?"), report.source) != Answer::Yes) return false;
    if (!QFile::remove(report.source)) return Status::io(QStringLiteral("Die Datei %1 konnte nicht gelöscht werden").arg(report.source));
    return true;
}

}  // namespace q
