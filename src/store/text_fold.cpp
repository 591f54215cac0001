#include "store/text_fold.h"

#include <QByteArray>
#include <array>
#include <cstring>

namespace q {

namespace {

struct Folding {
    const char* from;  // the letters (UTF-8), each folded to `to`
    const char* to;
};

// The one definition of the fold, besides A-Z, which SQLite's built-in NOCASE
// collation folds. The index expression nests one replace() per letter, and SQLite's
// parser refuses expressions nested much deeper than about 30 calls; hence the
// German letters and the accented letters most common in the names of securities,
// not every letter of Windows-1252. SQLite's lower() is not used because a tool may
// load an extension that replaces it. Every target is plain lower-case ASCII and no
// source is ASCII, so the nested calls give the same as folding letter by letter.
// Stored in index definitions: never change.
const Folding kFoldings[] = {
    {"ÄäÀàáâ", "a"}, {"Çç", "c"}, {"ÉéÈèÊê", "e"}, {"í", "i"},
    {"Ññ", "n"},     {"Ööóø", "o"}, {"ß", "ss"},     {"Üüú", "u"},
};

// The folded text of each letter of Latin-1; empty: the letter stays.
using Table = std::array<QString, 0x100>;

const Table& table() {
    static const Table t = [] {
        Table out;
        for (const Folding& f : kFoldings)
            for (QChar c : QString::fromUtf8(f.from)) out[c.unicode()] = QString::fromLatin1(f.to);
        return out;
    }();
    return t;
}

}  // namespace

QString foldText(const QString& text) {
    // Plain ASCII, nearly every name: lower-cased in one pass without appending; the
    // first other letter hands the whole text to the table below.
    const char16_t* in = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    {
        QString out(n, Qt::Uninitialized);
        char16_t* o = reinterpret_cast<char16_t*>(out.data());
        qsizetype i = 0;
        for (; i < n && in[i] < 0x80; ++i) o[i] = in[i] >= u'A' && in[i] <= u'Z' ? char16_t(in[i] + (u'a' - u'A')) : in[i];
        if (i == n) return out;
    }
    const Table& t = table();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 'A' && u <= 'Z') out += QChar(u + ('a' - 'A'));
        else if (u < t.size() && !t[u].isEmpty()) out += t[u];
        else out += c;
    }
    return out;
}

QString foldExpression(const QString& column) {
    QString expr = column;
    for (const Folding& f : kFoldings)
        for (QChar c : QString::fromUtf8(f.from))
            expr = QStringLiteral("replace(%1,'%2','%3')").arg(expr, QString(c), QString::fromLatin1(f.to));
    return expr + QStringLiteral(" COLLATE NOCASE");
}

int compareNoCase(const QString& a, const QString& b) {
    const QByteArray fa = foldText(a).toUtf8();
    const QByteArray fb = foldText(b).toUtf8();
    const int c = std::memcmp(fa.constData(), fb.constData(), static_cast<size_t>(std::min(fa.size(), fb.size())));
    if (c != 0) return c < 0 ? -1 : 1;
    return fa.size() < fb.size() ? -1 : (fa.size() > fb.size() ? 1 : 0);
}

}  // namespace q
