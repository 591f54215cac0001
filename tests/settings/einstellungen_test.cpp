#include "settings/einstellungen.h"
#include "base/formats.h"
#include "support/test_support.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

const QString kMain = SettingsStore::kMainKey;

class StartSettings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.load(dir.filePath("Quintara.conf")).isOk()); }

    Einstellungen read() { return readSettingsAtStart(store, ctx, &notes); }

    // The value names of the main key in the saved file, in file order.
    QStringList namesInFile() {
        EXPECT_TRUE(store.save().isOk());
        const QString text = QString::fromUtf8(qtest::readFile(store.path()));
        QStringList names;
        for (const QString& line : text.split('\n'))
            if (line.contains('=') && !line.startsWith(';')) names << line.section('=', 0, 0);
        return names;
    }

    QTemporaryDir dir;
    SettingsStore store;
    // 10.03.2026: 30 days back is 08.02.2026, 90 days back 10.12.2025, 14 days back 24.02.2026.
    SettingsContext ctx{"/opt/quintara/", "/srv/daten/", QDate(2026, 3, 10)};
    QStringList notes;
};

// Closing writes into the same store the next start reads.
class ClosingSettings : public StartSettings {};

}  // namespace

TEST_F(StartSettings, FreshUserGetsTheWrittenDefaultsInTheFile) {
    const Einstellungen values = read();
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_EQ(namesInFile(), (QStringList{"WaehrungsSymbol", "DezimalStellen", "Spekulation", "Spekulation_neu",
                                          "Spekulation_ab", "Alle", "bestaetigen"}));
    SettingsStore saved;
    ASSERT_TRUE(saved.load(store.path()).isOk());
    EXPECT_EQ(*saved.readText(kMain, "WaehrungsSymbol"), "EUR");
    EXPECT_EQ(*saved.readInteger(kMain, "DezimalStellen"), 2);
    EXPECT_EQ(*saved.readInteger(kMain, "Spekulation"), 365);
    EXPECT_EQ(*saved.readInteger(kMain, "Spekulation_neu"), 0);
    EXPECT_EQ(*saved.readDateTime(kMain, "Spekulation_ab"), 39814.0);
    EXPECT_FALSE(*saved.readBool(kMain, "Alle"));
    EXPECT_TRUE(*saved.readBool(kMain, "bestaetigen"));

    EXPECT_EQ(values.text("SCRIPT"), "/opt/quintara/aktien.vts");
    EXPECT_EQ(values.text("TempPath"), "/opt/quintara/Temp/");
    EXPECT_EQ(values.text("SicherPath"), "/srv/daten/");
    EXPECT_EQ(values.text("Sender4"), "Sender4");
    EXPECT_EQ(values.number("MinusProzent"), -45.0);
    EXPECT_EQ(values.dateTime("Datum"), dayNumber(QDate(2026, 2, 8)));
    EXPECT_EQ(values.dateTime("KursDatum"), dayNumber(QDate(2025, 12, 10)));
    EXPECT_FALSE(values.has("Datenpath"));
    // Design values stay absent so the window keeps its own.
    for (const char* name : {"Splitter2", "Vollbild", "FilterTage", "WindowWidth", "DDEAktie1", "Grid1FontName"})
        EXPECT_FALSE(values.has(name)) << name;
}

TEST_F(StartSettings, StoredValuesWinWhateverTheirCase) {
    store.writeText(kMain, "Script", "/home/anna/mein.vts");
    store.writeText(kMain, "WaehrungsSymbol", "CHF");
    store.writeInteger(kMain, "ErsterGL", 38);
    const Einstellungen values = read();
    EXPECT_EQ(values.text("SCRIPT"), "/home/anna/mein.vts");
    EXPECT_EQ(values.text("WaehrungsSymbol"), "CHF");
    EXPECT_EQ(values.integer("ErsterGL"), 38);
    EXPECT_EQ(*store.readText(kMain, "WaehrungsSymbol"), "CHF");
}

TEST_F(StartSettings, PriceFilterStartsAtLeastTwoDaysBack) {
    store.writeDateTime(kMain, "KursDatum", dayNumber(QDate(2026, 3, 10)));
    EXPECT_EQ(read().dateTime("KursDatum"), dayNumber(QDate(2025, 12, 10)));
    store.writeDateTime(kMain, "KursDatum", dayNumber(QDate(2026, 3, 9)) + 0.5);
    EXPECT_EQ(read().dateTime("KursDatum"), dayNumber(QDate(2025, 12, 10)));
    store.writeDateTime(kMain, "KursDatum", dayNumber(QDate(2026, 3, 8)));
    EXPECT_EQ(read().dateTime("KursDatum"), dayNumber(QDate(2026, 3, 8)));
}

TEST_F(StartSettings, FilterPeriodSetsThePriceFilterStart) {
    store.writeDateTime(kMain, "KursDatum", dayNumber(QDate(2026, 1, 2)));
    store.writeInteger(kMain, "FilterTage", 3);
    EXPECT_EQ(read().dateTime("KursDatum"), dayNumber(QDate(2025, 12, 10)));
    store.writeInteger(kMain, "FilterTage", 1);
    EXPECT_EQ(read().dateTime("KursDatum"), dayNumber(QDate(2026, 2, 24)));
    store.writeInteger(kMain, "FilterTage", 0);
    EXPECT_EQ(read().dateTime("KursDatum"), dayNumber(QDate(2026, 1, 2)));
}

TEST_F(StartSettings, MendsSplitterWidthAndEndTime) {
    store.writeInteger(kMain, "Splitter2", 0);
    store.writeText(kMain, "DDETIME", "halb elf");
    Einstellungen values = read();
    EXPECT_EQ(values.integer("Splitter2"), 1);
    EXPECT_EQ(values.text("DDETIME"), "22:32");
    store.writeInteger(kMain, "Splitter2", 240);
    store.writeText(kMain, "DDETIME", "18:05");
    values = read();
    EXPECT_EQ(values.integer("Splitter2"), 240);
    EXPECT_EQ(values.text("DDETIME"), "18:05");
}

TEST_F(StartSettings, WrongTypeFallsBackToTheDefaultWithANote) {
    store.writeText(kMain, "Spekulation", "ein Jahr");
    store.writeInteger(kMain, "KursIndex", 7);
    store.writeText(kMain, "Splitter2", "breit");
    const Einstellungen values = read();
    EXPECT_EQ(values.integer("Spekulation"), 365);
    EXPECT_EQ(values.text("KursIndex"), "Dow Jones");
    EXPECT_FALSE(values.has("Splitter2"));
    EXPECT_EQ(notes, (QStringList{"Einstellung Spekulation hat den falschen Typ, Standardwert verwendet",
                                  "Einstellung Splitter2 hat den falschen Typ, Standardwert verwendet",
                                  "Einstellung KursIndex hat den falschen Typ, Standardwert verwendet"}));
    // Left for the user to mend, not overwritten.
    EXPECT_EQ(*store.readText(kMain, "Spekulation"), "ein Jahr");
}

TEST_F(StartSettings, ReadsGridColumnsUpToTheFirstMissingWidthAndToolBarBands) {
    store.writeText(kMain, "Grid1FontName", "DejaVu Sans");
    store.writeInteger(kMain, "Grid1FontSize", 9);
    store.writeBytes(kMain, "Grid1FontStyle", QByteArray("\x01", 1));
    store.writeInteger(kMain, "Grid1Width0", 80);
    store.writeText(kMain, "Grid1Name0", "Datum");
    store.writeText(kMain, "Grid1Title0", "Datum");
    store.writeInteger(kMain, "Grid1Width1", 60);
    store.writeText(kMain, "Grid1Name1", "Kurs");
    store.writeInteger(kMain, "Grid1Width3", 50);
    store.writeInteger(kMain, "Grid2Width0", 70);  // no font name: grid 2 keeps its design
    store.writeInteger(kMain, "coolbarwidth3", 120);
    store.writeInteger(kMain, "CoolBar2Break1", 1);
    store.writeInteger(kMain, "Chart1LeftAxisColor", 255);
    store.writeInteger(kMain, "Chart1TitleColor", 65535);
    const Einstellungen values = read();
    EXPECT_EQ(values.dynamicNames(), (QStringList{"Grid1FontName", "Grid1FontSize", "Grid1FontStyle", "Grid1Width0",
                                                  "Grid1Name0", "Grid1Title0", "Grid1Width1", "Grid1Name1",
                                                  "CoolBarWidth3", "CoolBar2Break1"}));
    EXPECT_TRUE(values.truth("CoolBar2Break1"));
    EXPECT_EQ(values.value("CoolBar2Break1")->type, ValueType::Bool);
    EXPECT_EQ(values.integer("Chart1TitleColor"), 65535);
    EXPECT_FALSE(values.has("Chart1LeftAxisColor"));
}

TEST_F(ClosingSettings, WritesItsGroupsInOrder) {
    Einstellungen values;
    values.set("WindowWidth", SettingValue::integer(1024));
    values.set("Vollbild", SettingValue::truth(false));
    values.set("Grid1Width0", SettingValue::integer(80));
    values.set("Grid1FontName", SettingValue::text("Arial"));
    values.set("SicherInterval", SettingValue::integer(5));
    values.set("AnimatedZoom", SettingValue::truth(true));
    values.set("TempPath", SettingValue::text("/tmp/q/"));
    values.set("Vergleich1", SettingValue::text("DAX"));
    values.set("BewertMACD", SettingValue::truth(true));
    values.set("ErsterGL", SettingValue::integer(5));
    values.set("Splitter2", SettingValue::integer(200));
    values.set("Sprache", SettingValue::integer(0));
    values.set("PlusProzent", SettingValue::number(50));
    values.set("KursSender", SettingValue::text("ZDF"));
    values.set("DDEMinuten", SettingValue::integer(1));
    values.set("Kursfilter", SettingValue::truth(false));
    values.set("Datum", SettingValue::dateTime(46000));
    values.set("Chart1LeftAxisColor", SettingValue::integer(255));
    writeSettingsOnClose(store, values);
    EXPECT_EQ(namesInFile(),
              (QStringList{"Datum", "Kursfilter", "DDEMinuten", "KursSender", "PlusProzent", "Sprache", "Splitter2",
                           "ErsterGL", "BewertMACD", "Vergleich1", "TempPath", "SicherInterval", "AnimatedZoom",
                           "Chart1LeftAxisColor", "Grid1FontName", "Grid1Width0", "Vollbild", "WindowWidth"}));
}

TEST_F(ClosingSettings, LeavesDialogValuesAndTheChartKeyAlone) {
    store.writeText(SettingsStore::kChartKey, "Kurs1_Series1_Title", "Kurs");
    Einstellungen values;
    for (const char* name : {"SCRIPT", "Watch1", "WaehrungsSymbol", "Datenpath", "Depotpath", "Sender1", "VTDatei",
                             "Msg_Path", "NachrichtenPath"})
        values.set(name, SettingValue::text("x"));
    for (const char* name : {"Speichern", "News_Width", "Series9BarWidthPercent", "DezimalStellen", "CoolBarWidth1"})
        values.set(name, SettingValue::integer(1));
    for (const char* name : {"Bank", "Clearing", "Makler"}) values.set(name, SettingValue::number(0.25));
    values.set("Alle", SettingValue::truth(true));
    values.set("Sprache", SettingValue::integer(1));
    writeSettingsOnClose(store, values);
    EXPECT_EQ(store.valueNames(kMain), QStringList{"Sprache"});
    EXPECT_EQ(store.valueNames(SettingsStore::kChartKey), QStringList{"Kurs1_Series1_Title"});
}

TEST_F(ClosingSettings, DropsGridColumnsThatAreGone) {
    for (int i = 0; i < 4; ++i) store.writeInteger(kMain, QString("Grid3Width%1").arg(i), 50);
    store.writeText(kMain, "Grid3FontName", "Arial");
    Einstellungen values = read();
    EXPECT_EQ(values.integer("Grid3Width3"), 50);
    values.removeGrid(3);
    values.set("Grid3FontName", SettingValue::text("Arial"));
    values.set("Grid3Width0", SettingValue::integer(90));
    values.set("Grid3Name0", SettingValue::text("Kurs"));
    writeSettingsOnClose(store, values);
    const Einstellungen again = read();
    EXPECT_EQ(again.dynamicNames(), (QStringList{"Grid3FontName", "Grid3Width0", "Grid3Name0"}));
    EXPECT_EQ(again.integer("Grid3Width0"), 90);
}

TEST_F(ClosingSettings, NextStartReadsBackWhatItWrote) {
    store.writeBool(kMain, "AnlageDetail", false);
    store.writeDouble(kMain, "DividentenProzent", 3.25);
    store.writeText(kMain, "Vergleich2", QString::fromUtf8("Münchener Rück"));
    const Einstellungen first = read();
    SettingsStore fresh;
    ASSERT_TRUE(fresh.load(dir.filePath("neu.conf")).isOk());
    writeSettingsOnClose(fresh, first);
    ASSERT_TRUE(fresh.save().isOk());
    ASSERT_TRUE(fresh.load(dir.filePath("neu.conf")).isOk());
    const Einstellungen second = readSettingsAtStart(fresh, ctx, nullptr);
    EXPECT_FALSE(second.truth("AnlageDetail"));
    EXPECT_EQ(second.number("DividentenProzent"), 3.25);
    EXPECT_EQ(second.text("Vergleich2"), QString::fromUtf8("Münchener Rück"));
    for (const SettingEntry* entry : closeOrder()) {
        if (entry->readAtStart) {
            EXPECT_EQ(second.value(entry->name), first.value(entry->name)) << entry->name.toStdString();
        }
    }
}
