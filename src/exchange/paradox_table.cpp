#include "exchange/paradox_table.h"

#include "base/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstring>
#include <optional>

extern "C" {
#include <paradox.h>
}

// Design notes. pxlib reads the header: fields, record size, block size, the first
// data block. The records themselves are read here, block by block along the chain
// of data blocks: pxlib finds a record by counting through all blocks before it,
// which makes reading a table of millions of prices take hours. A data block
// starts with 6 bytes: the next block's number, the previous block's number (both
// little-endian), and the bytes in use minus one record (signed; negative when the
// block is empty). Field values are big-endian with the sign bit flipped so that
// they sort as bytes; all bytes zero is a blank field. Memos are read here from the
// .MB file too: pxlib 0.6.8 overruns its stack when it opens one.

namespace q {

namespace {

// Days between 01.01.0001 (Paradox day 1 is that day) and our day 0, 30.12.1899.
constexpr int kParadoxDayOffset = 693594;
constexpr double kMillisecondsPerDay = 86400000.0;

ParadoxType typeOf(char t) {
    switch (t) {
    case pxfAlpha: return ParadoxType::Alpha;
    case pxfDate: return ParadoxType::Date;
    case pxfShort: return ParadoxType::Short;
    case pxfLong: return ParadoxType::Long;
    case pxfCurrency: return ParadoxType::Currency;
    case pxfNumber: return ParadoxType::Number;
    case pxfLogical: return ParadoxType::Logical;
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb: return ParadoxType::Memo;
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic: return ParadoxType::Blob;
    case pxfTime: return ParadoxType::Time;
    case pxfTimestamp: return ParadoxType::Timestamp;
    case pxfAutoInc: return ParadoxType::AutoInc;
    case pxfBCD: return ParadoxType::Bcd;
    case pxfBytes: return ParadoxType::Bytes;
    default: return ParadoxType::Other;
    }
}

quint64 bigEndian(const char* data, int bytes) {
    quint64 v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(data[i]);
    return v;
}

int littleEndian16(const char* data) {
    return static_cast<unsigned char>(data[0]) | (static_cast<unsigned char>(data[1]) << 8);
}

// The integer of a field of `bytes` bytes; nullopt when blank.
std::optional<qint64> integerOf(const char* data, int bytes) {
    const quint64 raw = bigEndian(data, bytes);
    if (raw == 0) return std::nullopt;
    const quint64 sign = quint64(1) << (bytes * 8 - 1);
    const quint64 flipped = raw ^ sign;
    // Back to two's complement of the field's width.
    return (flipped & sign) ? static_cast<qint64>(flipped) - static_cast<qint64>(sign << 1) : static_cast<qint64>(flipped);
}

// A double: positive values have the sign bit set, negative ones all bits inverted.
std::optional<double> doubleOf(const char* data) {
    quint64 raw = bigEndian(data, 8);
    if (raw == 0) return std::nullopt;
    const quint64 sign = quint64(1) << 63;
    raw = (raw & sign) ? (raw & ~sign) : ~raw;
    double d;
    std::memcpy(&d, &raw, sizeof d);
    return d;
}

quint32 littleEndian32(const char* data) {
    return static_cast<quint32>(littleEndian16(data)) | (static_cast<quint32>(littleEndian16(data + 2)) << 16);
}

// The fixed part of the header, checked before pxlib reads the file: pxlib follows
// the blocks of a table whose header does not fit the file, or that it takes for
// encrypted, for a very long time. Offsets as the Paradox header stores them.
Status checkHeader(const QString& path, const Status& damaged) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Status::io(QStringLiteral("Die Datei %1 kann nicht gelesen werden").arg(path));
    const QByteArray h = file.read(0x78);
    if (h.size() < 0x58) return damaged;
    const char* d = h.constData();
    const int recordSize = littleEndian16(d);
    const int headerSize = littleEndian16(d + 0x02);
    const int fileType = static_cast<unsigned char>(d[0x04]);
    const int blockKb = static_cast<unsigned char>(d[0x05]);
    const qint64 fileBlocks = littleEndian16(d + 0x0c);
    const bool table = fileType == pxfFileTypIndexDB || fileType == pxfFileTypNonIndexDB;
    if (recordSize <= 0 || headerSize < 0x58 || blockKb < 1 || blockKb > 32 || !table) return damaged;
    if (headerSize + fileBlocks * blockKb * 0x400 > file.size()) return damaged;
    // Tables of Paradox 4 and later keep the flag in the data header (and a fixed
    // marker where older ones keep it).
    const int version = static_cast<unsigned char>(d[0x39]);
    if (version >= 5 && h.size() < 0x60) return damaged;
    const bool encrypted = littleEndian32(d + (version >= 5 ? 0x5c : 0x25)) != 0;
    if (encrypted) return Status::invalid(QStringLiteral("Die Datei %1 ist verschlüsselt").arg(path));
    return Status::ok();
}

}  // namespace

struct ParadoxTable::Doc {
    pxdoc_t* px = nullptr;
    QStringList errors;  // what pxlib reported
    QFile file;
    QFile memo;          // the .MB file, when the table has memos
    ~Doc() {
        if (px) PX_delete(px);
    }
    static void collect(pxdoc_t*, int, const char* message, void* self) {
        static_cast<Doc*>(self)->errors << QString::fromLocal8Bit(message);
    }
};

ParadoxTable::~ParadoxTable() = default;

Result<std::unique_ptr<ParadoxTable>> ParadoxTable::open(const QString& path) {
    if (!QFileInfo::exists(path)) return Status::notFound(QStringLiteral("Die Datei %1 fehlt").arg(path));
    const Status damaged = Status::corrupt(QStringLiteral("Die Datei %1 ist beschädigt oder keine Paradox-Tabelle").arg(path));
    Q_TRY(checkHeader(path, damaged));
    std::unique_ptr<ParadoxTable> t(new ParadoxTable);
    t->m_path = path;
    t->m_doc = std::make_unique<Doc>();
    Doc& doc = *t->m_doc;
    doc.px = PX_new3(&Doc::collect, nullptr, nullptr, nullptr, &doc);
    if (!doc.px) return Status::internal(QStringLiteral("pxlib kann nicht gestartet werden"));
    if (PX_open_file(doc.px, QFile::encodeName(path).constData()) < 0) return damaged;
    const pxhead_t* head = doc.px->px_head;
    if (!head || (head->px_filetype != pxfFileTypIndexDB && head->px_filetype != pxfFileTypNonIndexDB)) return damaged;

    int offset = 0;
    bool memo = false;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t& f = head->px_fields[i];
        ParadoxField field;
        field.name = fromWindows1252(QByteArray(f.px_fname));
        field.type = typeOf(f.px_ftype);
        field.size = f.px_flen;
        memo = memo || field.type == ParadoxType::Memo || field.type == ParadoxType::Blob;
        t->m_fields.push_back(field);
        t->m_offsets.push_back(offset);
        offset += f.px_flen;
    }
    if (offset != head->px_recordsize || head->px_recordsize <= 0 || head->px_maxtablesize <= 0) return damaged;
    if (memo) {
        const QFileInfo info(path);
        doc.memo.setFileName(findFile(info.absolutePath(), info.completeBaseName() + QStringLiteral(".MB")));
        if (doc.memo.fileName().isEmpty() || !doc.memo.open(QIODevice::ReadOnly))
            t->m_problems << QStringLiteral("Memo-Datei %1.MB fehlt oder ist nicht lesbar").arg(info.completeBaseName());
    }
    doc.file.setFileName(path);
    if (!doc.file.open(QIODevice::ReadOnly)) return Status::io(QStringLiteral("Die Datei %1 kann nicht gelesen werden").arg(path));
    return t;
}

int ParadoxTable::fieldIndex(const QString& name) const {
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

qint64 ParadoxTable::recordCount() const { return m_doc->px->px_head->px_numrecords; }

QVariant ParadoxTable::decode(int i, const char* data) {
    const ParadoxField& f = m_fields[static_cast<size_t>(i)];
    switch (f.type) {
    case ParadoxType::Alpha: {
        const int length = static_cast<int>(strnlen(data, static_cast<size_t>(f.size)));
        if (length == 0) return QVariant();
        return fromWindows1252(QByteArray(data, length));
    }
    case ParadoxType::Short:
    case ParadoxType::Long:
    case ParadoxType::AutoInc: {
        auto v = integerOf(data, f.size);
        return v ? QVariant(*v) : QVariant();
    }
    case ParadoxType::Date: {
        auto v = integerOf(data, 4);
        return v ? QVariant(static_cast<int>(*v - kParadoxDayOffset)) : QVariant();
    }
    case ParadoxType::Time: {
        auto v = integerOf(data, 4);
        return v ? QVariant(*v / kMillisecondsPerDay) : QVariant();
    }
    case ParadoxType::Timestamp: {
        auto v = doubleOf(data);
        if (!v) return QVariant();
        // Whole days and the time of day apart: subtracting the offset from the
        // fraction of so large a number would cost its last digits.
        const double days = std::floor(*v / kMillisecondsPerDay);
        return QVariant(days - kParadoxDayOffset + (*v - days * kMillisecondsPerDay) / kMillisecondsPerDay);
    }
    case ParadoxType::Currency:
    case ParadoxType::Number: {
        auto v = doubleOf(data);
        return v ? QVariant(*v) : QVariant();
    }
    case ParadoxType::Logical: {
        const auto b = static_cast<unsigned char>(data[0]);
        if (b == 0) return QVariant();
        return QVariant((b & 0x7f) != 0);
    }
    case ParadoxType::Bcd: {
        char* text = nullptr;
        const int precision = m_doc->px->px_head->px_fields[i].px_fdc;
        if (PX_get_data_bcd(m_doc->px, reinterpret_cast<unsigned char*>(const_cast<char*>(data)), precision, &text) <= 0 || !text)
            return QVariant();
        // pxlib writes the decimal point of the C locale in effect.
        QString s = QString::fromLatin1(text).replace(QLatin1Char(','), QLatin1Char('.'));
        m_doc->px->free(m_doc->px, text);
        bool ok = false;
        const double d = s.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    case ParadoxType::Memo:
    case ParadoxType::Blob: {
        auto bytes = memoOf(data, f.size);
        if (!bytes) {
            m_problems << QStringLiteral("Datensatz %1: Feld %2 nicht lesbar").arg(m_record).arg(f.name);
            return f.type == ParadoxType::Memo ? QVariant(QStringLiteral("Musste entfernt werden")) : QVariant();
        }
        if (bytes->isNull()) return QVariant();
        if (f.type == ParadoxType::Blob) return *bytes;
        return fromWindows1252(*bytes);
    }
    case ParadoxType::Bytes: {
        const QByteArray raw(data, f.size);
        return raw.count('\0') == raw.size() ? QVariant() : QVariant(raw);
    }
    case ParadoxType::Other: return QVariant();
    }
    return QVariant();
}

std::optional<QByteArray> ParadoxTable::memoOf(const char* data, int size) {
    // The last 10 bytes of the field: where the memo is (its block's offset with the
    // entry number in the low byte), its length, a change count; little-endian. The
    // bytes before them hold the memo's beginning, all of a short one.
    const int leader = size - 10;
    const quint32 location = littleEndian32(data + leader);
    const qint64 length = littleEndian32(data + leader + 4);
    if (length == 0) return QByteArray();
    if (length <= leader) return QByteArray(data, static_cast<int>(length));
    QFile& mb = m_doc->memo;
    const qint64 block = location & 0xffffff00u;
    const int entry = static_cast<int>(location & 0xffu);
    if (!mb.isOpen() || block == 0 || !mb.seek(block)) return std::nullopt;
    const QByteArray head = mb.read(9);
    if (head.size() < 9) return std::nullopt;
    qint64 start = 0;
    if (head[0] == 2) {
        // A block of its own: type, block count, length, change count, then the memo.
        if (littleEndian32(head.constData() + 3) != length) return std::nullopt;
        start = block + 9;
    } else if (head[0] == 3) {
        // A shared block: a table of 5-byte entries from byte 12 on (the memo's
        // position in 16-byte steps, its length in 16-byte steps rounded up, a
        // change count, the bytes used of its last step).
        if (!mb.seek(block + 12 + entry * 5)) return std::nullopt;
        const QByteArray e = mb.read(5);
        if (e.size() < 5) return std::nullopt;
        const auto step = [&e](int i) { return static_cast<qint64>(static_cast<unsigned char>(e[i])); };
        if ((step(1) - 1) * 16 + step(4) != length) return std::nullopt;
        start = block + step(0) * 16;
    } else {
        return std::nullopt;
    }
    if (!mb.seek(start)) return std::nullopt;
    const QByteArray memo = mb.read(length);
    if (memo.size() != length) return std::nullopt;
    return memo;
}

Status ParadoxTable::forEach(const std::function<bool(const QVariantList&)>& visit) {
    const pxhead_t* head = m_doc->px->px_head;
    const qint64 blockSize = static_cast<qint64>(head->px_maxtablesize) * 0x400;
    const int recordSize = head->px_recordsize;
    QFile& file = m_doc->file;
    QByteArray block;
    QVariantList values;
    int number = static_cast<int>(head->px_firstblock);
    m_record = 0;
    // The chain may not run longer than the file has blocks: a loop is damage.
    for (int visited = 0; number > 0; ++visited) {
        const Status damaged =
            Status::corrupt(QStringLiteral("Die Datei %1 ist beschädigt (Datenblock %2)").arg(m_path).arg(number));
        if (visited >= static_cast<int>(head->px_fileblocks) || number > static_cast<int>(head->px_fileblocks)) return damaged;
        if (!file.seek(head->px_headersize + (number - 1) * blockSize)) return damaged;
        block = file.read(blockSize);
        if (block.size() < 6) return damaged;
        const int next = littleEndian16(block.constData());
        const int used = static_cast<qint16>(littleEndian16(block.constData() + 4));
        const int records = used < 0 ? 0 : used / recordSize + 1;
        if (6 + static_cast<qint64>(records) * recordSize > block.size()) return damaged;
        for (int r = 0; r < records; ++r) {
            const char* data = block.constData() + 6 + r * recordSize;
            ++m_record;
            values.clear();
            for (int i = 0; i < static_cast<int>(m_fields.size()); ++i)
                values << decode(i, data + m_offsets[static_cast<size_t>(i)]);
            if (!visit(values)) return Status::ok();
        }
        number = next;
    }
    return Status::ok();
}

}  // namespace q
