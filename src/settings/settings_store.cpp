#include "settings/settings_store.h"

#include "settings/settings_value_text.h"
#include "base/text_files.h"
#include "store/file_system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace q {

namespace {

QString folded(const QString& name) { return name.toCaseFolded(); }

Status wrongType(const QString& name) {
    return Status::invalid(QStringLiteral("Einstellung %1 hat den falschen Typ").arg(name));
}

}  // namespace

Status SettingsStore::load(const QString& path) {
    m_path = path;
    m_fileExisted = false;
    m_notes.clear();
    m_sections.clear();
    m_changes.clear();
    QFile file(path);
    if (!file.exists()) return Status::ok();
    m_fileExisted = true;
    if (QFileInfo(path).isDir()) return Status::io(QStringLiteral("Die Einstellungsdatei %1 ist ein Verzeichnis").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        return Status::io(
            QStringLiteral("Einstellungsdatei %1 kann nicht gelesen werden: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (parse(decodeText(bytes))) {
        // The next save writes the file without what was skipped; the file as it was
        // stays for the user to take values from.
        const QString kept = path + QStringLiteral(".defekt");
        QSaveFile copy(kept);
        const bool saved = copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size() && copy.commit();
        m_notes << (saved ? QStringLiteral("Die Einstellungsdatei %1 enthält Zeilen, die nicht gelesen werden konnten; die "
                                           "Datei, wie sie war, bleibt als %2 erhalten.")
                                .arg(path, kept)
                          : QStringLiteral("Die Einstellungsdatei %1 enthält Zeilen, die nicht gelesen werden konnten, und "
                                           "%2 kann nicht angelegt werden.")
                                .arg(path, kept));
    }
    return Status::ok();
}

bool SettingsStore::parse(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    QString currentKey;
    bool skipped = false;
    const auto skip = [&](qsizetype lineNumber, const QString& reason) {
        m_notes << QStringLiteral("Zeile %1 der Einstellungsdatei %2 übergangen: %3").arg(lineNumber).arg(m_path, reason);
        skipped = true;
    };
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n].trimmed();
        if (n == 0 && line.startsWith(QChar(0xFEFF))) line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
        const qsizetype lineNumber = n + 1;
        if (line.startsWith(QLatin1Char('['))) {
            // A header whose "]" was lost still names its key: the values below it
            // belong there, and dropping them would lose every setting.
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString key = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            if (key.isEmpty()) {
                skip(lineNumber, QStringLiteral("Abschnittsname fehlt"));
                currentKey.clear();
                continue;
            }
            currentKey = sectionForWrite(key).key;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            skip(lineNumber, QStringLiteral("Gleichheitszeichen fehlt"));
            continue;
        }
        const QString name = line.left(eq).trimmed();
        if (name.isEmpty()) {
            skip(lineNumber, QStringLiteral("Name fehlt"));
            continue;
        }
        if (currentKey.isEmpty()) {
            skip(lineNumber, QStringLiteral("gehört zu keinem gültigen Abschnitt"));
            continue;
        }
        const auto value = parseSettingValue(QStringView(line).mid(eq + 1).trimmed());
        if (!value) {
            skip(lineNumber, QStringLiteral("Wert von %1 ist nicht lesbar").arg(name));
            continue;
        }
        put(currentKey, name, *value);
    }
    return skipped;
}

Status SettingsStore::save() {
    return saveLocked([](SettingsStore&) {});
}

Result<SettingValue> SettingsStore::updateAndSave(const QString& key, const QString& name,
                                                  const std::function<SettingValue(const std::optional<SettingValue>&)>& update) {
    SettingValue written;
    Q_TRY(saveLocked([&](SettingsStore& fresh) {
        written = update(fresh.value(key, name));
        fresh.put(key, name, written);
    }));
    return written;
}

Status SettingsStore::saveLocked(const std::function<void(SettingsStore& fresh)>& step) {
    Q_ASSERT(!m_path.isEmpty());
    if (m_path.isEmpty()) return Status::internal(QStringLiteral("Einstellungsdatei ohne Pfad"));
    const QString dir = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(dir))
        return Status::io(QStringLiteral("Verzeichnis %1 für die Einstellungen kann nicht angelegt werden").arg(dir));
    auto lock = DirectoryLock::acquire(
        dir, DirectoryLock::Kind::Exclusive,
        QStringLiteral("Die Einstellungsdatei %1 wird gerade von einem anderen Quintara geschrieben").arg(m_path));
    if (!lock) return lock.status();

    SettingsStore fresh;
    fresh.m_path = m_path;
    QFile file(m_path);
    if (file.exists()) {
        if (QFileInfo(m_path).isDir()) return Status::io(QStringLiteral("Die Einstellungsdatei %1 ist ein Verzeichnis").arg(m_path));
        if (!file.open(QIODevice::ReadOnly))
            return Status::io(QStringLiteral("Einstellungsdatei %1 kann nicht gelesen werden: %2").arg(m_path, file.errorString()));
        fresh.parse(decodeText(file.readAll()));
    } else {
        fresh.m_sections = m_sections;
    }
    for (const Change& c : m_changes) fresh.apply(c);
    step(fresh);
    Q_TRY(fresh.writeFile());
    m_sections = fresh.m_sections;
    m_changes.clear();
    return Status::ok();
}

Status SettingsStore::writeFile() const {
    QString text = QStringLiteral(
        "; Einstellungen von Quintara. Texte stehen in Anführungszeichen; double:, date: und hex:\n"
        "; kennzeichnen Gleitkommazahlen, Tageszahlen ab 30.12.1899 und Bytes.\n");
    for (const Section& s : m_sections) {
        text += QStringLiteral("\n[") + s.key + QStringLiteral("]\n");
        for (const Entry& e : s.entries) text += e.name + QLatin1Char('=') + formatSettingValue(e.value) + QLatin1Char('\n');
    }

    QSaveFile file(m_path);
    const auto failed = [&] {
        return Status::io(
            QStringLiteral("Einstellungsdatei %1 kann nicht geschrieben werden: %2").arg(m_path, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly)) return failed();
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return failed();
    }
    if (!file.commit()) return failed();
    return Status::ok();
}

const SettingsStore::Section* SettingsStore::section(const QString& key) const {
    for (const Section& s : m_sections)
        if (s.key.compare(key, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

SettingsStore::Section& SettingsStore::sectionForWrite(const QString& key) {
    for (Section& s : m_sections)
        if (s.key.compare(key, Qt::CaseInsensitive) == 0) return s;
    m_sections.append(Section{key, {}, {}});
    return m_sections.last();
}

const SettingsStore::Entry* SettingsStore::entry(const QString& key, const QString& name) const {
    const Section* s = section(key);
    if (!s) return nullptr;
    const auto it = s->index.constFind(folded(name));
    return it == s->index.cend() ? nullptr : &s->entries[*it];
}

bool SettingsStore::exists(const QString& key, const QString& name) const { return entry(key, name) != nullptr; }

std::optional<SettingValue> SettingsStore::value(const QString& key, const QString& name) const {
    const Entry* e = entry(key, name);
    if (!e) return std::nullopt;
    return e->value;
}

Result<SettingValue> SettingsStore::read(const QString& key, const QString& name, ValueType type) const {
    const Entry* e = entry(key, name);
    if (!e) return Status::notFound(QStringLiteral("Einstellung %1 fehlt").arg(name));
    auto converted = convertValue(e->value, type);
    if (converted) return *converted;
    return wrongType(name);
}

Result<QString> SettingsStore::readText(const QString& key, const QString& name) const {
    auto v = read(key, name, ValueType::Text);
    if (!v) return v.status();
    return v->data.toString();
}

Result<int> SettingsStore::readInteger(const QString& key, const QString& name) const {
    auto v = read(key, name, ValueType::Integer);
    if (!v) return v.status();
    return v->data.toInt();
}

Result<bool> SettingsStore::readBool(const QString& key, const QString& name) const {
    auto v = read(key, name, ValueType::Bool);
    if (!v) return v.status();
    return v->data.toBool();
}

Result<double> SettingsStore::readDouble(const QString& key, const QString& name) const {
    auto v = read(key, name, ValueType::Double);
    if (!v) return v.status();
    return v->data.toDouble();
}

Result<double> SettingsStore::readDateTime(const QString& key, const QString& name) const {
    auto v = read(key, name, ValueType::DateTime);
    if (!v) return v.status();
    return v->data.toDouble();
}

Result<QByteArray> SettingsStore::readBytes(const QString& key, const QString& name) const {
    auto v = read(key, name, ValueType::Bytes);
    if (!v) return v.status();
    return v->data.toByteArray();
}

void SettingsStore::write(const QString& key, const QString& name, const SettingValue& value) {
    put(key, name, value);
    m_changes.append(Change{Change::Kind::Write, key, name, value});
}

void SettingsStore::apply(const Change& c) {
    switch (c.kind) {
    case Change::Kind::Write: put(c.key, c.name, c.value); break;
    case Change::Kind::RemoveValue: removeValue(c.key, c.name); break;
    case Change::Kind::RemoveKey: removeKey(c.key); break;
    }
}

void SettingsStore::put(const QString& key, const QString& name, const SettingValue& value) {
    // A name with "=" or a line break could not be read back from the file.
    Q_ASSERT(!name.isEmpty() && !name.contains(QLatin1Char('=')) && !name.contains(QLatin1Char('\n')));
    Section& s = sectionForWrite(key);
    const QString f = folded(name);
    const auto it = s.index.constFind(f);
    if (it != s.index.cend()) {
        s.entries[*it].value = value;
        return;
    }
    s.index.insert(f, s.entries.size());
    s.entries.append(Entry{name, value});
}

void SettingsStore::writeText(const QString& key, const QString& name, const QString& value) {
    write(key, name, SettingValue::text(value));
}
void SettingsStore::writeInteger(const QString& key, const QString& name, int value) {
    write(key, name, SettingValue::integer(value));
}
void SettingsStore::writeBool(const QString& key, const QString& name, bool value) {
    write(key, name, SettingValue::truth(value));
}
void SettingsStore::writeDouble(const QString& key, const QString& name, double value) {
    write(key, name, SettingValue::number(value));
}
void SettingsStore::writeDateTime(const QString& key, const QString& name, double dayNumber) {
    write(key, name, SettingValue::dateTime(dayNumber));
}
void SettingsStore::writeBytes(const QString& key, const QString& name, const QByteArray& value) {
    write(key, name, SettingValue::bytes(value));
}

void SettingsStore::removeKey(const QString& key) {
    m_sections.removeIf([&](const Section& s) { return s.key.compare(key, Qt::CaseInsensitive) == 0; });
    m_changes.append(Change{Change::Kind::RemoveKey, key, QString(), {}});
}

void SettingsStore::removeValue(const QString& key, const QString& name) {
    m_changes.append(Change{Change::Kind::RemoveValue, key, name, {}});
    const Section* found = section(key);
    if (!found || !found->index.contains(folded(name))) return;
    Section& s = sectionForWrite(key);
    s.entries.removeAt(s.index.value(folded(name)));
    s.index.clear();
    for (qsizetype i = 0; i < s.entries.size(); ++i) s.index.insert(folded(s.entries[i].name), i);
}

bool SettingsStore::keyExists(const QString& key) const { return section(key) != nullptr; }

QStringList SettingsStore::valueNames(const QString& key) const {
    QStringList names;
    if (const Section* s = section(key))
        for (const Entry& e : s->entries) names << e.name;
    return names;
}

QStringList SettingsStore::keyNames() const {
    QStringList names;
    for (const Section& s : m_sections) names << s.key;
    return names;
}

QString defaultSettingsPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG rules say a relative path there is to be ignored.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Morvane/Quintara.conf");
}

}  // namespace q
