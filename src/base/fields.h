// The fields of a line of a character-separated text file (web exports, quote
// answers, the quote-service file), as spreadsheet programs write them: a field in
// double quotes may hold the separator ("1.234,56" in a comma-separated file).
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace q {

// The fields of `line` at each `separator` outside double quotes; the quotes stay
// in the fields (unquoted() removes them).
QStringList splitFields(const QString& line, QChar separator);
// `field` trimmed, without one pair of enclosing double quotes, trimmed again.
QString unquoted(QString field);

}  // namespace q
