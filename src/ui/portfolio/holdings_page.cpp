#include "ui/portfolio/holdings_page.h"

#include "portfolio/lot.h"

#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/report_html.h"
#include "base/report_rtf.h"
#include "base/text_files.h"
#include "portfolio/currencies.h"
#include "portfolio/holdings_report.h"
#include "portfolio/performance.h"
#include "portfolio/value_history.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/main_window.h"
#include "ui/portfolio/open_document.h"
#include "ui/printing.h"
#include "ui/portfolio/report_page.h"
#include "ui/portfolio/portfolio_charts.h"
#include "ui/portfolio/sold_page.h"
#include "ui/status_progress.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include "charts/custom_plot.h"

namespace q::ui {

namespace {

const QString kNoReport = QStringLiteral("noch keine Wertpapiere eingetragen");

}  // namespace

HoldingsPage::HoldingsPage(TAktienkurse& window) : QWidget(&window), m_window(window), m_stichtag(today()) {
    const Einstellungen& v = window.session().values;
    auto* heute = pageButton(this, QStringLiteral("Heute"), QStringLiteral("Detail-Übersicht Ihres Depot für Heute"));
    auto* datum = pageButton(this, QStringLiteral("Datum"), QStringLiteral("Detail-Übersicht Ihres Depot für ein gewähltes Datum"));
    auto* neu = pageButton(this, QStringLiteral("Neu"), QStringLiteral("Neuberechnung der Depotwerte"));
    auto* depot = pageButton(this, QStringLiteral("Depot"), QStringLiteral("Entwicklung des Depotwertes"));
    auto* gewinn = pageButton(this, QStringLiteral("Gewinn"), QStringLiteral("Entwicklung des Gewinnes dieses Depots"));
    auto* gruppen = pageButton(this, QStringLiteral("Gruppen"), QString());
    auto* branchen = pageButton(this, QStringLiteral("Branchen"), QString());
    auto* oeffnen = pageButton(this, QStringLiteral("Öffnen"), QStringLiteral("In Textverarbeitung öffnen"));
    auto* drucken = pageButton(this, QStringLiteral("Drucken"), QStringLiteral("drucken des Anlagen Berichtes"));
    auto* rendite = pageButton(this, QStringLiteral("Rendite"), QStringLiteral("Renditeberechnung für gewähltes Jahr"));
    m_inDM = new QCheckBox(this);
    setSecondCurrency(portfolioSettings(window.session()).secondSymbol);
    m_inDM->setChecked(v.truth(QStringLiteral("AnlageninDM")) && m_inDM->isEnabled());
    m_details = new QCheckBox(QStringLiteral("Details"), this);
    m_details->setChecked(v.truth(QStringLiteral("AnlageDetail")));
    m_dividendLabel = new QLabel(QStringLiteral("Dividendenrendite"), this);
    m_dividendLabel->setCursor(Qt::PointingHandCursor);
    m_dividendLabel->installEventFilter(this);
    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{heute, datum, neu, depot, gewinn, gruppen, branchen}) bar->addWidget(w);
    bar->addStretch();
    auto* bar2 = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_inDM, m_details, m_dividendLabel, oeffnen, drucken, rendite}) bar2->addWidget(w);
    bar2->addStretch();

    m_header = new QLabel(this);
    m_header->setStyleSheet(QStringLiteral("font-weight: bold"));
    // The caption is wider than a small window; it is cut rather than widening it.
    m_header->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_view = new QTextBrowser(this);
    m_view->setPlainText(kNoReport);
    m_bars = new QCustomPlot(this);
    m_bars->setMinimumSize(320, 200);
    m_history = new QCustomPlot(this);
    m_history->setMinimumSize(320, 200);
    auto* reportAndBars = new QSplitter(Qt::Horizontal, this);
    reportAndBars->addWidget(m_view);
    reportAndBars->addWidget(m_bars);
    reportAndBars->setStretchFactor(0, 3);
    reportAndBars->setStretchFactor(1, 1);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(reportAndBars);
    m_stack->addWidget(m_history);
    m_performance = new QLabel(this);
    m_performance->setToolTip(QStringLiteral("Zeitgewichtete Rendite (Tagesfaktoren verkettet) und interner Zinsfuß der Zahlungen "
                                             "über den ganzen Depotwert-Verlauf"));
    QHBoxLayout* totals = totalLabels(this, m_totals, std::size(m_totals));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(bar2);
    layout->addWidget(m_header);
    layout->addWidget(m_stack, 1);
    layout->addLayout(totals);
    layout->addWidget(m_performance);

    connect(heute, &QPushButton::clicked, this, &HoldingsPage::Heute);
    connect(datum, &QPushButton::clicked, this, &HoldingsPage::Datum);
    connect(neu, &QPushButton::clicked, this, &HoldingsPage::Neu);
    connect(depot, &QPushButton::clicked, this, &HoldingsPage::DepotChart);
    connect(gewinn, &QPushButton::clicked, this, &HoldingsPage::GewinnChart);
    connect(gruppen, &QPushButton::clicked, this, &HoldingsPage::GruppenChart);
    connect(branchen, &QPushButton::clicked, this, &HoldingsPage::BranchenChart);
    connect(oeffnen, &QPushButton::clicked, this, [this] {
        const QString path = findFile(m_window.session().dirs.work, kHoldingsReport);
        if (path.isEmpty()) m_window.interaction().tell(QStringLiteral("Es gibt noch keinen Bericht (%1)").arg(kHoldingsReport));
        else openDocument(path, m_window.interaction());
    });
    connect(drucken, &QPushButton::clicked, this, &HoldingsPage::print);
    // The planner of the year the sold-lots page shows.
    connect(rendite, &QPushButton::clicked, this, [this] {
        SoldPage* sold = m_window.soldPage();
        sold->Rendite(sold->yearBox()->value());
    });
    connect(m_inDM, &QCheckBox::toggled, this, [this](bool on) {
        m_window.session().values.set(QStringLiteral("AnlageninDM"), SettingValue::truth(on));
    });
    connect(m_details, &QCheckBox::toggled, this, [this](bool on) {
        m_window.session().values.set(QStringLiteral("AnlageDetail"), SettingValue::truth(on));
    });
    connect(m_bars, &QCustomPlot::plottableClick, this, [this](QCPAbstractPlottable*, int index, QMouseEvent*) {
        const auto& list = m_showBranches ? m_valuation.branches : m_valuation.groups;
        if (index >= 0 && index < static_cast<int>(list.size())) m_window.interaction().tell(list[static_cast<size_t>(index)].label());
    });
}

bool HoldingsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_dividendLabel && event->type() == QEvent::MouseButtonRelease) {
        // Shown at the next valuation.
        m_dividends = !m_dividends;
        m_dividendLabel->setStyleSheet(m_dividends ? QStringLiteral("color: red") : QString());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void HoldingsPage::setSecondCurrency(const QString& symbol) { showSecondCurrency(*m_inDM, symbol); }

bool HoldingsPage::historyShown() const { return m_stack->currentWidget() == m_history; }

void HoldingsPage::activate() {
    m_depotValue = 0;
    m_investedSum = 0;
    Session& s = m_window.session();
    PortfolioSettings settings = portfolioSettings(s);
    auto refreshed = refreshFactors(s.store, settings);
    if (!refreshed) m_window.showStatus(refreshed.status().message());
    else s.secondCurrencyFactor = settings.wechselkurs;
    Heute();
}

void HoldingsPage::Heute() {
    m_stichtag = today();
    BerechnungAnlagen();
    AnlagenBerechnung();
}

void HoldingsPage::Datum() {
    m_depotValue = 0;
    m_investedSum = 0;
    TDatumwahl ask(this);
    ask.setWindowText(QStringLiteral("Beginn der Depotberechnung"));
    ask.setDatum(dayNumber(today()));
    if (ask.exec() != QDialog::Accepted) return;
    m_stichtag = dateFromDayNumber(ask.datum());
    AnlagenBerechnung();
}

void HoldingsPage::Neu() {
    if (m_window.interaction().ask(QStringLiteral("Depotwert neu berechnen?"),
                                   QStringLiteral("Wollen Sie die Depotwerte wirklich neu berechnen?"), Answer::No) != Answer::Yes)
        return;
    Store& store = m_window.session().store;
    store.close(kHistory);
    const QString path = findFile(m_window.session().dirs.depot, kHistory);
    if (!path.isEmpty() && !QFile::remove(path)) {
        m_window.interaction().tell(QStringLiteral("%1 kann nicht gelöscht werden").arg(path));
        return;
    }
    for (const char* side : {"-wal", "-shm"}) QFile::remove(path + QLatin1String(side));
    BerechnungAnlagen();
}

void HoldingsPage::BerechnungAnlagen() {
    Session& s = m_window.session();
    std::optional<QDate> start;
    if (!s.store.exists(kHistory)) {
        // The history starts on the day chosen here; the first booking's day keeps all of it.
        QDate first = today();
        if (auto bookings = s.store.table(QStringLiteral("Transaktionen.db")))
            if (auto lots = readLots(**bookings, Query()))
                for (const Lot& lot : *lots)
                    if (lot.Datum.isValid() && lot.Datum < first) first = lot.Datum;
        TDatumwahl ask(this);
        ask.setWindowText(QStringLiteral("Beginn der Depotberechnung"));
        ask.setQuestion(QStringLiteral("Ab welchem Tag soll der Depotwert Tag für Tag berechnet werden?\n"
                                       "Die Depotentwicklung beginnt an diesem Tag; vorgeschlagen ist der Tag der ersten Buchung.\n"
                                       "Mit \"Neu\" lässt sich der Beginn später neu wählen."));
        ask.setDatum(dayNumber(first));
        if (ask.exec() != QDialog::Accepted) return;
        start = dateFromDayNumber(ask.datum());
    }
    auto converter = CurrencyConverter::load(s.store, portfolioSettings(s));
    if (!converter) {
        m_window.interaction().tell(converter.status().message());
        return;
    }
    WaitCursor wait;
    auto done = q::BerechnungAnlagen(s.store, *converter, start, m_window.progress());
    m_window.progressDone();
    if (!done && done.status().category() != Category::Cancelled) m_window.interaction().tell(done.status().message());
}

void HoldingsPage::AnlagenBerechnung() {
    Session& s = m_window.session();
    const PortfolioSettings settings = portfolioSettings(s);
    auto converter = CurrencyConverter::load(s.store, settings);
    Result<Valuation> v = converter ? q::AnlagenBerechnung(s.store, *converter, settings.rule, {m_stichtag, m_inDM->isChecked()})
                                    : Result<Valuation>(converter.status());
    if (!v) {
        m_window.interaction().tell(v.status().message());
        return;
    }
    m_valuation = *v;
    HoldingsReportOptions options;
    options.details = m_details->isChecked();
    options.dividends = m_dividends;
    options.decimals = settings.decimals;
    options.homeSymbol = settings.homeSymbol;
    options.today = today();
    const QString path = filePath(s.dirs.work, kHoldingsReport);
    if (m_valuation.empty()) {
        QFile::remove(path);
        m_view->setPlainText(kNoReport);
    } else {
        const report::Document doc = holdingsReport(m_valuation, options);
        if (Status w = report::writeRtf(doc, path); !w) m_window.interaction().tell(w.message());
        if (Status h = writeHistoryRecord(s.store, historyRecord(m_stichtag, m_valuation.homeTotal)); !h)
            m_window.interaction().tell(h.message());
        m_view->setHtml(report::toHtml(doc));
        m_depotValue = m_valuation.homeTotal.value;
        m_investedSum = m_valuation.homeTotal.invested;
    }
    m_header->setText(QStringLiteral("Anteile    Ankauf       Kurs                Anlagesumme    akt.Datum  Kurs                "
                                     "Depotsumme    Gewinn             Prozent   ") +
                      formatDate(today()));
    const HoldingsTotals t = holdingsTotals(m_valuation, options);
    const QString texts[7] = {t.shares, t.invested, t.date, t.value, t.gain, t.percent, t.yield};
    for (int i = 0; i < 7; ++i) {
        m_totals[i]->setText(texts[i]);
        m_totals[i]->setStyleSheet(i >= 4 && t.negative ? QStringLiteral("color: red") : QString());
    }
    showPerformance();
    m_stack->setCurrentIndex(0);
    if (m_showBranches) BranchenChart();
    else GruppenChart();
}

void HoldingsPage::showPerformance() {
    Session& s = m_window.session();
    auto converter = CurrencyConverter::load(s.store, portfolioSettings(s));
    auto p = converter ? q::performance(s.store, *converter, QDate(), QDate()) : Result<Performance>(converter.status());
    if (!p || !p->from.isValid()) {
        m_performance->clear();
        return;
    }
    const auto pct = [](const std::optional<double>& v) { return v ? formatAmount(*v, 2) + QStringLiteral(" %") : QStringLiteral("-"); };
    m_performance->setText(QStringLiteral("Seit %1: zeitgewichtete Rendite %2 (%3 pro Jahr), interner Zinsfuß %4 pro Jahr")
                               .arg(formatDate(p->from), pct(p->ttwror), pct(p->ttwrorAnnualised), pct(p->irr)));
}

void HoldingsPage::GruppenChart() {
    m_showBranches = false;
    m_stack->setCurrentIndex(0);
    showBars(*m_bars, m_valuation.groups, QStringLiteral("Verteilung der Depotsumme ") + formatDate(m_stichtag));
}

void HoldingsPage::BranchenChart() {
    m_showBranches = true;
    m_stack->setCurrentIndex(0);
    showBars(*m_bars, m_valuation.branches, QStringLiteral("Verteilung der Depotsumme ") + formatDate(m_stichtag));
}

void HoldingsPage::showHistory(bool profit) {
    auto records = readHistory(m_window.session().store);
    if (!records) return m_window.interaction().tell(records.status().message());
    // The history is kept in the home currency.
    const PortfolioSettings p = portfolioSettings(m_window.session());
    const auto series = historySeries(*records, m_inDM->isChecked() ? p.wechselkurs : 1.0);
    m_stack->setCurrentWidget(m_history);
    if (profit) showProfitHistory(*m_history, series);
    else showValueHistory(*m_history, series);
}

void HoldingsPage::DepotChart() { showHistory(false); }
void HoldingsPage::GewinnChart() { showHistory(true); }

void HoldingsPage::print() { printReport(this, QStringLiteral("Übersicht der Anlagen am ") + formatDate(today()), *m_view); }

}  // namespace q::ui
