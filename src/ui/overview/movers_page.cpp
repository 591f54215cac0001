#include "ui/overview/movers_page.h"

#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/report_html.h"
#include "base/text_files.h"
#include "ui/main_window.h"
#include "ui/printing.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace q::ui {

MoversPage::MoversPage(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    const Einstellungen& v = window.session().values;
    m_count = new QSpinBox(this);
    m_count->setRange(5, 1000);
    m_count->setValue(std::clamp(v.integer(QStringLiteral("GUVZahl")), 5, 1000));
    m_count->setToolTip(QStringLiteral("wieviele Gewinner / Verlierer sollen angezeigt werden"));
    m_days = new QSpinBox(this);
    m_days->setRange(1, 1000);
    m_days->setValue(std::clamp(v.integer(QStringLiteral("GUVTage")), 1, 1000));
    m_days->setToolTip(QStringLiteral("Anzahl der Tage"));
    m_favourites = new QCheckBox(QStringLiteral("Favoriten"), this);
    m_view = new QTextBrowser(this);
    m_view->setOpenLinks(false);

    auto* row = new QHBoxLayout;
    const auto button = [&](const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setToolTip(hint);
        // "1", "30", "60" need no button of a word's width: the row stays within the
        // narrowest window.
        if (caption.size() <= 2) b->setMaximumWidth(b->fontMetrics().horizontalAdvance(caption) + 28);
        row->addWidget(b);
        return b;
    };
    auto* one = button(QStringLiteral("1"), QStringLiteral("Berechnung der Differenz für den letzten Tag"));
    auto* thirty = button(QStringLiteral("30"), QStringLiteral("Berechnung der Differenz für die letzten 30 Tag"));
    auto* sixty = button(QStringLiteral("60"), QStringLiteral("Berechnung der Differenz für die letzten 60 Tag"));
    auto* days = button(QStringLiteral("Tage"), QStringLiteral("Berechnung der Differenz für die gewählte Anzahl Tag"));
    auto* range = button(QStringLiteral("von/bis"), QString());
    row->addWidget(m_days);
    row->addWidget(new QLabel(QStringLiteral("Anzahl:"), this));
    row->addWidget(m_count);
    row->addWidget(m_favourites);
    row->addStretch(1);
    auto* drucken = button(QStringLiteral("Drucken"), QStringLiteral("drucken der Gewinner und Verlierer"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_view, 1);

    connect(one, &QPushButton::clicked, this, [this] { Tage(1); });
    connect(thirty, &QPushButton::clicked, this, [this] { Tage(30); });
    connect(sixty, &QPushButton::clicked, this, [this] { Tage(60); });
    connect(days, &QPushButton::clicked, this, [this] { Berechnen(today().addDays(-m_days->value())); });
    connect(range, &QPushButton::clicked, this, &MoversPage::VonBis);
    connect(drucken, &QPushButton::clicked, this, &MoversPage::print);
}

void MoversPage::print() { printReport(this, QStringLiteral("Gewinner und Verlierer vom ") + formatDate(today()), *m_view); }

void MoversPage::activate() {
    m_favourites->setChecked(m_window.onlyFavourites());
    if (m_last) return;
    // The report file of an earlier run, found by the one spelling the run writes.
    const QString previous = findFile(m_window.session().dirs.work, kMoversReport);
    m_view->setPlainText(previous.isEmpty()
                             ? QStringLiteral("Noch keine Gewinner und Verlierer berechnet: wählen Sie einen Zeitraum.")
                             : QStringLiteral("Die letzte Auswertung liegt in %1.").arg(previous));
}

void MoversPage::Tage(int days) { Berechnen(moversStart(today(), days)); }

void MoversPage::VonBis() {
    Interaction& ui = m_window.interaction();
    auto from = ui.input(QStringLiteral("Anfangsdatum für Berechnung"), formatDate(today().addDays(-m_days->value())));
    if (!from) return;
    auto to = ui.input(QStringLiteral("Enddatum für Berechnung"), formatDate(today()));
    if (!to) return;
    const auto start = parseDate(*from), end = parseDate(*to);
    if (!start || !end) {
        ui.tell(QStringLiteral("Kein gültiges Datum: %1").arg(!start ? *from : *to));
        return;
    }
    Berechnen(*start, *end);
}

bool MoversPage::Berechnen(const QDate& from, const QDate& to) {
    Session& s = m_window.session();
    ListSelection selection = m_window.currentSelection();
    selection.favouritesOnly = m_favourites->isChecked();
    auto list = resolveList(s.store, selection);
    if (!list) {
        m_window.interaction().tell(list.status().message());
        return false;
    }
    MoversOptions o;
    o.from = from;
    o.to = to;
    o.count = m_count->value();
    const PortfolioSettings money = portfolioSettings(s);
    o.homeSymbol = money.homeSymbol;
    o.decimals = money.decimals;
    s.values.set(QStringLiteral("GUVZahl"), SettingValue::integer(m_count->value()));
    s.values.set(QStringLiteral("GUVTage"), SettingValue::integer(m_days->value()));
    auto r = writeMoversReport(s.store, *list, o);
    if (!r) {
        m_window.interaction().tell(r.status().message());
        return false;
    }
    m_view->setHtml(report::toHtml(r->report));
    m_last = std::move(*r);
    return true;
}

}  // namespace q::ui
