#include "settings/einstellungen.h"

#include "base/formats.h"

#include <cmath>

namespace q {

namespace {

const QString& mainKey() { return SettingsStore::kMainKey; }

QString folded(const QString& name) { return name.toCaseFolded(); }

const char* const kFontFields[] = {"FontName", "FontColor", "FontSize", "FontStyle"};
const char* const kColumnFields[] = {"Width", "Name", "Title"};

// Days back from today for the filter periods 1 to 5.
constexpr int kFilterDays[] = {14, 30, 90, 180, 360};

class StartReader {
public:
    StartReader(SettingsStore& store, const SettingsContext& ctx, QStringList* notes)
        : m_store(store), m_ctx(ctx), m_notes(notes) {}

    Einstellungen run() {
        for (const SettingGroup group : {SettingGroup::Locations, SettingGroup::Currency, SettingGroup::Reading,
                                         SettingGroup::View, SettingGroup::Analysis, SettingGroup::ChartAppearance,
                                         SettingGroup::Backup, SettingGroup::PriceFilter}) {
            for (const SettingEntry& entry : settingsCatalogue())
                if (entry.group == group && entry.readAtStart) read(entry);
            if (group == SettingGroup::View) {
                readGridLayouts();
                readToolBarBands();
            }
        }
        applyRules();
        return m_values;
    }

private:
    void noteWrongType(const QString& name) {
        if (m_notes)
            *m_notes << QStringLiteral("Einstellung %1 hat den falschen Typ, Standardwert verwendet").arg(name);
    }

    void read(const SettingEntry& entry) {
        const auto stored = m_store.read(mainKey(), entry.name, entry.type);
        if (stored) {
            m_values.set(entry.name, *stored);
            return;
        }
        const bool absent = stored.status().category() == Category::NotFound;
        if (!absent) noteWrongType(entry.name);
        const auto def = defaultValue(entry, m_ctx);
        if (!def) return;
        m_values.set(entry.name, *def);
        // A wrongly typed value stays as it is: the user may still want to mend it by hand.
        if (absent && entry.writtenAtStart) m_store.write(mainKey(), entry.name, *def);
    }

    // A numbered value; its default is the window's design, so absent means absent.
    void readDynamic(const QString& name) {
        const auto dyn = matchDynamicSetting(name);
        Q_ASSERT(dyn);
        const auto stored = m_store.read(mainKey(), name, dyn->type);
        if (stored)
            m_values.set(dyn->name(), *stored);
        else if (stored.status().category() != Category::NotFound)
            noteWrongType(dyn->name());
    }

    // A grid keeps its design unless its font name is stored; its columns run from 0
    // to the first missing width.
    void readGridLayouts() {
        for (const int grid : kGridNumbers) {
            if (!m_store.exists(mainKey(), gridFontName(grid, QStringLiteral("FontName")))) continue;
            for (const char* field : kFontFields) readDynamic(gridFontName(grid, QLatin1String(field)));
            for (int i = 0; m_store.exists(mainKey(), gridColumnName(grid, QStringLiteral("Width"), i)); ++i)
                for (const char* field : kColumnFields) readDynamic(gridColumnName(grid, QLatin1String(field), i));
        }
    }

    void readToolBarBands() {
        for (const QString& name : m_store.valueNames(mainKey())) {
            const auto dyn = matchDynamicSetting(name);
            if (dyn && dyn->kind == DynamicKind::ToolBarBand) readDynamic(name);
        }
    }

    void applyRules() {
        const int today = dayNumber(m_ctx.today);
        // A stored filter start of yesterday or later would show next to nothing.
        if (m_values.has(QStringLiteral("KursDatum")) &&
            std::floor(m_values.dateTime(QStringLiteral("KursDatum"))) >= today - 1)
            m_values.set(QStringLiteral("KursDatum"), SettingValue::dateTime(today - 90));
        if (m_values.has(QStringLiteral("FilterTage"))) {
            const int period = m_values.integer(QStringLiteral("FilterTage"));
            if (period >= 1 && period <= 5)
                m_values.set(QStringLiteral("KursDatum"), SettingValue::dateTime(today - kFilterDays[period - 1]));
        }
        // A panel of width 0 could not be dragged open again.
        if (m_values.has(QStringLiteral("Splitter2")) && m_values.integer(QStringLiteral("Splitter2")) < 1)
            m_values.set(QStringLiteral("Splitter2"), SettingValue::integer(1));
        if (m_values.has(QStringLiteral("DDETIME")) && !parseTime(m_values.text(QStringLiteral("DDETIME"))))
            m_values.set(QStringLiteral("DDETIME"), SettingValue::text(QStringLiteral("22:32")));
    }

    SettingsStore& m_store;
    const SettingsContext& m_ctx;
    QStringList* m_notes;
    Einstellungen m_values;
};

// Writes the value as the catalogue types it. A value set with a type that does not
// convert is written as it is; the next start reports it and uses the default.
void writeAs(SettingsStore& store, const QString& name, const SettingValue& value, ValueType type) {
    const auto converted = convertValue(value, type);
    store.write(mainKey(), name, converted ? *converted : value);
}

void writeIfPresent(SettingsStore& store, const Einstellungen& values, const QString& name) {
    const auto value = values.value(name);
    if (!value) return;
    const auto dyn = matchDynamicSetting(name);
    Q_ASSERT(dyn);
    writeAs(store, name, *value, dyn->type);
}

void writeGridLayouts(SettingsStore& store, const Einstellungen& values) {
    for (const int grid : kGridNumbers) {
        for (const char* field : kFontFields) writeIfPresent(store, values, gridFontName(grid, QLatin1String(field)));
        int columns = 0;
        for (; values.has(gridColumnName(grid, QStringLiteral("Width"), columns)); ++columns)
            for (const char* field : kColumnFields)
                writeIfPresent(store, values, gridColumnName(grid, QLatin1String(field), columns));
        // The start reads columns up to the first missing width, so columns dropped
        // since the last close must go, or they would come back.
        if (!values.has(gridFontName(grid, QStringLiteral("FontName")))) continue;
        for (const QString& name : store.valueNames(mainKey())) {
            const auto dyn = matchDynamicSetting(name);
            if (dyn && dyn->kind == DynamicKind::GridColumn && dyn->number == grid && dyn->index >= columns)
                store.removeValue(mainKey(), name);
        }
    }
}

}  // namespace

bool Einstellungen::has(const QString& name) const { return m_index.contains(folded(name)); }

std::optional<SettingValue> Einstellungen::value(const QString& name) const {
    const auto it = m_index.constFind(folded(name));
    if (it == m_index.cend()) return std::nullopt;
    return m_items[*it].value;
}

std::optional<SettingValue> Einstellungen::converted(const QString& name, ValueType type) const {
    if (const auto v = value(name))
        if (auto c = convertValue(*v, type)) return c;
    const SettingEntry* entry = findSetting(name);
    if (entry && entry->defaultKind == DefaultKind::Fixed) return convertValue(entry->fixedDefault, type);
    return std::nullopt;
}

QString Einstellungen::text(const QString& name) const {
    const auto v = converted(name, ValueType::Text);
    return v ? v->data.toString() : QString();
}

int Einstellungen::integer(const QString& name) const {
    const auto v = converted(name, ValueType::Integer);
    return v ? v->data.toInt() : 0;
}

bool Einstellungen::truth(const QString& name) const {
    const auto v = converted(name, ValueType::Bool);
    return v ? v->data.toBool() : false;
}

double Einstellungen::number(const QString& name) const {
    const auto v = converted(name, ValueType::Double);
    return v ? v->data.toDouble() : 0.0;
}

double Einstellungen::dateTime(const QString& name) const {
    const auto v = converted(name, ValueType::DateTime);
    return v ? v->data.toDouble() : 0.0;
}

void Einstellungen::set(const QString& name, const SettingValue& value) {
    const QString key = folded(name);
    const auto it = m_index.constFind(key);
    if (it != m_index.cend()) {
        m_items[*it].value = value;
        return;
    }
    m_index.insert(key, m_items.size());
    m_items.append(Item{name, value});
}

void Einstellungen::remove(const QString& name) {
    const auto it = m_index.constFind(folded(name));
    if (it == m_index.cend()) return;
    m_items.removeAt(*it);
    m_index.clear();
    for (qsizetype i = 0; i < m_items.size(); ++i) m_index.insert(folded(m_items[i].name), i);
}

void Einstellungen::removeGrid(int grid) {
    for (const QString& name : dynamicNames()) {
        const auto dyn = matchDynamicSetting(name);
        if (dyn->kind != DynamicKind::ToolBarBand && dyn->number == grid) remove(name);
    }
}

QStringList Einstellungen::names() const {
    QStringList out;
    for (const Item& item : m_items) out << item.name;
    return out;
}

QStringList Einstellungen::dynamicNames() const {
    QStringList out;
    for (const Item& item : m_items)
        if (matchDynamicSetting(item.name)) out << item.name;
    return out;
}

Einstellungen readSettingsAtStart(SettingsStore& store, const SettingsContext& ctx, QStringList* notes) {
    return StartReader(store, ctx, notes).run();
}

void writeSettingsOnClose(SettingsStore& store, const Einstellungen& values) {
    const QList<const SettingEntry*> order = closeOrder();
    const auto writeSteps = [&](bool window) {
        for (const SettingEntry* entry : order) {
            if ((entry->closeStep == CloseStep::Window) != window) continue;
            if (const auto v = values.value(entry->name)) writeAs(store, entry->name, *v, entry->type);
        }
    };
    writeSteps(false);
    writeGridLayouts(store, values);
    writeSteps(true);
}

void writeToolBarBands(SettingsStore& store, const Einstellungen& values) {
    for (const QString& name : values.dynamicNames()) {
        const auto dyn = matchDynamicSetting(name);
        if (dyn->kind == DynamicKind::ToolBarBand) writeIfPresent(store, values, name);
    }
}

}  // namespace q
