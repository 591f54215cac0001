// The conventions every quintara-cli run keeps, and the manual pages and completion
// the build writes from the command table.
#include "app/startup_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

using qtest::runCli;

namespace {

using Conventions = StartTest;

// The subcommands as the overview help lists them ("  name   summary" after "Befehle:").
QStringList helpedCommands() {
    const qtest::CliRun help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    const QString list = help.out.mid(help.out.indexOf("Befehle:\n") + 9);
    QStringList names;
    for (const QString& line : list.split('\n', Qt::SkipEmptyParts)) names << line.section(' ', 0, 0, QString::SectionSkipEmpty);
    return names;
}

QString builtDoc(const QString& name) {
    return QString::fromUtf8(qtest::readFile(QFileInfo(QStringLiteral(QUINTARA_CLI)).absolutePath() + "/doc/" + name));
}

}  // namespace

TEST_F(Conventions, VersionNamesTheProgramAndExitsZero) {
    const qtest::CliRun r = runCli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("quintara-cli 5.3 ")) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(Conventions, ProgressGoesToStderrOnlyWhenAskedForOffATerminal) {
    // Not a terminal here: a successful start writes nothing to stderr.
    const qtest::CliRun quiet = runCli({"--home", home, "--settings", settingsFile, "start"});
    ASSERT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.err, "");
    // With --progress the start-up's table steps show, from the first of thirteen.
    const qtest::CliRun shown = runCli({"--home", home, "--settings", settingsFile, "--progress", "start"});
    ASSERT_EQ(shown.exitCode, 0);
    EXPECT_TRUE(shown.err.contains("Tabelle Firma.db (0/13)")) << shown.err.toStdString();
}

TEST_F(Conventions, EverySubcommandIsInTheManualPageAndTheCompletion) {
    const QStringList names = helpedCommands();
    ASSERT_GT(names.size(), 20);
    ASSERT_TRUE(names.contains("start"));
    const QString page = builtDoc("quintara-cli.1");
    const QString completion = builtDoc("quintara-cli.bash");
    ASSERT_FALSE(page.isEmpty());
    ASSERT_FALSE(completion.isEmpty());
    for (const QString& name : names) {
        EXPECT_TRUE(page.contains("\n.SS " + QString(name).replace("-", "\\-") + "\n")) << name.toStdString();
        EXPECT_TRUE(completion.contains("\n        " + name + ") opts=")) << name.toStdString();
    }
    // The completion offers the subcommand's own options: buy's --shares.
    EXPECT_TRUE(completion.contains("        buy) opts=\"--shares --price")) << completion.toStdString();
    // The window's page lists its switches.
    const QString window = builtDoc("quintara.1");
    for (const char* s : {"VTEINLESEN", "\\-\\-home", "\\-\\-version"}) EXPECT_TRUE(window.contains(s)) << s;
}

TEST_F(Conventions, TheCompletionIsValidBash) {
    const QString file = QFileInfo(QStringLiteral(QUINTARA_CLI)).absolutePath() + "/doc/quintara-cli.bash";
    QProcess bash;
    // Completing "quintara-cli bu" offers buy; "quintara-cli buy --sh" offers --shares.
    bash.start("bash", {"-c", "source \"$0\"; COMP_WORDS=(quintara-cli bu); COMP_CWORD=1; _quintara_cli; echo \"${COMPREPLY[*]}\";"
                              "COMP_WORDS=(quintara-cli buy --sh); COMP_CWORD=2; _quintara_cli; echo \"${COMPREPLY[*]}\"",
                        file});
    ASSERT_TRUE(bash.waitForFinished(10000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(bash.readAllStandardOutput()).split('\n');
    EXPECT_TRUE(lines.value(0).split(' ').contains("buy")) << lines.value(0).toStdString();
    EXPECT_EQ(lines.value(1), "--shares");
}
