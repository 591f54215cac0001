// The settings in effect during a run: read from the main key once at start, with a
// default for each absent value, and written back when the main window closes.
#pragma once

#include "settings/settings_catalogue.h"
#include "settings/settings_store.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace q {

// Values by name, compared without regard to case, in the order they were first set.
// A value that is absent stays absent: for a design default that means the window
// keeps what its design shows. Not thread-safe.
class Einstellungen {
public:
    bool has(const QString& name) const;
    std::optional<SettingValue> value(const QString& name) const;

    // The value, converted as the store's typed reads convert; when absent or not
    // convertible, the catalogue's fixed default, else an empty text, 0 or false.
    QString text(const QString& name) const;
    int integer(const QString& name) const;
    bool truth(const QString& name) const;
    double number(const QString& name) const;
    double dateTime(const QString& name) const;  // day number

    // Replaces the value; a new name goes to the end of names().
    void set(const QString& name, const SettingValue& value);
    void remove(const QString& name);
    // Removes every font and column value of grid g, before the window sets its
    // current layout.
    void removeGrid(int grid);
    // All names in the order they were first set, as first spelled.
    QStringList names() const;
    // The numbered grid and tool-bar values among them, in the order they were set.
    QStringList dynamicNames() const;

private:
    struct Item {
        QString name;
        SettingValue value;
    };
    std::optional<SettingValue> converted(const QString& name, ValueType type) const;
    QList<Item> m_items;
    QHash<QString, qsizetype> m_index;  // case-folded name -> position in m_items
};

// Reads every main-key value the start needs, in the start's order: locations,
// currency options, reading options, view options, grid layouts and tool-bar bands,
// analysis, chart appearance, backup, price filter. An absent value gets its default,
// and the defaults marked as written are written to `store` (in memory; the caller
// saves). A value stored with the wrong type is neither used nor rewritten: its default
// applies and "Einstellung <Name> hat den falschen Typ, Standardwert verwendet" is
// appended to *notes (when given) for the status bar.
// Not read here: `Datenpath` (the start-up resolves it first) and the chart axis fonts.
Einstellungen readSettingsAtStart(SettingsStore& store, const SettingsContext& ctx, QStringList* notes);

// Writes the values closing writes into the main key of `store` (in memory; the caller
// saves), in the closing order: view options and dates, DDE settings, station selection,
// thresholds, language, tabs and splitter, analysis, comparison symbols, paths and
// backup, chart options, grid fonts and columns, full-screen flag and window position.
// Only values present in `values` are written. For a grid whose font name is present,
// stored columns beyond the current ones are removed, so the next start does not bring
// them back. The `Chart` subkey and the tool-bar bands are left alone.
void writeSettingsOnClose(SettingsStore& store, const Einstellungen& values);

// Writes the tool-bar band values present in `values` (command "Leiste &speichern").
void writeToolBarBands(SettingsStore& store, const Einstellungen& values);

}  // namespace q
