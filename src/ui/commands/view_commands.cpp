#include "ui/commands/view_commands.h"

#include "ui/main_window.h"
#include "ui/tool_bar_bands.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>

namespace q::ui {

const QStringList& languageNames() {
    static const QStringList names{QStringLiteral("Deutsch"),    QStringLiteral("Englisch"),  QStringLiteral("Catalan"),
                                   QStringLiteral("French"),     QStringLiteral("Spanisch"),  QStringLiteral("Russisch"),
                                   QStringLiteral("Portuguese"), QStringLiteral("Italian"),   QStringLiteral("Dutch"),
                                   QStringLiteral("Danish"),     QStringLiteral("Swedish"),   QStringLiteral("Brasilian")};
    return names;
}

ViewCommands::ViewCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_direkthilfe = new QAction(QStringLiteral("Direkthilfe"), &window);
    m_direkthilfe->setCheckable(true);
    m_direkthilfe->setChecked(true);
    m_languages = new QActionGroup(this);
    m_languages->setExclusive(true);
    for (int i = 0; i < languageNames().size(); ++i) {
        QAction* a = m_languages->addAction(languageNames()[i]);
        a->setCheckable(true);
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] {
            m_window.session().values.set(QStringLiteral("Sprache"), SettingValue::integer(i));
            m_window.showStatus(QStringLiteral("Sprache der Diagrammtexte: %1").arg(languageNames()[i]));
        });
    }
    m_save = new QAction(QStringLiteral("Leiste &speichern"), &window);
    m_load = new QAction(QStringLiteral("Leiste &laden"), &window);
    connect(m_save, &QAction::triggered, this, &ViewCommands::saveToolBars);
    connect(m_load, &QAction::triggered, this, &ViewCommands::loadToolBars);
    qApp->installEventFilter(this);
}

QList<QAction*> ViewCommands::languages() const { return m_languages->actions(); }

bool ViewCommands::toolTipsShown() const { return m_direkthilfe->isChecked(); }

bool ViewCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_direkthilfe->isChecked()) return true;
    return QObject::eventFilter(watched, event);
}

void ViewCommands::applyValues(const Einstellungen& values) {
    if (values.has(QStringLiteral("Direkthilfe"))) m_direkthilfe->setChecked(values.truth(QStringLiteral("Direkthilfe")));
    const int language = values.integer(QStringLiteral("Sprache"));
    const QList<QAction*> all = m_languages->actions();
    all.value(language >= 0 && language < all.size() ? language : 0)->setChecked(true);
}

void ViewCommands::storeValues(Einstellungen& values) const {
    values.set(QStringLiteral("Direkthilfe"), SettingValue::truth(m_direkthilfe->isChecked()));
    if (QAction* checked = m_languages->checkedAction())
        values.set(QStringLiteral("Sprache"), SettingValue::integer(checked->data().toInt()));
}

void ViewCommands::saveToolBars() {
    Session& s = m_window.session();
    m_window.toolBarBands().store(s.values);
    writeToolBarBands(s.settings, s.values);
    if (Status saved = s.settings.save(); !saved) {
        m_window.interaction().tell(saved.message());
        return;
    }
    m_window.showStatus(QStringLiteral("Leisten gespeichert"));
}

void ViewCommands::loadToolBars() {
    Session& s = m_window.session();
    for (const QString& name : s.settings.valueNames(SettingsStore::kMainKey)) {
        const auto dyn = matchDynamicSetting(name);
        if (!dyn || dyn->kind != DynamicKind::ToolBarBand) continue;
        if (auto v = s.settings.read(SettingsStore::kMainKey, name, dyn->type)) s.values.set(name, *v);
    }
    m_window.toolBarBands().apply(s.values);
    m_window.showStatus(QStringLiteral("Leisten geladen"));
}

}  // namespace q::ui
