// The reading and backup options of the options dialog put into effect: the reading
// options reach the settings file at once, the directories are made and used.
#include "app/option_binding.h"
#include "startup_fixture.h"

#include <QDir>

using namespace q;

TEST_F(StartTest, ReadingOptionsAreWrittenAtOnceBackupOptionsAtClose) {
    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui, false).isOk());
    const QString work = s.dirs.work;

    Einstellungen edited = s.values;
    edited.set("MinusProzent", SettingValue::number(-30.0));
    edited.set("DDEItem", SettingValue::text("Seite"));
    edited.set("WinTVAktiv", SettingValue::truth(true));
    edited.set("SicherInterval", SettingValue::integer(3));
    edited.set("SicherPath", SettingValue::text(tmp("Sicherung/Neu")));
    edited.set("IntraPath", SettingValue::text(tmp("Intra")));
    edited.set("TempPath", SettingValue::text(tmp("Arbeit")));
    edited.set("ErsterGL", SettingValue::integer(9));  // not an option of these pages
    ASSERT_TRUE(applyOptionSettings(s, edited).isOk());

    EXPECT_DOUBLE_EQ(s.values.number("MinusProzent"), -30.0);
    EXPECT_EQ(s.values.integer("SicherInterval"), 3);
    EXPECT_NE(s.values.integer("ErsterGL"), 9);
    // Backups and intraday files go to the new folders now; the work folder, whose
    // tables are open, changes with the next start.
    EXPECT_EQ(s.dirs.backup, tmp("Sicherung/Neu/"));
    EXPECT_TRUE(QDir(tmp("Sicherung/Neu")).exists());
    EXPECT_EQ(s.dirs.intraday, tmp("Intra/"));
    EXPECT_EQ(s.dirs.work, work);

    SettingsStore file;
    ASSERT_TRUE(file.load(settingsFile).isOk());
    EXPECT_DOUBLE_EQ(*file.readDouble(SettingsStore::kMainKey, "MinusProzent"), -30.0);
    EXPECT_EQ(*file.readText(SettingsStore::kMainKey, "DDEItem"), "Seite");
    EXPECT_FALSE(file.exists(SettingsStore::kMainKey, "SicherInterval"));

    // Closing writes the rest; the next start works in the new folder.
    ASSERT_TRUE(closeDown(s).isOk());
    Session next;
    ASSERT_TRUE(start(next, ui, false).isOk());
    EXPECT_EQ(next.values.integer("SicherInterval"), 3);
    EXPECT_EQ(next.dirs.work, tmp("Arbeit/"));
    EXPECT_EQ(next.dirs.backup, tmp("Sicherung/Neu/"));
}

TEST_F(StartTest, ABackupFolderThatCannotBeMadeIsSaid) {
    Session s;
    ScriptedInteraction ui;
    ASSERT_TRUE(start(s, ui, false).isOk());
    const QString before = s.dirs.backup;
    qtest::writeFile(tmp("Datei"), "x");
    Einstellungen edited = s.values;
    edited.set("SicherPath", SettingValue::text(tmp("Datei/Sicherung")));  // below a file
    const Status st = applyOptionSettings(s, edited);
    EXPECT_EQ(st.category(), Category::Io);
    EXPECT_TRUE(st.message().contains("Datei/Sicherung")) << st.message().toStdString();
    EXPECT_EQ(s.dirs.backup, before);
}
