#include "base/fields.h"

namespace q {

QStringList splitFields(const QString& line, QChar separator) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) quoted = !quoted;
        if (c == separator && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

QString unquoted(QString field) {
    field = field.trimmed();
    if (field.size() >= 2 && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"'))) field = field.mid(1, field.size() - 2);
    return field.trimmed();
}

}  // namespace q
