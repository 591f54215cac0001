// Every value of the main settings key: its name, type, default, whether the start
// writes the default, when it is read at start and whether closing writes it. Also
// recognises the numbered grid and tool-bar values, whose names are built at run time.
#pragma once

#include "settings/settings_store.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace q {

// Where the defaults that depend on the installation come from. Directories end with "/".
struct SettingsContext {
    QString installDir;
    QString dataDir;
    QDate today;
};

enum class DefaultKind {
    None,      // no default: the value stays absent
    Design,    // the window keeps what its design shows: the value stays absent
    Fixed,     // SettingEntry::fixedDefault
    Computed,  // from the directories or today, see defaultValue()
};

// The groups in the order the start reads them (the grid layouts and tool-bar bands,
// which have no fixed names, are read after View).
enum class SettingGroup { Locations, Currency, Reading, View, Analysis, ChartAppearance, Backup, PriceFilter };

// The steps of closing, in the order closing writes them. Never: closing leaves the
// value alone because a dialog or command writes it when the user confirms. The grid
// fonts and columns are written between ChartOptions and Window.
enum class CloseStep {
    Never,
    ViewAndDates,
    Dde,
    Stations,
    Thresholds,
    Language,
    TabsAndSplitter,
    Analysis,
    Comparison,
    PathsAndBackup,
    ChartOptions,
    Window,
};

struct SettingEntry {
    QString name;
    ValueType type = ValueType::Text;
    DefaultKind defaultKind = DefaultKind::None;
    SettingValue fixedDefault;  // only for DefaultKind::Fixed
    bool writtenAtStart = false;
    SettingGroup group = SettingGroup::Locations;
    CloseStep closeStep = CloseStep::Never;
    // False for the values the start leaves to others: `Datenpath` (resolved by the
    // start-up together with its check for aktien.db) and the chart axis fonts,
    // which closing writes but nobody reads back.
    bool readAtStart = true;

    bool writtenOnClose() const { return closeStep != CloseStep::Never; }
};

// Every fixed-name value of the main key, in the order the start reads them.
const QList<SettingEntry>& settingsCatalogue();
// The entry of that name, compared without regard to case; nullptr when there is none
// (numbered grid and tool-bar values included: see matchDynamicSetting()).
const SettingEntry* findSetting(const QString& name);
// The values closing writes, in the order it writes them.
QList<const SettingEntry*> closeOrder();

// The default of a value: the fixed one, or the computed one (directories from the
// context, dates as day numbers counted back from ctx.today); nullopt for None and Design.
std::optional<SettingValue> defaultValue(const SettingEntry& entry, const SettingsContext& ctx);

// The grids whose layout is stored, as numbered in the value names.
inline constexpr int kGridNumbers[] = {1, 2, 3, 5, 6};

enum class DynamicKind { GridFont, GridColumn, ToolBarBand };

// A value whose name is built from a pattern:
//   Grid<g>FontName|FontColor|FontSize|FontStyle            (g = grid)
//   Grid<g>Width|Name|Title<i>                              (i = column from 0)
//   CoolBar[2]Width|Break|Index|ID<n>                       (n = band identity; toolBar 1 or 2)
struct DynamicSetting {
    DynamicKind kind = DynamicKind::GridFont;
    int number = 0;  // grid g, or tool bar 1 / 2
    int index = 0;   // column i or band n; 0 for fonts
    QString field;   // "FontName", "Width", "Break", ... as spelled here
    ValueType type = ValueType::Integer;

    // The name as this program spells it.
    QString name() const;
};

// The pattern the name follows, compared without regard to case; nullopt for others.
std::optional<DynamicSetting> matchDynamicSetting(const QString& name);

// Names of the dynamic grid values.
QString gridFontName(int grid, const QString& field);
QString gridColumnName(int grid, const QString& field, int column);

}  // namespace q
