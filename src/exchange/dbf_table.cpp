#include "exchange/dbf_table.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QFile>
#include <QtEndian>

namespace q {

namespace {

constexpr int kHeader = 32;      // the file header and each field descriptor
constexpr char kEndOfFields = 0x0D;

Status corrupt(const QString& path) {
    return Status::corrupt(QStringLiteral("Die Datei %1 ist beschädigt oder keine dBASE-Tabelle").arg(path));
}

}  // namespace

Result<DbfTable> DbfTable::read(const QString& path) {
    QFile f(path);
    if (!f.exists()) return Status::notFound(QStringLiteral("Die Datei %1 gibt es nicht").arg(path));
    if (!f.open(QIODevice::ReadOnly)) return Status::io(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(path, f.errorString()));
    DbfTable t;
    t.m_bytes = f.readAll();
    const QByteArray& b = t.m_bytes;
    if (b.size() < kHeader + 1) return corrupt(path);
    const auto* u = reinterpret_cast<const uchar*>(b.constData());
    t.m_count = qFromLittleEndian<quint32>(u + 4);
    t.m_headerSize = qFromLittleEndian<quint16>(u + 8);
    t.m_recordSize = qFromLittleEndian<quint16>(u + 10);
    if (t.m_headerSize <= kHeader || t.m_headerSize > b.size() || t.m_recordSize < 1) return corrupt(path);
    // The deletion flag takes the first byte of each record.
    int offset = 1;
    for (int at = kHeader; at + kHeader <= t.m_headerSize && b[at] != kEndOfFields; at += kHeader) {
        DbfField field;
        field.name = QString::fromLatin1(b.constData() + at, int(qstrnlen(b.constData() + at, 11))).trimmed();
        field.type = b[at + 11];
        field.size = u[at + 16];
        field.decimals = u[at + 17];
        t.m_fields.push_back(field);
        t.m_offsets.push_back(offset);
        offset += field.size;
    }
    if (t.m_fields.empty() || offset > t.m_recordSize) return corrupt(path);
    // A file cut short keeps the records it holds whole.
    t.m_count = std::min<qint64>(t.m_count, (b.size() - t.m_headerSize) / t.m_recordSize);
    return t;
}

int DbfTable::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QVariant DbfTable::decode(const DbfField& field, const char* data) const {
    const QByteArray raw(data, field.size);
    if (field.type == 'I') return field.size == 4 ? QVariant(qFromLittleEndian<qint32>(data)) : QVariant();
    const QString text = fromWindows1252(raw).trimmed();
    if (text.isEmpty()) return {};
    switch (field.type) {
    case 'N':
    case 'F': {
        bool ok = false;
        const double v = text.toDouble(&ok);
        return ok ? QVariant(v) : QVariant();
    }
    case 'D': {
        const QDate d = QDate::fromString(text, QStringLiteral("yyyyMMdd"));
        return d.isValid() ? QVariant(dayNumber(d)) : QVariant();
    }
    case 'L': return QVariant(QStringLiteral("YyTt").contains(text[0]));
    default: return text;
    }
}

void DbfTable::forEach(const std::function<bool(const QVariantList&)>& visit) const {
    for (qint64 r = 0; r < m_count; ++r) {
        const char* rec = m_bytes.constData() + m_headerSize + r * m_recordSize;
        if (rec[0] == '*') continue;
        QVariantList values;
        for (size_t i = 0; i < m_fields.size(); ++i) values << decode(m_fields[i], rec + m_offsets[i]);
        if (!visit(values)) return;
    }
}

}  // namespace q
