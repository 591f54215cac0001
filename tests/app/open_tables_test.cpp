// The tables as another tool sees them: the stock sqlite3 shell counts, writes,
// checks, vacuums and dumps every table file, and the program sees what it wrote.

#include "app/startup_fixture.h"
#include "sample/sample_data.h"
#include "store/catalogue.h"
#include "store/store.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

using namespace q;
using qtest::runCli;
using qtest::runSqlite3;

namespace {

// An INSERT of one row another program might write: a value of the field's type
// in every field, keys the program never hands out; the security number left to
// the table.
QString shellInsert(const Layout& layout) {
    QStringList names, values;
    for (const Field& f : layout.fields) {
        if (layout.autoNumberKey && f.name == layout.primaryFields.first()) continue;
        names << '"' + f.name + '"';
        switch (f.type) {
        case FieldType::Long: values << "99999"; break;
        case FieldType::Short: values << "9"; break;
        case FieldType::Alpha: values << "'" + QString::fromUtf8("Shell Müller").left(f.size) + "'"; break;
        case FieldType::Number:
        case FieldType::Money: values << "1.5"; break;
        case FieldType::Logical: values << "1"; break;
        case FieldType::Date: values << "46000"; break;
        case FieldType::Timestamp: values << "46000.5"; break;
        case FieldType::Memo: values << "'Notiz'"; break;
        }
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3);").arg(layout.table, names.join(','), values.join(','));
}

// Every catalogued table file below `root`.
QStringList tableFiles(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (catalogueEntry(QFileInfo(path).fileName())) files << path;
    }
    files.sort();
    return files;
}

// Runs the shell's work on one file and checks what the program sees afterwards.
void checkWithShell(const QString& path, const QString& scratch) {
    SCOPED_TRACE(path.toStdString());
    const Layout layout = layoutForFile(QFileInfo(path).fileName());
    const QString table = '"' + layout.table + '"';
    auto counted = runSqlite3(path, "SELECT count(*) FROM " + table + ";");
    ASSERT_EQ(counted.exitCode, 0) << counted.err.toStdString();
    const qint64 before = counted.out.trimmed().toLongLong();

    auto shell = runSqlite3(path, shellInsert(layout) + "SELECT count(*) FROM " + table +
                                      "; PRAGMA integrity_check; VACUUM; PRAGMA integrity_check;");
    ASSERT_EQ(shell.exitCode, 0) << shell.err.toStdString();
    EXPECT_EQ(shell.out, QString("%1\nok\nok\n").arg(before + 1));

    auto t = Store::openFile(path, layout);
    ASSERT_TRUE(t.isOk()) << t.status().message().toStdString();
    EXPECT_EQ(*(*t)->count(Query()), before + 1);
    if (layout.table == QLatin1String("Firma")) {
        // The row written by the shell is found through the case-insensitive index.
        Query byName;
        byName.equalNoCase.push_back({"FirmenName", "SHELL MULLER"});
        EXPECT_EQ(*(*t)->count(byName), 1);
    }
    t->reset();

    auto dump = runSqlite3(path, ".dump\n");
    ASSERT_EQ(dump.exitCode, 0) << dump.err.toStdString();
    const QString copy = scratch + QFileInfo(path).fileName() + ".kopie";
    auto reload = runSqlite3(copy, dump.out);
    ASSERT_EQ(reload.exitCode, 0) << reload.err.toStdString();
    auto reloaded = runSqlite3(copy, "SELECT count(*) FROM " + table + "; PRAGMA integrity_check;");
    EXPECT_EQ(reloaded.out, QString("%1\nok\n").arg(before + 1));
}

}  // namespace

using OpenTables = StartTest;

TEST_F(OpenTables, EveryTableOfAFreshInstallationWorksInTheStockShell) {
    auto started = runCli({"--home", home, "--settings", settingsFile, "start"});
    ASSERT_EQ(started.exitCode, 0) << started.err.toStdString();
    const QStringList files = tableFiles(home);
    EXPECT_GE(files.size(), 14);
    QDir().mkpath(tmp("kopien"));
    for (const QString& path : files) checkWithShell(path, tmp("kopien/"));

    // Python's sqlite3 module, as a user's script has it.
    QProcess python;
    python.start("python3", {"-c", "import sqlite3, sys\n"
                                   "c = sqlite3.connect(sys.argv[1])\n"
                                   "c.execute(\"INSERT INTO Firma (FirmenName, Aktiv) VALUES ('Python AG', 1)\")\n"
                                   "c.commit()\n"
                                   "print(c.execute('PRAGMA integrity_check').fetchone()[0], c.execute('SELECT count(*) FROM Firma').fetchone()[0])",
                             home + "Firma.db"});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()), "ok 2\n") << python.readAllStandardError().toStdString();
}

TEST_F(OpenTables, EveryTableOfTheSampleDataWorksInTheStockShell) {
    q::sample::Plan plan;
    plan.securities = 3;
    plan.years = 1;
    NoProgress none;
    ASSERT_TRUE(q::sample::writeSampleData(home + "Daten/", plan, none).isOk());
    const QStringList files = tableFiles(home);
    EXPECT_GE(files.size(), 14);
    QDir().mkpath(tmp("kopien"));
    for (const QString& path : files) checkWithShell(path, tmp("kopien/"));
}

TEST_F(OpenTables, TheStartConvertsTablesOfThePreviousRelease) {
    ASSERT_TRUE(qtest::writePreviousReleaseTables(home));
    auto started = runCli({"--home", home, "--settings", settingsFile, "start"});
    ASSERT_EQ(started.exitCode, 0) << started.err.toStdString();
    EXPECT_TRUE(started.out.contains("Tabelle umgestellt: Firma.db\n")) << started.out.toStdString();
    EXPECT_TRUE(started.out.contains("Tabelle umgestellt: Waehrung.db\n"));
    EXPECT_TRUE(started.out.contains("Wertpapiere: 3,"));
    auto shell = runSqlite3(home + "Firma.db", "PRAGMA integrity_check;");
    EXPECT_EQ(shell.out, "ok\n") << shell.err.toStdString();
}
