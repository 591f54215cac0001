#include "store/server_dialect.h"

#include <QRegularExpression>

namespace q {

namespace {

bool startsWithWord(const QString& sql, qsizetype at, QLatin1String word) {
    if (sql.size() - at < word.size()) return false;
    if (QStringView(sql).mid(at, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
    const qsizetype end = at + word.size();
    return end == sql.size() || !(sql[end].isLetterOrNumber() || sql[end] == u'_');
}

}  // namespace

QString serverSql(const QString& sql, int* parameters) {
    QString out;
    out.reserve(sql.size() + 16);
    int next = 0;    // the number the next bare "?" gets
    int highest = 0;
    bool ignoreConflicts = false;
    QChar quote;  // inside '…' or "…"
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            out += c;
            if (c == quote) quote = QChar();  // a doubled quote closes and opens again
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            out += c;
            continue;
        }
        if (c == u'?') {
            qsizetype j = i + 1;
            while (j < sql.size() && sql[j].isDigit()) ++j;
            const int n = j > i + 1 ? sql.mid(i + 1, j - i - 1).toInt() : ++next;
            if (j > i + 1) next = std::max(next, n);
            highest = std::max(highest, n);
            out += QLatin1Char('$') + QString::number(n);
            i = j - 1;
            continue;
        }
        const bool wordStart = i == 0 || !(sql[i - 1].isLetterOrNumber() || sql[i - 1] == u'_');
        if (wordStart && startsWithWord(sql, i, QLatin1String("INSERT"))) {
            static const QRegularExpression orIgnore(QStringLiteral("^INSERT\\s+OR\\s+IGNORE\\b"), QRegularExpression::CaseInsensitiveOption);
            const auto m = orIgnore.match(QStringView(sql).mid(i));
            if (m.hasMatch()) {
                out += QStringLiteral("INSERT");
                i += m.capturedLength() - 1;
                ignoreConflicts = true;
                continue;
            }
        }
        if (wordStart && startsWithWord(sql, i, QLatin1String("NOT"))) {
            static const QRegularExpression notIndexed(QStringLiteral("^NOT\\s+INDEXED\\b"), QRegularExpression::CaseInsensitiveOption);
            const auto m = notIndexed.match(QStringView(sql).mid(i));
            if (m.hasMatch()) {
                i += m.capturedLength() - 1;
                continue;
            }
        }
        if (wordStart && startsWithWord(sql, i, QLatin1String("EXPLAIN"))) {
            static const QRegularExpression plan(QStringLiteral("^EXPLAIN\\s+QUERY\\s+PLAN\\b"), QRegularExpression::CaseInsensitiveOption);
            const auto m = plan.match(QStringView(sql).mid(i));
            if (m.hasMatch()) {
                out += QStringLiteral("EXPLAIN");
                i += m.capturedLength() - 1;
                continue;
            }
        }
        if (wordStart && out.trimmed().isEmpty() && startsWithWord(sql, i, QLatin1String("BEGIN"))) {
            static const QRegularExpression begin(QStringLiteral("^BEGIN(\\s+(IMMEDIATE|DEFERRED|EXCLUSIVE))?(\\s+TRANSACTION)?\\s*;?\\s*$"),
                                                  QRegularExpression::CaseInsensitiveOption);
            if (begin.match(QStringView(sql).mid(i)).hasMatch()) return QStringLiteral("BEGIN ISOLATION LEVEL SERIALIZABLE");
        }
        out += c;
    }
    if (ignoreConflicts) {
        // Before a trailing RETURNING, else at the end.
        static const QRegularExpression returning(QStringLiteral("\\s+RETURNING\\s+[^'\"]*$"), QRegularExpression::CaseInsensitiveOption);
        const auto m = returning.match(out);
        const qsizetype at = m.hasMatch() ? m.capturedStart() : out.size();
        out.insert(at, QStringLiteral(" ON CONFLICT DO NOTHING"));
    }
    if (parameters) *parameters = highest;
    return out;
}

}  // namespace q
