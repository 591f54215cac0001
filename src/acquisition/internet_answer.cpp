#include "acquisition/internet_answer.h"

#include "base/fields.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace q {

namespace {

Status reason(const QString& text) { return Status::invalid(text); }

Result<QString> pickCsv(const QByteArray& body, const QString& column) {
    QStringList lines;
    for (const QString& l : splitLines(decodeText(body)))
        if (!l.trimmed().isEmpty()) lines << l;
    if (lines.isEmpty()) return reason(QStringLiteral("leere Antwort"));
    const QString& header = lines.first();
    const QChar sep = header.count(QLatin1Char(';')) > header.count(QLatin1Char(',')) ? QLatin1Char(';') : QLatin1Char(',');
    bool numbered = false;
    int index = column.toInt(&numbered) - 1;
    if (!numbered) {
        const QStringList names = splitFields(header, sep);
        index = -1;
        for (int i = 0; i < names.size(); ++i)
            if (unquoted(names[i]).compare(column, Qt::CaseInsensitive) == 0) index = i;
        if (index < 0) return reason(QStringLiteral("Spalte %1 fehlt").arg(column));
        if (lines.size() < 2) return reason(QStringLiteral("keine Zeile unter der Kopfzeile"));
    }
    const QStringList row = splitFields(lines.last(), sep);
    if (index < 0 || index >= row.size()) return reason(QStringLiteral("Spalte %1 fehlt").arg(column));
    return unquoted(row[index]);
}

Result<QString> pickJson(const QByteArray& body, const QString& path) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) return reason(QStringLiteral("JSON fehlerhaft: %1").arg(error.errorString()));
    QJsonValue v = doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    static const QRegularExpression step(QStringLiteral("([^.\\[\\]]+)|\\[(\\d+)\\]"));
    for (auto it = step.globalMatch(path); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedLength(1) > 0) v = v.toObject().value(m.captured(1));
        else v = v.toArray().at(m.captured(2).toInt());
        if (v.isUndefined() || v.isNull()) return reason(QStringLiteral("kein Wert unter %1").arg(path));
    }
    if (v.isDouble()) return QString::number(v.toDouble(), 'g', 17);
    if (v.isString()) return v.toString().trimmed();
    return reason(QStringLiteral("kein Wert unter %1").arg(path));
}

Result<QString> pickRegex(const QByteArray& body, const QString& pattern) {
    const QRegularExpression re(pattern);
    if (!re.isValid()) return reason(QStringLiteral("Suchmuster fehlerhaft: %1").arg(re.errorString()));
    const auto m = re.match(decodeText(body));
    if (!m.hasMatch() || m.lastCapturedIndex() < 1) return reason(QStringLiteral("kein Treffer für %1").arg(pattern));
    return m.captured(1).trimmed();
}

// A number in the answer's own decimal mark: "1,234.56" with ".", "1.234,56" with ",".
std::optional<double> answerNumber(QString text, QChar dezimal) {
    text.remove(QLatin1Char(' ')).remove(QChar(0x00A0));
    if (dezimal == QLatin1Char(',')) return parsePriceText(text);
    text.remove(QLatin1Char(','));
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

std::optional<QDate> answerDate(const QString& text) {
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    if (iso.isValid()) return iso.date();
    const QDate isoDay = QDate::fromString(text.left(10), Qt::ISODate);
    if (isoDay.isValid()) return isoDay;
    return parseDate(text);
}

std::optional<QTime> answerTime(const QString& text) {
    const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
    if (iso.isValid()) return iso.time();
    return parseTime(text);
}

}  // namespace

Result<InternetRequest> internetRequest(const InternetSecurity& s, const InternetSettings& settings) {
    const int bar = s.Internet.indexOf(QStringLiteral(" | "));
    const QString field = (bar >= 0 ? s.Internet.left(bar) : s.Internet).trimmed();
    InternetRequest r;
    r.kursPicker = bar >= 0 ? s.Internet.mid(bar + 3).trimmed() : settings.kurs;
    const QString lower = field.toLower();
    if (lower.startsWith(QLatin1String("http://")) || lower.startsWith(QLatin1String("https://"))) {
        QString text = field;
        for (const auto& [name, value] : {std::pair{"[Firma]", QString::number(s.Firma)}, std::pair{"[Kennung]", s.Kennung},
                                          std::pair{"[ISIN]", s.ISIN}, std::pair{"[Ticker]", s.Ticker}})
            text.replace(QLatin1String(name), QString::fromLatin1(QUrl::toPercentEncoding(value)));
        r.url = QUrl(text);
        return r;
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (scheme.match(field).hasMatch() && !field.contains(QLatin1Char(' ')))
        return Status::invalid(QStringLiteral("Nur http- und https-Adressen werden abgerufen: %1").arg(field));
    QString query = field;
    for (const QString& id : {s.Kennung, s.ISIN, s.Ticker})
        if (query.isEmpty()) query = id.trimmed();
    if (query.isEmpty()) return Status::notFound(s.FirmenName + QStringLiteral(" hat keine Kennung"));
    if (settings.url.trimmed().isEmpty()) return Status::invalid(QStringLiteral("Keine Internet-Adresse eingestellt (Einstellung Internet/URL)"));
    QString text = settings.url.trimmed();
    for (const auto& [name, value] : {std::pair{"[Firma]", QString::number(s.Firma)}, std::pair{"[Kennung]", s.Kennung},
                                      std::pair{"[ISIN]", s.ISIN}, std::pair{"[Ticker]", s.Ticker}, std::pair{"[Internet]", query}})
        text.replace(QLatin1String(name), QString::fromLatin1(QUrl::toPercentEncoding(value)));
    r.url = QUrl(text);
    const QString templScheme = r.url.scheme().toLower();
    if (templScheme != QLatin1String("http") && templScheme != QLatin1String("https"))
        return Status::invalid(QStringLiteral("Nur http- und https-Adressen werden abgerufen: %1").arg(text));
    return r;
}

Result<QString> pickText(const QByteArray& body, const QString& picker) {
    const int colon = picker.indexOf(QLatin1Char(':'));
    const QString kind = picker.left(colon).trimmed().toLower();
    const QString what = picker.mid(colon + 1).trimmed();
    if (colon > 0 && kind == QLatin1String("csv")) return pickCsv(body, what);
    if (colon > 0 && kind == QLatin1String("json")) return pickJson(body, what);
    if (colon > 0 && kind == QLatin1String("text")) return pickRegex(body, picker.mid(colon + 1));
    return reason(QStringLiteral("unbekannte Angabe %1 (csv:, json: oder text:)").arg(picker));
}

Result<PickedQuote> pickQuote(const QByteArray& body, const QString& kursPicker, const InternetSettings& settings) {
    auto kursText = pickText(body, kursPicker);
    if (!kursText) return kursText.status();
    const auto kurs = answerNumber(*kursText, settings.dezimalzeichen);
    // "NaN" and "Infinity" convert, yet are no price.
    if (kurs && !std::isfinite(*kurs)) return reason(QStringLiteral("keine Zahl: %1").arg(*kursText));
    if (!kurs || *kurs <= 0) return reason(QStringLiteral("kein Kurs: %1").arg(*kursText));
    PickedQuote out;
    out.kurs = *kurs;
    if (!settings.datum.isEmpty()) {
        auto t = pickText(body, settings.datum);
        if (!t) return t.status();
        out.datum = answerDate(*t);
        if (!out.datum) return reason(QStringLiteral("kein Datum: %1").arg(*t));
    }
    if (!settings.zeit.isEmpty()) {
        auto t = pickText(body, settings.zeit);
        if (!t) return t.status();
        out.zeit = answerTime(*t);
        if (!out.zeit) return reason(QStringLiteral("keine Zeit: %1").arg(*t));
    }
    if (!settings.volumen.isEmpty()) {
        auto t = pickText(body, settings.volumen);
        if (t) {
            const auto v = answerNumber(*t, settings.dezimalzeichen);
            out.volumen = v && *v > 0 ? qRound64(*v) : 0;
        }
    }
    return out;
}

}  // namespace q
