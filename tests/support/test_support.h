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

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};
// Runs the built quintara-cli with the arguments; stdin is closed.
CliRun runCli(const QStringList& args);

}  // namespace qtest
