#include "base/report_rtf.h"

#include "base/text_files.h"

#include <QFileInfo>
#include <QSaveFile>

namespace q::report {

namespace {

QByteArray escaped(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else {
            const QByteArray cp = toWindows1252(QString(c));
            if (cp.size() == 1 && cp[0] != '?' && u >= 0x80)
                out += QByteArray("\\'") + QByteArray::number(uchar(cp[0]), 16).rightJustified(2, '0');
            else if (u >= 0x20)
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

QByteArray styleCodes(const Style& s) {
    QByteArray out = "\\plain\\f2\\fs" + QByteArray::number(s.halfPoints);
    if (s.bold) out += "\\b";
    if (s.underline) out += "\\ul";
    if (s.colour > 0) out += "\\cf" + QByteArray::number(s.colour);
    return out + ' ';
}

}  // namespace

QByteArray toRtf(const Document& d) {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
                     "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 Arial;}}\r\n{\\colortbl";
    for (const Colour& c : d.colours)
        out += "\\red" + QByteArray::number(c.red) + "\\green" + QByteArray::number(c.green) + "\\blue" +
               QByteArray::number(c.blue) + ';';
    out += " }\r\n\\deflang1031\\pard";
    for (const TabStop& t : d.tabs) out += (t.align == Align::Right ? "\\tqr\\tx" : "\\tx") + QByteArray::number(t.twips);
    out += ' ';
    for (const Paragraph& p : d.paragraphs) {
        bool firstCell = true;
        for (const auto& cell : p.cells) {
            if (!firstCell) out += "\\tab ";
            firstCell = false;
            for (const Run& r : cell) out += styleCodes(r.style) + escaped(r.text);
        }
        out += "\\par\r\n";
    }
    out += "\\plain\\f0\\fs16 \\par }\r\n";
    return out;
}

Status writeRtf(const Document& document, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::io(QStringLiteral("%1 kann nicht geschrieben werden: %2").arg(path, file.errorString()));
    file.write(toRtf(document));
    if (!file.commit())
        return Status::busy(QStringLiteral("%1 ist bereits geöffnet").arg(QFileInfo(path).fileName()));
    return Status::ok();
}

}  // namespace q::report
