// A plain SQLite connection for the jobs that must not change a file's settings by
// opening it: checks and safety copies (a copy stays in rollback-journal mode, and
// a check only reads). The program's tables are opened through Database instead.
#pragma once

#include "base/status.h"

#include <QStringList>

struct sqlite3;

namespace q {

class RawConnection {
public:
    enum class Mode { ReadWrite, Create };
    RawConnection() = default;
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    // Opens `path` with the store's busy timeout; a file this process may not write
    // is opened for reading. Fails NotFound when the file is missing (ReadWrite),
    // otherwise as error() does.
    [[nodiscard]] Status open(const QString& path, Mode mode = Mode::ReadWrite);
    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    [[nodiscard]] Status exec(const char* sql);
    // The first column of every row, as text.
    [[nodiscard]] Result<QStringList> texts(const QString& sql);
    // The number of rows of `table`.
    [[nodiscard]] Result<qint64> rowCount(const QString& table);
    // The connection's last error: Corrupt "Die Datei … ist keine gültige Datenbank"
    // or "Die Datenbank … ist beschädigt (…)", Busy "Die Datei … wird von einem
    // anderen Programm benutzt (…)", Io "Fehler beim <what> der Datei … (…)" (a full
    // disk among them).
    Status error(const QString& what) const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};

}  // namespace q
