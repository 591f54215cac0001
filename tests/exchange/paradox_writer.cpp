#include "exchange/paradox_writer.h"

#include "base/text_files.h"

#include <QDateTime>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <paradox.h>
}

namespace pxtest {

namespace {

// pxlib's own day count for a date: days from 01.01.0001 as day 1.
long paradoxDay(const QDate& d) { return PX_GregorianToSdn(d.year(), d.month(), d.day()) - 1721425; }

}  // namespace

bool writeTable(const QString& path, const std::vector<Field>& fields, const std::vector<QVariantList>& rows, int keys) {
    pxdoc_t* px = PX_new();
    // pxlib takes the array and the names and frees them.
    auto* defs = static_cast<pxfield_t*>(std::calloc(fields.size(), sizeof(pxfield_t)));
    bool memo = false;
    for (size_t i = 0; i < fields.size(); ++i) {
        defs[i].px_fname = strdup(fields[i].name);
        defs[i].px_ftype = fields[i].type;
        defs[i].px_flen = fields[i].size;
        memo = memo || fields[i].type == pxfMemoBLOb;
    }
    const QByteArray file = QFile::encodeName(path);
    if (PX_create_file(px, defs, static_cast<int>(fields.size()), file.constData(), keys ? pxfFileTypIndexDB : pxfFileTypNonIndexDB) < 0) {
        PX_delete(px);
        return false;
    }
    if (keys) PX_set_value(px, "numprimkeys", keys);
    PX_set_tablename(px, QFileInfo(path).completeBaseName().toUtf8().constData());
    PX_set_inputencoding(px, "UTF-8");
    PX_set_targetencoding(px, "CP1252");
    if (memo) {
        const QByteArray mb = QFile::encodeName(QFileInfo(path).absolutePath() + "/" + QFileInfo(path).completeBaseName() + ".MB");
        if (PX_create_blob_file(PX_new_blob(px), mb.constData()) < 0) {
            PX_delete(px);
            return false;
        }
    }
    bool ok = true;
    std::vector<pxval_t> values(fields.size());
    std::vector<pxval_t*> pointers(fields.size());
    std::vector<QByteArray> texts(fields.size());
    for (const QVariantList& row : rows) {
        for (size_t i = 0; i < fields.size(); ++i) {
            pxval_t& v = values[i];
            std::memset(&v, 0, sizeof v);
            pointers[i] = &v;
            const QVariant value = row.value(static_cast<int>(i));
            v.isnull = value.isNull() ? 1 : 0;
            if (value.isNull()) continue;
            switch (fields[i].type) {
            case pxfAlpha: texts[i] = value.toString().toUtf8(); break;
            case pxfMemoBLOb: texts[i] = q::toWindows1252(value.toString()); break;
            case pxfBCD: texts[i] = QByteArray::number(value.toDouble(), 'f', 2); break;
            case pxfDate: v.value.lval = paradoxDay(value.toDate()); break;
            case pxfTimestamp: {
                const QDateTime t = value.toDateTime();
                v.value.dval = paradoxDay(t.date()) * 86400000.0 + t.time().msecsSinceStartOfDay();
                break;
            }
            case pxfCurrency:
            case pxfNumber: v.value.dval = value.toDouble(); break;
            case pxfLogical: v.value.lval = value.toBool() ? 1 : 0; break;
            default: v.value.lval = value.toLongLong(); break;
            }
            if (fields[i].type == pxfAlpha || fields[i].type == pxfMemoBLOb || fields[i].type == pxfBCD) {
                v.value.str.val = texts[i].data();
                v.value.str.len = static_cast<int>(texts[i].size());
            }
        }
        ok = ok && PX_insert_record(px, pointers.data()) >= 0;
    }
    PX_close(px);
    PX_delete(px);
    return ok;
}

}  // namespace pxtest
