// Files as the program's users have them: Windows-1252 text with CRLF line ends
// (any line end read), and names found whatever their letter case.
#pragma once

#include "base/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace q {

QString fromWindows1252(const QByteArray& bytes);
// Characters outside Windows-1252 become "?".
QByteArray toWindows1252(const QString& text);
// How many characters of the lines toWindows1252() turns into "?" (each half of a
// character beyond U+FFFF counts, as each becomes one "?").
int unmappableCount(const QStringList& lines);

// Text a user's program wrote: UTF-16 by its byte-order mark, UTF-8 when the bytes
// are valid UTF-8 holding more than ASCII (a byte-order mark is dropped), else
// Windows-1252. Windows-1252 text with
// umlauts is practically never valid UTF-8, so a file written by either kind of
// program reads as it was meant.
QString decodeText(const QByteArray& bytes);
// The lines of a text in any line-end convention: CRLF, LF and CR all end a line.
QStringList splitLines(const QString& text);

// The lines of a Windows-1252 text file; CRLF, LF and CR all end a line.
// Fails with NotFound or Io and a message naming the file.
Result<QStringList> readTextLines(const QString& path);
// As readTextLines(), but the file may also be UTF-8 (see decodeText()).
Result<QStringList> readTextLinesAnyEncoding(const QString& path);
// Writes the lines with CRLF, atomically (a new file renamed over the old one).
Status writeTextLines(const QString& path, const QStringList& lines);

// The path of the entry `name` in `dir` whatever its letter case (the exact spelling
// wins when both exist); empty when there is none. `dir` may lack its trailing "/".
QString findFile(const QString& dir, const QString& name);
bool fileExists(const QString& dir, const QString& name);
// findFile(), or dir + name in the given spelling when there is no such file yet.
QString filePath(const QString& dir, const QString& name);
// `dir` with exactly one trailing "/".
QString withSlash(const QString& dir);

}  // namespace q
