// The settings store: named, typed values under keys, kept in one readable UTF-8 text
// file of our own (the place the Windows program used a registry key). Companion
// programs share the key paths, value names and types, so those are an external format.
#pragma once

#include "base/status.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace q {

// The type a value is stored with. Stored: never renumber.
enum class ValueType { Text, Integer, Bool, Double, DateTime, Bytes };

// One stored value. `data` holds a QString, int, bool, double (DateTime: day number
// from 30.12.1899 with the time of day as fraction) or QByteArray.
struct SettingValue {
    ValueType type = ValueType::Text;
    QVariant data;

    static SettingValue text(const QString& value);
    static SettingValue integer(int value);
    static SettingValue truth(bool value);
    static SettingValue number(double value);
    static SettingValue dateTime(double dayNumber);
    static SettingValue bytes(const QByteArray& value);

    friend bool operator==(const SettingValue& a, const SettingValue& b) {
        return a.type == b.type && a.data == b.data;
    }
};

// `value` as `type`, with the conversions the registry allowed: Bool and Integer read
// as each other (any non-zero integer is true); Double and DateTime read as each other,
// both 8-byte floating point there; an Integer reads as Double or DateTime. nullopt
// for any other pair.
std::optional<SettingValue> convertValue(const SettingValue& value, ValueType type);

// The file, one section per key, one line per value:
//
//   [SOFTWARE\Morvane\Quintara]
//   WaehrungsSymbol="EUR"          text, quoted; \\ \" \n \r \t \uXXXX escapes
//   Spekulation=365                32-bit integer; a truth value is stored as 0 or 1
//   MinusProzent=double:-45        floating point, C locale, shortest exact form
//   Spekulation_ab=date:39814      day number, fraction allowed
//   Grid1FontStyle=hex:01          raw bytes
//
// Read leniently, because people edit the file by hand: UTF-8, UTF-16 (by its
// byte-order mark) or Latin-1/Windows-1252 (a file that is no valid UTF-8); an
// unquoted value that is neither an integer nor tagged is text (`KursIndex=Dow
// Jones`); a section header without its "]" still names its key; lines starting with
// ";" or "#" are comments (not kept); a line that cannot be read is skipped and
// reported in notes(), and the file as it was is kept beside it as
// "<file>.defekt", because the next save drops what was skipped. Values nobody here
// knows are kept and written back. Key and value names compare without regard to
// case; the first spelling seen is the one written. Values keep the order of their
// first write, keys likewise.
//
// Several runs share the file: save() writes this store's changes into the file as
// it is then, under a lock on its directory, so a value another run wrote meanwhile
// stays unless this run changed it too.
//
// Not thread-safe; the program uses it from the user-interface thread only.
class SettingsStore {
public:
    static inline const QString kMainKey = QStringLiteral("SOFTWARE\\Morvane\\Quintara");
    static inline const QString kChartKey = QStringLiteral("SOFTWARE\\Morvane\\Quintara\\Chart");

    // Replaces the contents with those of the file at `path` and remembers the path
    // for save(). A missing file gives an empty store and OK (fileExisted() false).
    // Fails with Io "Die Einstellungsdatei <path> ist ein Verzeichnis" or
    // "Einstellungsdatei <path> kann nicht gelesen werden: <reason>"; the store is
    // then empty. Skipped lines are listed in notes(), followed by the note on the
    // kept ".defekt" file.
    Status load(const QString& path);

    // Writes the changes since load() (or the last save) into the file at path(),
    // read anew under the lock, atomically: a new file renamed over the old one, so a
    // crash leaves the old file whole. Afterwards the store holds what the file holds.
    // Creates the directory when missing. Fails with Io naming the file or directory,
    // Busy when another run holds the lock past the busy timeout. Requires: load()
    // was called.
    Status save();

    // A read-modify-write of one value that no other run can interleave: under the
    // lock, `update` gets the value as the file holds it now (nullopt when absent),
    // its result is written, and the store is saved as by save(). Returns the value
    // written; fails like save().
    Result<SettingValue> updateAndSave(const QString& key, const QString& name,
                                       const std::function<SettingValue(const std::optional<SettingValue>&)>& update);

    QString path() const { return m_path; }
    bool fileExisted() const { return m_fileExisted; }
    // German texts, one per skipped line of the last load(), naming the line number.
    QStringList notes() const { return m_notes; }

    bool exists(const QString& key, const QString& name) const;
    std::optional<SettingValue> value(const QString& key, const QString& name) const;

    // Typed reads. Fail with NotFound "Einstellung <name> fehlt" when absent and with
    // Invalid "Einstellung <name> hat den falschen Typ" when stored as a type that
    // convertValue() does not turn into the one asked for.
    Result<QString> readText(const QString& key, const QString& name) const;
    Result<int> readInteger(const QString& key, const QString& name) const;
    Result<bool> readBool(const QString& key, const QString& name) const;
    Result<double> readDouble(const QString& key, const QString& name) const;
    Result<double> readDateTime(const QString& key, const QString& name) const;
    Result<QByteArray> readBytes(const QString& key, const QString& name) const;
    // The value converted to `type` as the typed reads do; same failures.
    Result<SettingValue> read(const QString& key, const QString& name, ValueType type) const;

    // Writes replace a value of any type; the key is created when missing.
    void write(const QString& key, const QString& name, const SettingValue& value);
    void writeText(const QString& key, const QString& name, const QString& value);
    void writeInteger(const QString& key, const QString& name, int value);
    void writeBool(const QString& key, const QString& name, bool value);
    void writeDouble(const QString& key, const QString& name, double value);
    void writeDateTime(const QString& key, const QString& name, double dayNumber);
    void writeBytes(const QString& key, const QString& name, const QByteArray& value);

    // Removes the key and all its values (its subkeys are keys of their own and stay).
    void removeKey(const QString& key);
    void removeValue(const QString& key, const QString& name);
    bool keyExists(const QString& key) const;
    // The value names of the key in file order, as first spelled; empty when no key.
    QStringList valueNames(const QString& key) const;
    QStringList keyNames() const;

private:
    struct Entry {
        QString name;
        SettingValue value;
    };
    struct Section {
        QString key;
        QList<Entry> entries;
        QHash<QString, qsizetype> index;  // case-folded name -> position in entries
    };

    // A change since the last load or save, replayed onto the file's content.
    struct Change {
        enum class Kind { Write, RemoveValue, RemoveKey };
        Kind kind;
        QString key;
        QString name;
        SettingValue value;
    };

    const Section* section(const QString& key) const;
    Section& sectionForWrite(const QString& key);
    const Entry* entry(const QString& key, const QString& name) const;
    // Fills the store from the file's text; returns whether a line was skipped.
    bool parse(const QString& text);
    void put(const QString& key, const QString& name, const SettingValue& value);
    void apply(const Change& change);
    // Under the lock on the file's directory: reads the file anew (this store's
    // contents when it is gone), applies the changes, lets `step` change that too,
    // writes it and takes it over.
    Status saveLocked(const std::function<void(SettingsStore& fresh)>& step);
    Status writeFile() const;

    QString m_path;
    bool m_fileExisted = false;
    QStringList m_notes;
    QList<Section> m_sections;
    QList<Change> m_changes;
};

// $XDG_CONFIG_HOME/Morvane/Quintara.conf, XDG_CONFIG_HOME defaulting to ~/.config.
QString defaultSettingsPath();

}  // namespace q
