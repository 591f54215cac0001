#include "base/formats.h"

#include <QLocale>
#include <QRegularExpression>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace q {

namespace {
const QDate kDayZero(1899, 12, 30);
}

int dayNumber(const QDate& date) { return static_cast<int>(kDayZero.daysTo(date)); }

QDate dateFromDayNumber(double number) {
    return kDayZero.addDays(static_cast<qint64>(std::floor(number)));
}

double timestampNumber(const QDateTime& dateTime) {
    const QTime t = dateTime.time();
    const double fraction = (t.msecsSinceStartOfDay()) / 86400000.0;
    return dayNumber(dateTime.date()) + fraction;
}

QDateTime dateTimeFromNumber(double number) {
    const double whole = std::floor(number);
    // Rounded to the millisecond: fractions of a day are rarely exact in binary.
    const auto msecs = static_cast<int>(std::llround((number - whole) * 86400000.0));
    return QDateTime(dateFromDayNumber(whole), QTime(0, 0)).addMSecs(msecs);
}

QString formatDate(const QDate& date) {
    if (!date.isValid()) return QString();
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (y < 0 || y > 9999) return date.toString(QStringLiteral("dd.MM.yyyy"));
    // Written by hand: lists and exports format a date per line, and the locale's
    // formatter costs more than the rest of such a line.
    const QChar text[10] = {QChar(u'0' + d / 10), QChar(u'0' + d % 10), QChar(u'.'), QChar(u'0' + m / 10), QChar(u'0' + m % 10), QChar(u'.'),
                            QChar(u'0' + y / 1000), QChar(u'0' + y / 100 % 10), QChar(u'0' + y / 10 % 10), QChar(u'0' + y % 10)};
    return QString(text, 10);
}

QString formatTime(const QTime& time) { return time.toString(QStringLiteral("hh:mm")); }

QString formatDateTime(const QDateTime& dateTime) {
    return formatDate(dateTime.date()) + QLatin1Char(' ') + formatTime(dateTime.time());
}

std::optional<QDate> parseDate(const QString& text) {
    // "dd.mm.yyyy", the form of nearly every line a file brings, read without the expression.
    if (text.size() == 10 && text[2] == QLatin1Char('.') && text[5] == QLatin1Char('.')) {
        int digits[8];
        int n = 0;
        for (int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9') break;
            digits[n++] = c - u'0';
        }
        if (n == 8) {
            const QDate d(digits[4] * 1000 + digits[5] * 100 + digits[6] * 10 + digits[7], digits[2] * 10 + digits[3], digits[0] * 10 + digits[1]);
            if (!d.isValid()) return std::nullopt;
            return d;
        }
    }
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) year += year < 50 ? 2000 : 1900;
    const QDate d(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::optional<QTime> parseTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    if (!t.isValid()) return std::nullopt;
    return t;
}

std::optional<double> parseNumber(const QString& text) {
    QString t = text.trimmed();
    if (t.count(QLatin1Char(',')) + t.count(QLatin1Char('.')) > 1) return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QLocale c = QLocale::c();
    bool ok = false;
    const double v = c.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

namespace {

// "[-]digits[.digits]" read exactly; nullopt for any other form.
std::optional<double> plainDecimal(QStringView text) {
    constexpr qsizetype kMax = 40;
    if (text.size() > kMax) return std::nullopt;
    char buf[kMax];
    qsizetype n = 0;
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        const bool digit = u >= u'0' && u <= u'9';
        const bool sign = u == u'-' && i == 0;
        // One point, with a digit on either side.
        const bool decimalPoint = u == u'.' && !point && i > (text[0] == u'-' ? 1 : 0) && i + 1 < text.size();
        if (!digit && !sign && !decimalPoint) return std::nullopt;
        point = point || decimalPoint;
        buf[n++] = static_cast<char>(u);
    }
    double v = 0;
    const auto [last, error] = std::from_chars(buf, buf + n, v);
    if (error != std::errc() || last != buf + n || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

std::optional<double> parseAmount(const QString& text) {
    QString t = text.trimmed();
    t.remove(QLatin1Char('.'));
    return parseNumber(t);
}

std::optional<double> parsePriceText(const QString& text) {
    // Normalised in a buffer on the stack: an import reads one price per line.
    QVarLengthArray<char16_t, 48> t;
    int commas = 0;
    for (const QChar c : QStringView(text).trimmed()) {
        char16_t u = c.unicode();
        if (u == u',' && commas < 2) {
            u = u'.';
            ++commas;
        }
        t.append(u);
    }
    for (;;) {
        const auto dot = std::find(t.begin(), t.end(), u'.');
        if (dot == t.end() || t.end() - dot - 1 <= 4) break;
        t.erase(dot);
    }
    const QStringView normalised(t.data(), t.size());
    // Most prices are plain digits, read without the locale.
    if (const auto plain = plainDecimal(normalised)) return plain;
    // Signs, exponents and the other forms the C locale reads.
    static const QLocale c = QLocale::c();
    bool ok = false;
    const double v = c.toDouble(normalised, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

double roundHalfEven(double value, int decimals) {
    const double scale = powerOfTen(decimals);
    const double scaled = value * scale;
    const double floor = std::floor(scaled);
    const double diff = scaled - floor;
    // A value written with one more decimal 5 lands a few ulps off the half in
    // binary; treat anything that close as the tie it stands for.
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(scaled));
    double rounded;
    if (std::fabs(diff - 0.5) <= tolerance)
        rounded = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
    else
        rounded = std::round(scaled);
    return rounded / scale;
}

double percentChange(double newValue, double oldValue) {
    if (oldValue == 0.0) return 0.0;
    return newValue * 100.0 / oldValue - 100.0;
}

QString formatAmount(double value, int decimals) {
    static const QLocale german(QLocale::German, QLocale::Germany);
    const double r = roundHalfEven(value, decimals);
    // -0,00 reads as a loss that is not there.
    return german.toString(r == 0.0 ? 0.0 : r, 'f', decimals);
}

QString formatMoney(double value, int decimals, const QString& symbol) {
    const QString amount = formatAmount(value, decimals);
    return symbol.isEmpty() ? amount : amount + QLatin1Char(' ') + symbol;
}

QString formatGeneral(double value) {
    static const QLocale german = [] {
        QLocale l(QLocale::German, QLocale::Germany);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    if (!std::isfinite(value)) return QStringLiteral("0");
    return german.toString(value == 0.0 ? 0.0 : value, 'g', 15);
}

QString formatSignificant(double value, int precision, int decimals, bool grouped) {
    if (!std::isfinite(value)) value = 0.0;
    const double magnitude = std::fabs(value);
    const int whole = magnitude >= 1.0 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 0;
    const int places = std::clamp(precision - whole, 0, decimals);
    const double rounded = roundHalfEven(value, places);
    if (grouped) return formatAmount(rounded, decimals);
    static const QLocale plain = [] {
        QLocale l(QLocale::German, QLocale::Germany);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return plain.toString(rounded == 0.0 ? 0.0 : rounded, 'f', decimals);
}

}  // namespace q
