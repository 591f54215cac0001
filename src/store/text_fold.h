// The letter fold behind the case-insensitive indexes: letter case, umlauts and
// accents are folded ("Äpfel" sorts with "apfel", "ß" as "ss"). One table defines
// the fold; from it come both the SQL expression every case-insensitive index is
// built on and the program's own comparison, so the two can never disagree.
#pragma once

#include <QString>

namespace q {

// The folded text: A-Z to a-z, the umlauts to their base letters ("Ä" -> "a",
// "ö" -> "o"), "ß" -> "ss", and the accented letters most common in the names of
// securities (À à á â Ç ç É é È è Ê ê í Ñ ñ ó ø ú) to theirs. Any other character
// stays as it is.
QString foldText(const QString& text);

// The same fold as an SQL expression over `column` (an expression, usually a quoted
// column name): nested built-in replace() calls under the built-in collation
// NOCASE, so any SQLite tool can read, check and write a table indexed on it. An
// index on this expression serves a query that writes the same expression in its
// WHERE or ORDER BY. Stored in the tables' index definitions: never change the fold.
QString foldExpression(const QString& column);

// The order of the case-insensitive indexes: the folded texts compared byte by byte
// in UTF-8, as SQLite's NOCASE compares the stored expressions. Returns <0, 0, >0.
int compareNoCase(const QString& a, const QString& b);

}  // namespace q
