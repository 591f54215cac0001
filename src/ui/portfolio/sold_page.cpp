#include "ui/portfolio/sold_page.h"

#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/report_html.h"
#include "base/report_rtf.h"
#include "base/text_files.h"
#include "portfolio/currencies.h"
#include "portfolio/gains_report.h"
#include "portfolio/planner_inputs.h"
#include "ui/portfolio/rendite.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/main_window.h"
#include "ui/portfolio/open_document.h"
#include "ui/printing.h"
#include "ui/portfolio/report_page.h"
#include "ui/status_progress.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTextDocument>

namespace q::ui {

SoldPage::SoldPage(TAktienkurse& window)
    : QWidget(&window), m_window(window), m_period(GainsPeriod::year(today().year())) {
    const Einstellungen& v = window.session().values;
    m_year = new QSpinBox(this);
    m_year->setRange(1900, 2099);
    m_year->setValue(today().year());
    m_year->setToolTip(QStringLiteral("Jahr für Berechnung"));
    auto* jahr = pageButton(this, QStringLiteral("JAHR"), QStringLiteral("Gewinnbrechnung für alle Ihre Verkäufe des Jahres"));
    auto* alles = pageButton(this, QStringLiteral("ALLES"), QStringLiteral("Gewinnbrechnung für alle Transaktionen"));
    auto* vonBis = pageButton(this, QStringLiteral("Von/Bis"), QStringLiteral("Detail-Übersicht Ihres Depot für ein gewähltes Datum"));
    auto* oeffnen = pageButton(this, QStringLiteral("Öffnen"), QStringLiteral("in Textverarbeitung öffnen"));
    auto* drucken = pageButton(this, QStringLiteral("Drucken"), QStringLiteral("drucken des Gewinn Berichtes"));
    auto* rendite = pageButton(this, QStringLiteral("Rendite"), QStringLiteral("Renditeberechnung für gewähltes Jahr"));
    m_inDM = new QCheckBox(this);
    setSecondCurrency(portfolioSettings(window.session()).secondSymbol);
    m_inDM->setChecked(v.truth(QStringLiteral("GewinninDM")) && m_inDM->isEnabled());
    m_details = new QCheckBox(QStringLiteral("Details"), this);
    m_details->setChecked(v.truth(QStringLiteral("GewinnDetail")));
    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_year, jahr, alles, vonBis, m_inDM, m_details, oeffnen, drucken, rendite})
        bar->addWidget(w);
    bar->addStretch();

    m_header = new QLabel(this);
    m_header->setStyleSheet(QStringLiteral("font-weight: bold"));
    m_header->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_view = new QTextBrowser(this);
    m_view->setPlainText(QStringLiteral("Darstellung aller realisierten Gewinne und Verluste"));
    QHBoxLayout* totals = totalLabels(this, m_totals, std::size(m_totals));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_header);
    layout->addWidget(m_view, 1);
    layout->addLayout(totals);

    connect(jahr, &QPushButton::clicked, this, &SoldPage::Jahr);
    connect(alles, &QPushButton::clicked, this, &SoldPage::Alles);
    connect(vonBis, &QPushButton::clicked, this, &SoldPage::VonBis);
    connect(oeffnen, &QPushButton::clicked, this, [this] {
        const QString path = findFile(m_window.session().dirs.work, kGainsReport);
        if (path.isEmpty()) m_window.interaction().tell(QStringLiteral("Es gibt noch keinen Bericht (%1)").arg(kGainsReport));
        else openDocument(path, m_window.interaction());
    });
    connect(drucken, &QPushButton::clicked, this, &SoldPage::print);
    connect(rendite, &QPushButton::clicked, this, [this] { Rendite(m_year->value()); });
    connect(m_inDM, &QCheckBox::toggled, this, [this](bool on) {
        m_window.session().values.set(QStringLiteral("GewinninDM"), SettingValue::truth(on));
    });
    connect(m_details, &QCheckBox::toggled, this, [this](bool on) {
        m_window.session().values.set(QStringLiteral("GewinnDetail"), SettingValue::truth(on));
    });
}

void SoldPage::setSecondCurrency(const QString& symbol) { showSecondCurrency(*m_inDM, symbol); }

void SoldPage::clearTotals() {
    m_proceeds = 0;
    m_invested = 0;
}

void SoldPage::activate() {
    if (m_period.from == today()) m_period = GainsPeriod::year(m_year->value());
    Gewinnberechnung();
}

void SoldPage::Jahr() {
    m_period = GainsPeriod::year(m_year->value());
    clearTotals();
    Gewinnberechnung();
}

void SoldPage::Alles() {
    m_period = GainsPeriod::all();
    clearTotals();
    Gewinnberechnung();
}

void SoldPage::VonBis() {
    clearTotals();
    TDatumwahl from(this);
    from.setWindowText(QStringLiteral("Beginn der Gewinnberechnung"));
    from.setDatum(dayNumber(today()));
    if (from.exec() != QDialog::Accepted) return;
    m_period.from = dateFromDayNumber(from.datum());
    TDatumwahl to(this);
    to.setWindowText(QStringLiteral("Ende der Gewinnberechnung"));
    to.setDatum(dayNumber(today()));
    if (to.exec() != QDialog::Accepted) return;
    m_period.to = dateFromDayNumber(to.datum());
    Gewinnberechnung();
}

void SoldPage::Gewinnberechnung() {
    Session& s = m_window.session();
    const PortfolioSettings settings = portfolioSettings(s);
    WaitCursor wait;
    auto compute = [&](const GainsPeriod& period) -> Result<Gains> {
        auto converter = CurrencyConverter::load(s.store, settings);
        if (!converter) return converter.status();
        return q::Gewinnberechnung(s.store, *converter, settings.rule, {period, m_inDM->isChecked()}, m_window.interaction());
    };
    auto g = compute(m_period);
    // A period without a sale shows every sale, so that the page is never empty
    // while the depot has sold lots; the totals stay those of the period.
    if (g && g->empty() && !(m_period.from == GainsPeriod::all().from && m_period.to == GainsPeriod::all().to)) {
        auto all = compute(GainsPeriod::all());
        if (all && !all->empty()) {
            m_proceeds = 0;
            m_invested = 0;
            g = all;
        }
    } else if (g) {
        m_proceeds = g->proceeds();
        m_invested = g->invested();
    }
    if (!g) {
        m_window.interaction().tell(g.status().message());
        return;
    }
    m_gains = *g;
    const QString path = filePath(s.dirs.work, kGainsReport);
    GainsReportOptions options;
    options.details = m_details->isChecked();
    options.decimals = settings.decimals;
    options.today = today();
    if (m_gains.empty()) {
        QFile::remove(path);
        m_view->setPlainText(kNoGains);
    } else {
        const report::Document doc = gainsReport(m_gains, options);
        if (Status w = report::writeRtf(doc, path); !w) m_window.interaction().tell(w.message());
        m_view->setHtml(report::toHtml(doc));
    }
    m_header->setText(QStringLiteral("Anteile    Ankauf        Kurs                Summe               Verkauf      Kurs     "
                                     "            Summe               Gewinn             Prozent   ") +
                      formatDate(today()));
    const GainsTotals t = gainsTotals(m_gains, settings.decimals);
    const QString texts[5] = {t.shares, t.invested, t.proceeds, t.gain, t.percent};
    for (int i = 0; i < 5; ++i) {
        m_totals[i]->setText(texts[i]);
        m_totals[i]->setStyleSheet(i >= 3 && t.negative ? QStringLiteral("color: red") : QString());
    }
}

int SoldPage::Rendite(std::optional<int> year) {
    Session& s = m_window.session();
    const PortfolioSettings settings = portfolioSettings(s);
    const PlannerPeriod period = PlannerPeriod::of(year, today());
    auto in = [&]() -> Result<PlannerInputs> {
        WaitCursor wait;
        auto converter = CurrencyConverter::load(s.store, settings);
        if (!converter) return converter.status();
        return plannerInputs(s.store, *converter, settings.rule, period, m_window.interaction());
    }();
    if (!in) {
        m_window.interaction().tell(in.status().message());
        return 0;
    }
    const bool second = m_inDM->isChecked();
    in->f = second ? settings.wechselkurs : 1.0;
    const DepotPlan plan = readDepotPlan(s.dirs.depot);
    in->K = plan.capital.value_or(0.0);
    const QString caption = year ? QStringLiteral("Renditeanalyse für das Jahr %1").arg(*year)
                                 : QStringLiteral("Renditeanalyse für die gesamte Depotentwicklung");
    TRendite planner(this, m_window.interaction(), caption, *in, plan.wish, s.dirs.depot,
                     second ? settings.secondSymbol : settings.homeSymbol, settings.decimals);
    const int result = planner.exec();
    Gewinnberechnung();
    return result;
}

void SoldPage::print() { printReport(this, QStringLiteral("Übersicht der realisierten Gewinne ") + formatDate(today()), *m_view); }

}  // namespace q::ui
