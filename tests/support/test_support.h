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

// The number the query's first column gives (a count), read with a connection of
// its own; -1 when the query fails.
qint64 sqlNumber(const QString& database, const QString& query);
// The root page of the table or index `name` in `database`; 0 when there is none.
int rootPage(const QString& database, const QString& name);
// Overwrites page `page` (counted from 1, 4096 bytes) of the file with bytes from a
// random generator seeded with `page`: the damage a failing disk leaves.
void scramblePage(const QString& path, int page);
// Sample data (tools/sample) of `securities` securities with one year of prices in
// `dataDir`; false on failure.
bool writeSmallSample(const QString& dataDir, int securities = 3);

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
