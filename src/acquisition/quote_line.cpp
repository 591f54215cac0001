#include "acquisition/quote_line.h"

#include "base/formats.h"

namespace q {

namespace {

bool isDateField(QStringView field) {
    if (field.size() < 6) return false;
    const QChar a = field[2];
    const QChar b = field[5];
    return (a == QLatin1Char('.') && b == QLatin1Char('.')) || (a == QLatin1Char('/') && b == QLatin1Char('/'));
}

// Day numbers count from 30.12.1899; a date on or before it is no quote date.
bool positiveDate(const QDate& d) { return d.isValid() && dayNumber(d) > 0; }

std::optional<QDate> dateOfField(const QString& field) {
    QString t = field.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const int blank = t.indexOf(QLatin1Char(' '));
    // Protocol lines carry "dd.mm.yyyy hh:nn": the date is the part before the blank.
    if (blank >= 0) t.truncate(blank);
    t.replace(QLatin1Char('/'), QLatin1Char('.'));
    const auto d = parseDate(t);
    if (!d || !positiveDate(*d)) return std::nullopt;
    return d;
}

// "hh:mm" at the start of a field: hours 0 to 23, minutes 0 to 59.
std::optional<QTime> timeOfField(const QString& field) {
    const QString t = field.trimmed();
    if (t.size() < 5 || t[2] != QLatin1Char(':')) return std::nullopt;
    bool okH = false;
    bool okM = false;
    const int h = t.left(2).toInt(&okH);
    const int m = t.mid(3, 2).toInt(&okM);
    if (!okH || !okM || h < 0 || h > 23 || m < 0 || m > 59) return std::nullopt;
    return QTime(h, m);
}

// "dd.mm.[yyyy]" (or with "/"): day 1 to 31, month 1 to 12, the year of `today`
// when it is missing, two-digit years as 19xx/20xx.
std::optional<QDate> pageDateOfField(const QString& field, const QDate& today) {
    const QString t = field.trimmed();
    if (!isDateField(t)) return std::nullopt;
    bool okD = false;
    bool okM = false;
    const int d = t.left(2).toInt(&okD);
    const int m = t.mid(3, 2).toInt(&okM);
    if (!okD || !okM || d < 1 || d > 31 || m < 1 || m > 12) return std::nullopt;
    int y = today.year();
    QString yearText;
    for (int i = 6; i < t.size() && i < 10 && t[i].isDigit(); ++i) yearText += t[i];
    if (yearText.size() == 2) y = yearText.toInt() + (yearText.toInt() < 50 ? 2000 : 1900);
    else if (yearText.size() == 4) y = yearText.toInt();
    const QDate date(y, m, d);
    if (!positiveDate(date)) return std::nullopt;
    return date;
}

// Steps shared by both kinds of quote line: the "*" rule, name, price, volume, and
// the field after the price (date or time, returned for the caller to read).
std::optional<QuoteLine> cutQuote(const QString& written, QChar separator, QString* afterPrice, NameBlanks blanks = NameBlanks::Chop) {
    // A "*" far enough into the line marks a footnote; it would glue to the name.
    const qsizetype star = written.indexOf(QLatin1Char('*'));
    QString blanked;
    if (star >= 5) {
        blanked = written;
        blanked[star] = QLatin1Char(' ');
    }
    const QString& line = star >= 5 ? blanked : written;
    const qsizetype sep = line.indexOf(separator);
    if (sep < 0) return std::nullopt;
    QuoteLine q;
    q.name = line.left(sep);
    if (blanks == NameBlanks::Chop)
        while (!q.name.isEmpty() && q.name.back().isSpace()) q.name.chop(1);
    // The three fields after the name, found without splitting the whole line.
    QStringView rest[3];
    qsizetype from = sep + 1;
    for (int i = 0; i < 3 && from <= line.size(); ++i) {
        qsizetype end = line.indexOf(separator, from);
        if (end < 0) end = line.size();
        rest[i] = QStringView(line).mid(from, end - from);
        from = end + 1;
    }
    q.priceText = rest[0].trimmed().toString();
    const auto price = parsePriceText(q.priceText);
    if (QStringView(q.name).trimmed().isEmpty() || !price || *price == 0.0) return std::nullopt;
    q.price = *price;
    bool ok = false;
    const qint64 volume = rest[2].trimmed().toLongLong(&ok);
    q.volume = ok && volume > 0 ? volume : 0;
    *afterPrice = rest[1].toString();
    return q;
}

}  // namespace

ParsedLine parseDailyLine(const QString& raw, NameBlanks blanks) {
    QString cut;
    const QString& line = raw.size() > kDailyLineLength ? (cut = raw.left(kDailyLineLength)) : raw;
    ParsedLine out;
    const QStringView first = QStringView(line).left(line.indexOf(QLatin1Char('\t')));
    if (isDateField(first)) {
        QString t = first.left(10).toString();
        t.replace(QLatin1Char('/'), QLatin1Char('.'));
        if (const auto d = parseDate(t); d && positiveDate(*d)) {
            out.kind = LineKind::Date;
            out.date = *d;
            return out;
        }
    }
    QString afterPrice;
    auto quote = cutQuote(line, QLatin1Char('\t'), &afterPrice, blanks);
    if (!quote) return out;
    quote->date = dateOfField(afterPrice);
    out.kind = LineKind::Quote;
    out.quote = std::move(*quote);
    return out;
}

ParsedLine parsePageLine(const QString& line, QChar separator, const QDate& today) {
    ParsedLine out;
    const QStringList fields = line.split(separator);
    if (const auto t = timeOfField(fields.value(0))) {
        out.kind = LineKind::Time;
        out.time = *t;
        return out;
    }
    if (const auto d = pageDateOfField(fields.value(0), today)) {
        out.kind = LineKind::Date;
        out.date = *d;
        out.time = timeOfField(fields.value(1));
        return out;
    }
    QString afterPrice;
    auto quote = cutQuote(line, separator, &afterPrice);
    if (!quote) return out;
    quote->name = quote->name.trimmed().toUpper();
    quote->time = timeOfField(afterPrice);
    out.kind = LineKind::Quote;
    out.quote = std::move(*quote);
    return out;
}

}  // namespace q
