// Shared test helpers: temporary directories, files written as users have them,
// and running quintara-cli.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Lets GoogleTest print QStrings readably in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace qtest {

// Writes raw bytes to a file, creating parent directories.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

// Firma.db and Waehrung.db in `dir` (ending in "/") as the previous release wrote
// them: case-insensitive indexes on its own collation QNOCASE, a currency key that
// allowed NULL. Firma holds Zander AG (1), Öl und Gas (2), Straße AG (3); number 4
// was handed out and deleted. Waehrung holds "" (keine Währung) and USD.
bool writePreviousReleaseTables(const QString& dir);

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};
// Runs the built quintara-cli with the arguments; stdin is closed.
CliRun runCli(const QStringList& args);
// The text LibreOffice reads from a document (`soffice --headless --convert-to txt`,
// with a fresh profile); empty when it cannot convert it.
QString convertToText(const QString& document);
// Runs the stock sqlite3 shell on `database` with `input` on stdin (statements and
// dot-commands); stops at the first error (-bail).
CliRun runSqlite3(const QString& database, const QString& input);

}  // namespace qtest
