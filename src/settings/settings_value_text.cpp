#include "settings/settings_value_text.h"

#include <QLocale>

namespace q {

SettingValue SettingValue::text(const QString& value) { return {ValueType::Text, value}; }
SettingValue SettingValue::integer(int value) { return {ValueType::Integer, value}; }
SettingValue SettingValue::truth(bool value) { return {ValueType::Bool, value}; }
SettingValue SettingValue::number(double value) { return {ValueType::Double, value}; }
SettingValue SettingValue::dateTime(double dayNumber) { return {ValueType::DateTime, dayNumber}; }
SettingValue SettingValue::bytes(const QByteArray& value) { return {ValueType::Bytes, value}; }

namespace {

const QLatin1String kDoubleTag("double:");
const QLatin1String kDateTag("date:");
const QLatin1String kHexTag("hex:");

// Shortest text that reads back as the same double; always C locale.
QString formatDouble(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

QString quoteText(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            // Other control characters would make the line unreadable in an editor.
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// `quoted` starts with '"'; the closing quote must end it.
std::optional<QString> unquoteText(QStringView quoted) {
    QString out;
    qsizetype i = 1;
    while (i < quoted.size()) {
        const QChar c = quoted[i];
        if (c == QLatin1Char('"')) return i == quoted.size() - 1 ? std::optional<QString>(out) : std::nullopt;
        if (c != QLatin1Char('\\')) {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= quoted.size()) return std::nullopt;
        const QChar e = quoted[i + 1];
        i += 2;
        switch (e.unicode()) {
        case '\\': out += QLatin1Char('\\'); break;
        case '"': out += QLatin1Char('"'); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'u': {
            if (i + 4 > quoted.size()) return std::nullopt;
            bool ok = false;
            const ushort code = quoted.mid(i, 4).toUShort(&ok, 16);
            if (!ok) return std::nullopt;
            out += QChar(code);
            i += 4;
            break;
        }
        default: return std::nullopt;
        }
    }
    return std::nullopt;
}

bool isIntegerText(QStringView text) {
    qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (start >= text.size()) return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')) return false;
    return true;
}

bool isHexText(QStringView text) {
    if (text.size() % 2 != 0) return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F'))) return false;
    }
    return true;
}

}  // namespace

std::optional<SettingValue> parseSettingValue(QStringView text) {
    if (text.startsWith(QLatin1Char('"'))) {
        auto unquoted = unquoteText(text);
        if (!unquoted) return std::nullopt;
        return SettingValue::text(*unquoted);
    }
    if (isIntegerText(text)) {
        bool ok = false;
        const int value = text.toInt(&ok);
        // Beyond 32 bits it is no registry number; keep the digits as text.
        return ok ? SettingValue::integer(value) : SettingValue::text(text.toString());
    }
    const auto tagged = [&](QLatin1String tag) { return text.startsWith(tag, Qt::CaseInsensitive); };
    if (tagged(kDoubleTag) || tagged(kDateTag)) {
        const bool isDate = tagged(kDateTag);
        bool ok = false;
        const double value = text.mid(isDate ? kDateTag.size() : kDoubleTag.size()).trimmed().toDouble(&ok);
        if (!ok) return std::nullopt;
        return isDate ? SettingValue::dateTime(value) : SettingValue::number(value);
    }
    if (tagged(kHexTag)) {
        const QStringView hex = text.mid(kHexTag.size()).trimmed();
        if (!isHexText(hex)) return std::nullopt;
        return SettingValue::bytes(QByteArray::fromHex(hex.toLatin1()));
    }
    return SettingValue::text(text.toString());
}

QString formatSettingValue(const SettingValue& v) {
    switch (v.type) {
    case ValueType::Text: return quoteText(v.data.toString());
    case ValueType::Integer: return QString::number(v.data.toInt());
    case ValueType::Bool: return v.data.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ValueType::Double: return kDoubleTag + formatDouble(v.data.toDouble());
    case ValueType::DateTime: return kDateTag + formatDouble(v.data.toDouble());
    case ValueType::Bytes: return kHexTag + QString::fromLatin1(v.data.toByteArray().toHex());
    }
    return {};
}

std::optional<SettingValue> convertValue(const SettingValue& v, ValueType type) {
    if (v.type == type) return v;
    switch (type) {
    case ValueType::Integer:
        if (v.type == ValueType::Bool) return SettingValue::integer(v.data.toBool() ? 1 : 0);
        break;
    case ValueType::Bool:
        if (v.type == ValueType::Integer) return SettingValue::truth(v.data.toInt() != 0);
        break;
    case ValueType::Double:
        if (v.type == ValueType::DateTime || v.type == ValueType::Integer)
            return SettingValue::number(v.data.toDouble());
        break;
    case ValueType::DateTime:
        if (v.type == ValueType::Double || v.type == ValueType::Integer)
            return SettingValue::dateTime(v.data.toDouble());
        break;
    case ValueType::Text:
    case ValueType::Bytes: break;
    }
    return std::nullopt;
}

}  // namespace q
