#include "store/layout.h"

#include <QRegularExpression>

namespace q {

QString Layout::keyIndexName() const {
    return primaryUnique || primaryFields.isEmpty() ? QString() : primaryName + QStringLiteral("Index");
}

int Layout::fieldIndex(const QString& name) const {
    // Callers mostly spell the name as the file does; that match is the cheap one.
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name) return static_cast<int>(i);
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

const Field* Layout::field(const QString& name) const {
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields[static_cast<size_t>(i)];
}

// The second word of each type gives SQLite its storage affinity: a date is a whole
// day number (INTEGER), a timestamp a day number with fraction (REAL).
QString sqlType(const Field& field) {
    switch (field.type) {
    case FieldType::Long: return QStringLiteral("INTEGER");
    case FieldType::Short: return QStringLiteral("SMALLINT");
    case FieldType::Alpha: return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case FieldType::Number: return QStringLiteral("DOUBLE");
    case FieldType::Money: return QStringLiteral("MONEY REAL");
    case FieldType::Logical: return QStringLiteral("BOOLEAN");
    case FieldType::Date: return QStringLiteral("DATE INTEGER");
    case FieldType::Timestamp: return QStringLiteral("TIMESTAMP REAL");
    case FieldType::Memo: return QStringLiteral("MEMO TEXT");
    }
    return QStringLiteral("DOUBLE");
}

FieldType fieldTypeOf(const QString& declaredType, int* size) {
    const QString t = declaredType.trimmed().toUpper();
    if (size) *size = 0;
    static const QRegularExpression varchar(QStringLiteral("^VARCHAR\\((\\d+)\\)$"));
    if (const auto m = varchar.match(t); m.hasMatch()) {
        if (size) *size = m.captured(1).toInt();
        return FieldType::Alpha;
    }
    if (t == QLatin1String("INTEGER")) return FieldType::Long;
    if (t == QLatin1String("SMALLINT")) return FieldType::Short;
    if (t == QLatin1String("MONEY REAL")) return FieldType::Money;
    if (t == QLatin1String("BOOLEAN")) return FieldType::Logical;
    if (t == QLatin1String("DATE INTEGER")) return FieldType::Date;
    if (t == QLatin1String("TIMESTAMP REAL")) return FieldType::Timestamp;
    if (t == QLatin1String("MEMO TEXT")) return FieldType::Memo;
    return FieldType::Number;
}

}  // namespace q
