#include "settings/settings_store.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

const QString kMain = SettingsStore::kMainKey;

SettingsStore reloaded(const QString& path) {
    SettingsStore store;
    EXPECT_TRUE(store.load(path).isOk());
    return store;
}

}  // namespace

TEST(SettingsFile, RoundTripsEveryTypeExactly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quintara.conf");
    const QString tricky = QString::fromUtf8("C:\\Daten\\ \"Börse\" a=b\tTab\nZeile\x01");
    const QByteArray bytes("\x00\xff\x10", 3);
    {
        SettingsStore store;
        ASSERT_TRUE(store.load(path).isOk());
        EXPECT_FALSE(store.fileExisted());
        store.writeText(kMain, "Text", tricky);
        store.writeText(kMain, "Leer", "");
        store.writeText(kMain, "Ziffern", "42");
        store.writeInteger(kMain, "Klein", -2147483647 - 1);
        store.writeDouble(kMain, "Kurs", 1.95583);
        store.writeDouble(kMain, "Summe", 0.1 + 0.2);
        store.writeDouble(kMain, "Winzig", 1e-300);
        store.writeDateTime(kMain, "Zeitpunkt", 39814.75);
        store.writeBytes(kMain, "Roh", bytes);
        store.writeBool(kMain, "Wahr", true);
        store.writeText(SettingsStore::kChartKey, "Kurs1_Series1_Title", "Kurs");
        ASSERT_TRUE(store.save().isOk());
    }
    SettingsStore store = reloaded(path);
    EXPECT_TRUE(store.fileExisted());
    EXPECT_EQ(*store.readText(kMain, "Text"), tricky);
    EXPECT_EQ(*store.readText(kMain, "Leer"), "");
    // A quoted number stays text.
    EXPECT_EQ(*store.readText(kMain, "Ziffern"), "42");
    EXPECT_EQ(*store.readInteger(kMain, "Klein"), -2147483647 - 1);
    EXPECT_EQ(*store.readDouble(kMain, "Kurs"), 1.95583);
    EXPECT_EQ(*store.readDouble(kMain, "Summe"), 0.1 + 0.2);
    EXPECT_EQ(*store.readDouble(kMain, "Winzig"), 1e-300);
    EXPECT_EQ(*store.readDateTime(kMain, "Zeitpunkt"), 39814.75);
    EXPECT_EQ(*store.readBytes(kMain, "Roh"), bytes);
    EXPECT_TRUE(*store.readBool(kMain, "Wahr"));
    EXPECT_EQ(*store.readText(SettingsStore::kChartKey, "Kurs1_Series1_Title"), "Kurs");
    EXPECT_EQ(store.valueNames(kMain).first(), "Text");
}

TEST(SettingsFile, WritesOneReadableLinePerValue) {
    QTemporaryDir dir;
    SettingsStore store;
    ASSERT_TRUE(store.load(dir.filePath("Quintara.conf")).isOk());
    store.writeText(kMain, "WaehrungsSymbol", "EUR");
    store.writeInteger(kMain, "Spekulation", 365);
    store.writeBool(kMain, "Alle", false);
    store.writeDouble(kMain, "MinusProzent", -45.0);
    store.writeDateTime(kMain, "Spekulation_ab", 39814);
    store.writeBytes(kMain, "Grid1FontStyle", QByteArray("\x01", 1));
    ASSERT_TRUE(store.save().isOk());

    const QString text = QString::fromUtf8(qtest::readFile(dir.filePath("Quintara.conf")));
    EXPECT_TRUE(text.contains("[SOFTWARE\\Morvane\\Quintara]\n"
                              "WaehrungsSymbol=\"EUR\"\n"
                              "Spekulation=365\n"
                              "Alle=0\n"
                              "MinusProzent=double:-45\n"
                              "Spekulation_ab=date:39814\n"
                              "Grid1FontStyle=hex:01\n"))
        << text.toStdString();
}

TEST(SettingsFile, KeepsHandEditsAndUnknownValues) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quintara.conf");
    qtest::writeFile(path, "\xef\xbb\xbf; von Hand\r\n"
                           "[software\\morvane\\QUINTARA]\r\n"
                           "# Index fuer die Analyse\r\n"
                           "KursIndex = Dow Jones\r\n"
                           "Fremd=hex:ABCD\r\n"
                           "Sprache=  2  \r\n"
                           "Kommentar=\"\\u00e4 \\\" \\\\\"\r\n");
    SettingsStore store = reloaded(path);
    EXPECT_TRUE(store.notes().isEmpty()) << store.notes().join('\n').toStdString();
    EXPECT_EQ(*store.readText(kMain, "KursIndex"), "Dow Jones");
    EXPECT_EQ(*store.readInteger(kMain, "Sprache"), 2);
    EXPECT_EQ(*store.readText(kMain, "Kommentar"), QString::fromUtf8("ä \" \\"));

    store.writeInteger(kMain, "Sprache", 3);
    ASSERT_TRUE(store.save().isOk());
    SettingsStore again = reloaded(path);
    EXPECT_EQ(again.keyNames(), QStringList{"software\\morvane\\QUINTARA"});
    EXPECT_EQ(again.valueNames(kMain), (QStringList{"KursIndex", "Fremd", "Sprache", "Kommentar"}));
    EXPECT_EQ(*again.readBytes(kMain, "Fremd"), QByteArray("\xab\xcd"));
    EXPECT_EQ(*again.readText(kMain, "KursIndex"), "Dow Jones");
    EXPECT_EQ(*again.readInteger(kMain, "Sprache"), 3);
}

TEST(SettingsFile, SkipsUnreadableLinesWithANoteAndKeepsTheFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quintara.conf");
    const QByteArray text = "Vorher=1\n"
                            "[SOFTWARE\\Morvane\\Quintara]\n"
                            "nur Text ohne Zeichen\n"
                            "Kurs=double:zwei\n"
                            "Roh=hex:abc\n"
                            "Offen=\"kein Ende\n"
                            "=5\n"
                            "[kaputt\n"
                            "Gut=7\n";
    qtest::writeFile(path, text);
    SettingsStore store = reloaded(path);
    // Lines 1, 3, 4, 5, 6 and 7, then the note on the kept file.
    ASSERT_EQ(store.notes().size(), 7);
    EXPECT_TRUE(store.notes()[0].startsWith("Zeile 1 der Einstellungsdatei " + path)) << store.notes()[0].toStdString();
    EXPECT_TRUE(store.notes()[1].startsWith("Zeile 3 ")) << store.notes()[1].toStdString();
    EXPECT_TRUE(store.notes()[3].contains("Roh"));
    EXPECT_EQ(store.notes()[6], "Die Einstellungsdatei " + path + " enthält Zeilen, die nicht gelesen werden konnten; die Datei, "
                                "wie sie war, bleibt als " + path + ".defekt erhalten.");
    EXPECT_EQ(qtest::readFile(path + ".defekt"), text);
    // A header whose "]" was lost still names its key.
    EXPECT_EQ(*store.readInteger("kaputt", "Gut"), 7);
    EXPECT_EQ(store.valueNames(kMain), QStringList());
}

TEST(SettingsFile, MissingFileIsEmptyButUnreadableOneIsIo) {
    QTemporaryDir dir;
    SettingsStore store;
    ASSERT_TRUE(store.load(dir.filePath("fehlt.conf")).isOk());
    EXPECT_FALSE(store.fileExisted());
    EXPECT_TRUE(store.keyNames().isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkdir("Quintara.conf"));
    const Status status = store.load(dir.filePath("Quintara.conf"));
    EXPECT_EQ(status.category(), Category::Io);
    EXPECT_EQ(status.message(), "Die Einstellungsdatei " + dir.filePath("Quintara.conf") + " ist ein Verzeichnis");
}

TEST(SettingsFile, SaveCreatesTheDirectoryAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config/Morvane/Quintara.conf");
    SettingsStore store;
    ASSERT_TRUE(store.load(path).isOk());
    store.writeInteger(kMain, "Speichern", 1);
    ASSERT_TRUE(store.save().isOk());
    store.writeInteger(kMain, "Speichern", 2);
    ASSERT_TRUE(store.save().isOk());
    EXPECT_EQ(QDir(dir.filePath("config/Morvane")).entryList(QDir::Files | QDir::Hidden), QStringList{"Quintara.conf"});
    EXPECT_EQ(*reloaded(path).readInteger(kMain, "Speichern"), 2);
}

TEST(SettingsFile, SaveIntoAFileInPlaceOfTheDirectoryFailsWithIo) {
    QTemporaryDir dir;
    qtest::writeFile(dir.filePath("Morvane"), "kein Verzeichnis");
    SettingsStore store;
    ASSERT_TRUE(store.load(dir.filePath("Morvane/Quintara.conf")).isOk());
    store.writeInteger(kMain, "Speichern", 1);
    const Status status = store.save();
    EXPECT_EQ(status.category(), Category::Io);
    EXPECT_TRUE(status.message().contains(dir.filePath("Morvane"))) << status.message().toStdString();
}

TEST(SettingsNames, DifferingOnlyInCaseAreOneValueKeepingTheFirstSpelling) {
    QTemporaryDir dir;
    SettingsStore store;
    ASSERT_TRUE(store.load(dir.filePath("Quintara.conf")).isOk());
    store.writeText(kMain, "SCRIPT", "/opt/alt.vts");
    store.writeText("software\\MORVANE\\quintara", "Script", "/opt/neu.vts");
    EXPECT_EQ(store.valueNames(kMain), QStringList{"SCRIPT"});
    EXPECT_EQ(*store.readText(kMain, "script"), "/opt/neu.vts");
    ASSERT_TRUE(store.save().isOk());
    const QString text = QString::fromUtf8(qtest::readFile(dir.filePath("Quintara.conf")));
    EXPECT_EQ(text.count("SCRIPT=\"/opt/neu.vts\""), 1);
    EXPECT_FALSE(text.contains("Script="));
}

TEST(SettingsRead, OtherTypeIsInvalidAndAbsenceNotFound) {
    SettingsStore store;
    store.writeInteger(kMain, "WaehrungsSymbol", 5);
    store.writeText(kMain, "Spekulation", "365");
    auto text = store.readText(kMain, "WaehrungsSymbol");
    ASSERT_FALSE(text.isOk());
    EXPECT_EQ(text.status().category(), Category::Invalid);
    EXPECT_EQ(text.status().message(), "Einstellung WaehrungsSymbol hat den falschen Typ");
    EXPECT_EQ(store.readInteger(kMain, "Spekulation").status().category(), Category::Invalid);
    EXPECT_EQ(store.readBytes(kMain, "WaehrungsSymbol").status().category(), Category::Invalid);
    auto missing = store.readDouble(kMain, "Wechselkurs");
    EXPECT_EQ(missing.status().category(), Category::NotFound);
    EXPECT_EQ(missing.status().message(), "Einstellung Wechselkurs fehlt");
}

TEST(SettingsRead, AcceptsTheConversionsTheRegistryAllowed) {
    SettingsStore store;
    store.writeInteger(kMain, "Alle", 1);
    store.writeInteger(kMain, "Kursfilter", 0);
    store.writeBool(kMain, "SicherInterval", true);
    store.writeInteger(kMain, "PlusProzent", 50);
    store.writeDouble(kMain, "Datum", 46000.5);
    EXPECT_TRUE(*store.readBool(kMain, "Alle"));
    EXPECT_FALSE(*store.readBool(kMain, "Kursfilter"));
    EXPECT_EQ(*store.readInteger(kMain, "SicherInterval"), 1);
    EXPECT_EQ(*store.readDouble(kMain, "PlusProzent"), 50.0);
    EXPECT_EQ(*store.readDateTime(kMain, "Datum"), 46000.5);
}

TEST(SettingsKeys, RemovingAKeyTakesItsValuesButNotOtherKeys) {
    SettingsStore store;
    store.writeInteger(SettingsStore::kChartKey, "Kurs1_Series1_Active", 1);
    store.writeInteger(kMain, "Sprache", 0);
    store.removeKey("software\\morvane\\quintara\\chart");
    EXPECT_FALSE(store.keyExists(SettingsStore::kChartKey));
    EXPECT_FALSE(store.exists(SettingsStore::kChartKey, "Kurs1_Series1_Active"));
    EXPECT_TRUE(store.exists(kMain, "Sprache"));
    store.writeInteger(SettingsStore::kChartKey, "Kurs1_Series2_Active", 0);
    EXPECT_EQ(store.valueNames(SettingsStore::kChartKey), QStringList{"Kurs1_Series2_Active"});
}

TEST(SettingsPath, FollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg");
    EXPECT_EQ(defaultSettingsPath(), "/tmp/xdg/Morvane/Quintara.conf");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultSettingsPath(), QDir::homePath() + "/.config/Morvane/Quintara.conf");
    if (had) qputenv("XDG_CONFIG_HOME", saved);
}

TEST(SettingsFile, ReadsAFileSavedAsUtf16OrLatin1WithoutLosingAValue) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quintara.conf");
    const QString text = QString::fromUtf8("[SOFTWARE\\Morvane\\Quintara]\r\nDatenpath=\"/mnt/börse/Daten/\"\r\nSprache=3\r\n");
    // Notepad's "Unicode": UTF-16 little endian with its byte-order mark.
    QByteArray utf16("\xff\xfe", 2);
    for (const QChar c : text) utf16.append(static_cast<char>(c.unicode() & 0xff)).append(static_cast<char>(c.unicode() >> 8));
    qtest::writeFile(path, utf16);
    SettingsStore wide = reloaded(path);
    EXPECT_TRUE(wide.notes().isEmpty()) << wide.notes().join('\n').toStdString();
    EXPECT_EQ(*wide.readText(kMain, "Datenpath"), QString::fromUtf8("/mnt/börse/Daten/"));
    EXPECT_EQ(*wide.readInteger(kMain, "Sprache"), 3);

    // An editor's Latin-1: "ö" is the single byte F6, no valid UTF-8.
    qtest::writeFile(path, "[SOFTWARE\\Morvane\\Quintara]\nDatenpath=\"/mnt/b\xf6rse/Daten/\"\n");
    SettingsStore latin = reloaded(path);
    EXPECT_TRUE(latin.notes().isEmpty());
    EXPECT_EQ(*latin.readText(kMain, "Datenpath"), QString::fromUtf8("/mnt/börse/Daten/"));
    EXPECT_FALSE(QFile::exists(path + ".defekt"));
    // Saved again, the file is UTF-8.
    ASSERT_TRUE(latin.save().isOk());
    EXPECT_TRUE(qtest::readFile(path).contains("b\xc3\xb6rse"));
}

TEST(SettingsFile, TwoRunsSavingKeepEachOthersChangesAndCountEveryStart) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Quintara.conf");
    SettingsStore first = reloaded(path);
    SettingsStore second = reloaded(path);
    first.writeText(kMain, "Watch1", "Erste");
    second.writeText(kMain, "Watch2", "Zweite");
    ASSERT_TRUE(first.save().isOk());
    ASSERT_TRUE(second.save().isOk());
    SettingsStore both = reloaded(path);
    EXPECT_EQ(*both.readText(kMain, "Watch1"), "Erste");
    EXPECT_EQ(*both.readText(kMain, "Watch2"), "Zweite");

    // Both read the counter before either wrote it; each still adds its one.
    const auto increment = [](const std::optional<SettingValue>& old) {
        return SettingValue::integer(old ? old->data.toInt() + 1 : 1);
    };
    EXPECT_EQ(first.updateAndSave(kMain, "Speichern", increment)->data.toInt(), 1);
    EXPECT_EQ(second.updateAndSave(kMain, "Speichern", increment)->data.toInt(), 2);
    EXPECT_EQ(*reloaded(path).readInteger(kMain, "Speichern"), 2);
    // A removal is carried over too.
    first.removeValue(kMain, "Watch2");
    ASSERT_TRUE(first.save().isOk());
    EXPECT_FALSE(reloaded(path).exists(kMain, "Watch2"));
}
