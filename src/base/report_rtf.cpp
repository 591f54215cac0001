#include "base/report_rtf.h"

#include "base/text_files.h"

#include <QFileInfo>
#include <QSaveFile>

#include <optional>

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

// The codes of a style, in the order word processors write them: "\plain\f2\fs20\b\cf1\ul".
QByteArray styleCodes(const Style& s) {
    QByteArray out = "\\plain\\f2\\fs" + QByteArray::number(s.halfPoints);
    if (s.bold) out += "\\b";
    if (s.colour > 0) out += "\\cf" + QByteArray::number(s.colour);
    if (s.underline) out += "\\ul";
    return out;
}

bool sameBesidesUnderline(const Style& a, const Style& b) {
    return a.halfPoints == b.halfPoints && a.bold == b.bold && a.colour == b.colour;
}

}  // namespace

QByteArray toRtf(const Document& d) {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
                     "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 Arial;}}{\\colortbl";
    for (const Colour& c : d.colours)
        out += "\\red" + QByteArray::number(c.red) + "\\green" + QByteArray::number(c.green) + "\\blue" +
               QByteArray::number(c.blue) + ';';
    out += " }\\deflang1031\\pard";
    for (const TabStop& t : d.tabs) out += (t.align == Align::Right ? "\\tqr\\tx" : "\\tx") + QByteArray::number(t.twips);
    out += " \r\n";
    // Each line starts with its full style; within it a run names only what changes:
    // another style starts with \plain, while an underline that merely ends is
    // "\ulnone" (the security line of anlagen.rtf, "\b\cf1\ul NAME\tab\ulnone  (…)",
    // which other readers of the file expect).
    for (const Paragraph& p : d.paragraphs) {
        std::optional<Style> current;
        QByteArray pending;
        bool firstCell = true;
        for (const auto& cell : p.cells) {
            if (!firstCell) pending += "\\tab";
            firstCell = false;
            for (const Run& r : cell) {
                if (!current || !sameBesidesUnderline(*current, r.style)) pending += styleCodes(r.style);
                else if (current->underline != r.style.underline) pending += r.style.underline ? "\\ul" : "\\ulnone";
                current = r.style;
                if (!pending.isEmpty()) out += pending + ' ';
                pending.clear();
                out += escaped(r.text);
            }
        }
        out += pending + "\\par\r\n";
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
