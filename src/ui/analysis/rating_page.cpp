#include "ui/analysis/rating_page.h"

#include "app/analysis_binding.h"
#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/report_html.h"
#include "base/text_files.h"
#include "overview/list_selection.h"
#include "ui/analysis/analysis_commands.h"
#include "ui/main_window.h"
#include "ui/portfolio/open_document.h"
#include "ui/printing.h"
#include "ui/status_progress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace q::ui {

RatingPage::RatingPage(TAktienkurse& window) : QWidget(&window), m_window(window) {
    setObjectName(QStringLiteral("RatingPage"));
    m_neu = new QPushButton(QStringLiteral("neue Berechnung"), this);
    auto* oeffnen = new QPushButton(QStringLiteral("In Textverarbeitung öffnen"), this);
    auto* drucken = new QPushButton(QStringLiteral("Drucken"), this);
    auto* parameter = new QPushButton(QStringLiteral("Parameter"), this);
    auto* kurse = new QPushButton(QStringLiteral("Kurse"), this);
    kurse->setToolTip(QStringLiteral("die Gewinner der Bewertung in der Kursübersicht zeigen"));
    m_entries = new QSpinBox(this);
    m_entries->setRange(5, 500);
    m_entries->setToolTip(QStringLiteral("wieviele Aktienbewertungen sollen angezeigt werden"));
    m_counts = new QLabel(this);
    m_view = new QTextBrowser(this);
    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_neu, oeffnen, drucken, parameter}) bar->addWidget(w);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("Einträge je Liste:"), this));
    bar->addWidget(m_entries);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    // "Kurse" beside the counts: the bar above stays as narrow as the window may be.
    auto* counts = new QHBoxLayout;
    counts->addWidget(m_counts, 1);
    counts->addWidget(kurse);
    layout->addLayout(counts);
    layout->addWidget(m_view, 1);

    connect(m_neu, &QPushButton::clicked, this, [this] { Berechnen(false); });
    connect(oeffnen, &QPushButton::clicked, this, [this] {
        const QString path = findFile(m_window.session().dirs.work, kRecommendationReport);
        if (path.isEmpty()) m_window.interaction().tell(QStringLiteral("Es gibt noch keine Bewertung (Empfehl.rtf)"));
        else openDocument(path, m_window.interaction());
    });
    connect(drucken, &QPushButton::clicked, this, &RatingPage::print);
    connect(parameter, &QPushButton::clicked, this, [this] { m_window.analysisCommands().AnalyseParameter(); });
    // The run's winners as the list of the quote overview. The selector offers the
    // rating lists once the run has written them, but not while this page is open:
    // they are put back first.
    connect(kurse, &QPushButton::clicked, this, [this] {
        m_window.setRatingListsHidden(false);
        const int entry = m_window.listSelector()->findText(kWinnersEntry);
        if (entry < 0) {
            m_window.setRatingListsHidden(true);
            m_window.interaction().tell(QStringLiteral("Es gibt noch keine Bewertung (Empfehl.rtf)"));
            return;
        }
        m_window.selectList(entry);
        m_window.pages()->setCurrentIndex(0);
    });
    connect(m_entries, &QSpinBox::valueChanged, this, [this](int n) {
        m_window.session().values.set(QStringLiteral("BewertTage"), SettingValue::integer(n));
    });
}

void RatingPage::activate() {
    QSignalBlocker block(m_entries);
    m_entries->setValue(analysisSettings(m_window.session().values).BewertTage);
    if (m_shown) return;
    const QString previous = findFile(m_window.session().dirs.work, kRecommendationReport);
    m_view->setPlainText(previous.isEmpty()
                             ? QStringLiteral("Noch keine Bewertung berechnet: \"neue Berechnung\" bewertet die Wertpapiere der Liste.")
                             : QStringLiteral("Die letzte Bewertung liegt in %1 (\"In Textverarbeitung öffnen\").").arg(previous));
}

std::optional<RatingRunResult> RatingPage::Berechnen(bool analysisTable) {
    Session& session = m_window.session();
    RatingRunOptions o;
    o.analysisTable = analysisTable;
    o.list = m_window.currentSelection();
    o.today = today();
    const PortfolioSettings money = portfolioSettings(session);
    o.homeSymbol = money.homeSymbol;
    o.decimals = money.decimals;
    const QString title = m_window.windowTitle();
    m_window.setWindowTitle(QStringLiteral("Quintara ... Analyseberechnung"));
    m_window.showStatus(QStringLiteral("Berechne Wertpapierbewertungen"));
    Result<RatingRunResult> run = [&] {
        WaitCursor wait;
        return ANALYSEBERECHNUNG(session.store, analysisSettings(session.values), o, m_window.progress());
    }();
    m_window.progressDone();
    m_window.setWindowTitle(title);
    if (!run) {
        m_window.showStatus(QString());
        m_window.interaction().tell(run.status().message());
        return std::nullopt;
    }
    for (const QString& note : run->notes) m_window.interaction().tell(note);
    m_window.showStatus(QStringLiteral("%1 von %2 Wertpapieren bewertet").arg(run->rated).arg(run->total));
    if (!run->analysisTable) {
        m_view->setHtml(report::toHtml(run->report));
        m_counts->setText(QStringLiteral("%1 Kaufempfehlungen, %2 Warnungen").arg(run->buyCount).arg(run->sellCount));
        m_shown = true;
    }
    return *run;
}

void RatingPage::print() { printReport(this, QStringLiteral("Quintara Wertpapierbewertung vom ") + formatDate(today()), *m_view); }

}  // namespace q::ui
