#include "app/watch_names.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

Einstellungen settingsNaming(const QStringList& names) {
    Einstellungen values;
    for (int i = 0; i < names.size(); ++i)
        values.set(QString("Watch%1").arg(i + 1), SettingValue::text(names[i]));
    return values;
}

}  // namespace

TEST(WatchListNames, WithoutFileComeFromSettingsOrDefaults) {
    QTemporaryDir dir;
    EXPECT_EQ(watchListNames(settingsNaming({"Favoriten", "Tech"}), dir.path()),
              (QStringList{"Favoriten", "Tech", "3.Beobachtungsliste", "4.Beobachtungsliste"}));
}

TEST(WatchListNames, FileInAnyLetterCaseOverridesTheSettings) {
    QTemporaryDir dir;
    qtest::writeFile(dir.filePath("wnamen.INI"), "Eins\r\nZwei\r\nDrei\r\nVier\r\n");
    EXPECT_EQ(watchListNames(settingsNaming({"A", "B", "C", "D"}), dir.path() + "/"),
              (QStringList{"Eins", "Zwei", "Drei", "Vier"}));
}

TEST(WatchListNames, MissingLineKeepsTheSettingAndEmptyLineGivesEmptyName) {
    QTemporaryDir dir;
    qtest::writeFile(dir.filePath("WNamen.ini"), "Eins\n\nDrei");
    EXPECT_EQ(watchListNames(settingsNaming({"A", "B", "C", "D"}), dir.path()),
              (QStringList{"Eins", "", "Drei", "D"}));
}

TEST(WatchListNames, WrittenAsWindows1252CrlfAndReadBackTheSame) {
    QTemporaryDir dir;
    qtest::writeFile(dir.filePath("wnamen.ini"), "alt\r\n");
    const QStringList names{QString::fromUtf8("Börse"), "Zwei", "", "Vier"};
    ASSERT_TRUE(writeWatchListNames(dir.path(), names).isOk());
    // The existing file is rewritten under its own spelling, not joined by a second one.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"wnamen.ini"});
    EXPECT_EQ(qtest::readFile(dir.filePath("wnamen.ini")), QByteArray("B\xf6rse\r\nZwei\r\n\r\nVier\r\n"));
    EXPECT_EQ(watchListNames(settingsNaming({"A", "B", "C", "D"}), dir.path()), names);
}

TEST(WatchListNames, WritingIntoAMissingDirectoryFailsWithIo) {
    QTemporaryDir dir;
    const Status status = writeWatchListNames(dir.filePath("fehlt/nicht/da"), {"1", "2", "3", "4"});
    EXPECT_EQ(status.category(), Category::Io);
    EXPECT_TRUE(status.message().contains(dir.filePath("fehlt/nicht/da/WNamen.ini"))) << status.message().toStdString();
}
