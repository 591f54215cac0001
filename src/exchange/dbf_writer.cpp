#include "exchange/dbf_writer.h"

#include "base/text_files.h"

#include <QtEndian>

namespace q {

namespace {

constexpr int kHeader = 32;  // the file header and each field descriptor
constexpr char kEndOfFields = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr uchar kVersionIII = 0x03;  // dBASE III without memo file

Result<QByteArray> fieldText(const DbfField& field, const QVariant& value) {
    if (value.isNull()) return QByteArray(field.size, ' ');
    switch (field.type) {
    case 'D': {
        const QDate d = value.toDate();
        return d.isValid() ? d.toString(QStringLiteral("yyyyMMdd")).toLatin1() : QByteArray(field.size, ' ');
    }
    case 'N': {
        const QByteArray text = QByteArray::number(value.toDouble(), 'f', field.decimals);
        if (text.size() > field.size)
            return Status::invalid(QStringLiteral("Der Wert %1 passt nicht in das Feld %2").arg(QString::fromLatin1(text), field.name));
        return QByteArray(field.size - text.size(), ' ') + text;
    }
    default: {
        QByteArray text = toWindows1252(value.toString()).left(field.size);
        return text + QByteArray(field.size - text.size(), ' ');
    }
    }
}

}  // namespace

Result<QByteArray> dbfBytes(const std::vector<DbfField>& fields, const std::vector<QVariantList>& records, const QDate& written) {
    Q_ASSERT(!fields.empty() && fields.size() <= 128);
    int recordSize = 1;  // the deletion flag
    for (const DbfField& f : fields) {
        Q_ASSERT(f.name.size() <= 10 && f.size >= 1 && f.size <= 254);
        recordSize += f.size;
    }
    const int headerSize = kHeader + kHeader * int(fields.size()) + 1;
    QByteArray out(headerSize, '\0');
    auto* u = reinterpret_cast<uchar*>(out.data());
    u[0] = kVersionIII;
    u[1] = uchar(written.year() - 1900);
    u[2] = uchar(written.month());
    u[3] = uchar(written.day());
    qToLittleEndian<quint32>(quint32(records.size()), u + 4);
    qToLittleEndian<quint16>(quint16(headerSize), u + 8);
    qToLittleEndian<quint16>(quint16(recordSize), u + 10);
    for (size_t i = 0; i < fields.size(); ++i) {
        uchar* d = u + kHeader * (i + 1);
        const QByteArray name = fields[i].name.toLatin1().left(10);
        std::copy(name.begin(), name.end(), d);
        d[11] = uchar(fields[i].type);
        d[16] = uchar(fields[i].size);
        d[17] = uchar(fields[i].decimals);
    }
    out[headerSize - 1] = kEndOfFields;
    out.reserve(headerSize + recordSize * qsizetype(records.size()) + 1);
    for (const QVariantList& values : records) {
        out += ' ';  // not deleted
        for (size_t i = 0; i < fields.size(); ++i) {
            auto text = fieldText(fields[i], values.value(int(i)));
            if (!text) return text.status();
            out += *text;
        }
    }
    out += kEndOfFile;
    return out;
}

const std::vector<DbfField>& priceTableFields() {
    static const std::vector<DbfField> fields = {
        {QStringLiteral("Datum"), 'D', 8, 0},
        {QStringLiteral("Kurs"), 'N', 20, 8},
        {QStringLiteral("Volumen"), 'N', 11, 0},
    };
    return fields;
}

}  // namespace q
