#include "ui/overview/comparison_page.h"

#include "app/chart_sources.h"
#include "base/formats.h"
#include "charts/chart_export.h"
#include "overview/list_selection.h"
#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCompleter>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QVBoxLayout>

namespace q::ui {

ComparisonPage::ComparisonPage(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("ComparisonPage"));
    m_chart = new charts::ComparisonPlot(this);
    // One completer for the five boxes: the names of every security, found by any part.
    m_completer = new QCompleter(new QStringListModel(this), this);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchContains);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    auto* boxes = new QHBoxLayout;
    for (int i = 1; i <= 5; ++i) {
        auto* name = new QLineEdit(this);
        name->setObjectName(QStringLiteral("Vergleich%1").arg(i));
        name->setPlaceholderText(QStringLiteral("Wertpapier %1").arg(i));
        name->setCompleter(m_completer);
        connect(name, &QLineEdit::editingFinished, this, &ComparisonPage::VergleichsDiagramm);
        boxes->addWidget(name, 1);
        m_names << name;
    }
    m_date = new QDateEdit(this);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setDate(QDate::currentDate().addDays(-30));
    connect(m_date, &QDateEdit::dateChanged, this, &ComparisonPage::VergleichsDiagramm);
    m_depot = new QCheckBox(QStringLiteral("Depotvergleich"), this);
    connect(m_depot, &QCheckBox::toggled, this, &ComparisonPage::VergleichsDiagramm);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("ab"), this));
    row->addWidget(m_date);
    row->addWidget(m_depot);
    row->addStretch(1);
    m_chart->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("Diagramm &kopieren (BMP)"), m_chart);
    connect(copy, &QAction::triggered, this, [this] { charts::copyChart(*m_chart); });
    m_chart->addAction(copy);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(row);
    layout->addWidget(m_chart, 1);
}

void ComparisonPage::refreshNames() {
    QStringList names;
    if (auto all = resolveList(m_window.session().store, ListSelection{}))
        for (const SecurityRecord& r : *all) names << r.FirmenName.trimmed();
    names.removeAll(QString());
    static_cast<QStringListModel*>(m_completer->model())->setStringList(names);
}

void ComparisonPage::showEvent(QShowEvent* event) {
    refreshNames();
    QWidget::showEvent(event);
}

void ComparisonPage::applyValues() {
    refreshNames();
    const Einstellungen& v = m_window.session().values;
    const QSignalBlocker quietDate(m_date), quietDepot(m_depot);
    for (int i = 0; i < m_names.size(); ++i) m_names[i]->setText(v.text(QStringLiteral("Vergleich%1").arg(i + 1)));
    if (v.has(QStringLiteral("Datum"))) m_date->setDate(dateFromDayNumber(v.dateTime(QStringLiteral("Datum"))));
    m_depot->setChecked(v.truth(QStringLiteral("Depotvergleich")));
}

void ComparisonPage::VergleichsDiagramm() {
    Einstellungen& v = m_window.session().values;
    QStringList names;
    for (int i = 0; i < m_names.size(); ++i) {
        names << m_names[i]->text().trimmed();
        v.set(QStringLiteral("Vergleich%1").arg(i + 1), SettingValue::text(names.last()));
    }
    v.set(QStringLiteral("Datum"), SettingValue::dateTime(dayNumber(m_date->date())));
    v.set(QStringLiteral("Depotvergleich"), SettingValue::truth(m_depot->isChecked()));
    auto chart = loadComparison(m_window.session(), names, m_date->date());
    if (!chart) {
        m_window.showStatus(chart.status().message());
        return;
    }
    for (const QString& notice : chart->notices) m_window.showStatus(notice);
    m_chart->show(*chart);
}

}  // namespace q::ui
