#include "app/command_line.h"

#include "base/clock.h"

#include <gtest/gtest.h>

using namespace q;

TEST(CommandLine, WithoutSwitchesNoJobRunsAndReadingStaysOn) {
    const CommandLine c = parseCommandLine({});
    EXPECT_FALSE(c.delayedStart);
    EXPECT_FALSE(c.unattended);
    EXPECT_TRUE(c.reading);
    EXPECT_FALSE(c.exportDate.isValid());
}

TEST(CommandLine, ListSwitchTakesTheNextArgumentAndRunsTheInternetUpdate) {
    const CommandLine c = parseCommandLine({"/i", "DAX"});
    EXPECT_EQ(c.listEntry, "DAX");
    EXPECT_TRUE(c.unattended);
    EXPECT_TRUE(c.delayedStart);
    EXPECT_EQ(delayedJob(c.reading, c.unattended), DelayedJob::InternetUpdate);
}

TEST(CommandLine, ShortLongAndLinuxSpellingsAreTheSame) {
    for (const QStringList& args : {QStringList{"/A"}, QStringList{"auto"}, QStringList{"--Auto"}}) {
        const CommandLine c = parseCommandLine(args);
        EXPECT_TRUE(c.delayedStart) << args.join(' ').toStdString();
        EXPECT_EQ(delayedJob(c.reading, c.unattended), DelayedJob::DdeReading);
    }
    for (const char* s : {"/V", "vteinlesen", "--vteinlesen"}) {
        const CommandLine c = parseCommandLine({s});
        EXPECT_EQ(delayedJob(c.reading, c.unattended), DelayedJob::TeletextReading) << s;
    }
    EXPECT_TRUE(parseCommandLine({"favoriten"}).favouritesOff);
    EXPECT_TRUE(parseCommandLine({"--favoriten"}).favouritesOff);
    EXPECT_TRUE(parseCommandLine({"Neu"}).rollover);
    EXPECT_TRUE(parseCommandLine({"--neu"}).rollover);
    EXPECT_FALSE(parseCommandLine({"/F"}).delayedStart);
    EXPECT_FALSE(parseCommandLine({"/N"}).delayedStart);
}

TEST(CommandLine, LaterSwitchesOverrideEarlierFlags) {
    // "/I" switches unattended mode on; a later "/V" switches it off again.
    const CommandLine c = parseCommandLine({"/I", "DAX", "/V"});
    EXPECT_FALSE(c.unattended);
    EXPECT_FALSE(c.reading);
}

TEST(CommandLine, ExportTakesDateAndDirectoryAndEndsTheExamination) {
    const CommandLine c = parseCommandLine({"/e", "31.12.2026", "/out/kurse", "/N", "/F"});
    EXPECT_EQ(c.exportDate, QDate(2026, 12, 31));
    EXPECT_EQ(c.exportDir, "/out/kurse/");
    EXPECT_TRUE(c.unattended);
    EXPECT_FALSE(c.reading);
    EXPECT_FALSE(c.rollover);
    EXPECT_FALSE(c.favouritesOff);
    EXPECT_EQ(delayedJob(c.reading, c.unattended), DelayedJob::PriceTextExport);
    EXPECT_EQ(parseCommandLine({"--export", "1.2.2025", "/tmp/"}).exportDir, "/tmp/");
}

TEST(CommandLine, UnparsableExportDateBecomesToday) {
    setToday(QDate(2026, 3, 9));
    EXPECT_EQ(parseCommandLine({"Export", "gestern"}).exportDate, QDate(2026, 3, 9));
    EXPECT_EQ(parseCommandLine({"/E"}).exportDate, QDate(2026, 3, 9));
    EXPECT_TRUE(parseCommandLine({"/E"}).exportDir.isEmpty());
    setToday(QDate());
}

TEST(CommandLine, HomeAndSettingsTakeTheirValues) {
    const CommandLine c = parseCommandLine({"--home", "/q", "--settings", "/q/Quintara.conf", "/F"});
    EXPECT_EQ(c.homeDir, "/q");
    EXPECT_EQ(c.settingsPath, "/q/Quintara.conf");
    EXPECT_TRUE(c.favouritesOff);
}

TEST(CommandLine, VersionAndHelpOnlyPrint) {
    const CommandLine version = parseCommandLine({"--version"});
    EXPECT_TRUE(version.version);
    EXPECT_FALSE(version.delayedStart);
    EXPECT_TRUE(parseCommandLine({"--HELP"}).help);
    // The help lists every switch of the table, one line each.
    const QString help = commandLineHelp();
    for (const SwitchHelp& s : commandLineSwitches()) EXPECT_TRUE(help.contains(QString::fromLatin1(s.spellings))) << s.spellings;
    EXPECT_TRUE(help.startsWith("Aufruf: quintara [SCHALTER]\n"));
}
