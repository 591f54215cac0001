#include "ui/portfolio/limits_panel.h"

#include "app/portfolio_binding.h"
#include "base/formats.h"
#include "portfolio/prices.h"
#include "ui/main_window.h"
#include "ui/overview/overview_page.h"
#include "ui/portfolio/limit_dialog.h"
#include "ui/status_progress.h"

#include <QAction>
#include <algorithm>
#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace q::ui {

namespace {

QSpinBox* percentBox(QWidget* parent, const QString& prefix, int value) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, 1000);
    box->setPrefix(prefix);
    box->setSuffix(QStringLiteral("          %"));
    box->setValue(value);
    return box;
}

}  // namespace

LimitsPanel::LimitsPanel(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    const Einstellungen& v = window.session().values;
    m_upper = new QLineEdit(this);
    m_lower = new QLineEdit(this);
    const LimitPercents stored = limitPercents(v);
    m_plus = percentBox(this, QStringLiteral("+ "), stored.plus);
    m_minus = percentBox(this, QStringLiteral("- "), stored.minus);
    auto* upperButton = new QPushButton(QStringLiteral("vom Kurs"), this);
    auto* lowerButton = new QPushButton(QStringLiteral("vom Kurs"), this);
    auto* save = new QPushButton(QStringLiteral("Speichern"), this);
    auto* clear = new QPushButton(QStringLiteral("Löschen"), this);
    auto* hint = new QLabel(QStringLiteral("Limit wird im Kursdiagramm als Linie angezeigt und kann über die Taste \"L\" gefiltert werden"),
                            this);
    hint->setWordWrap(true);

    auto* form = new QFormLayout;
    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(m_upper);
    upperRow->addWidget(m_plus);
    upperRow->addWidget(upperButton);
    auto* lowerRow = new QHBoxLayout;
    lowerRow->addWidget(m_lower);
    lowerRow->addWidget(m_minus);
    lowerRow->addWidget(lowerButton);
    form->addRow(QStringLiteral("Oberes Limit"), upperRow);
    form->addRow(QStringLiteral("Unteres Limit"), lowerRow);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(clear);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(hint);
    layout->addStretch();

    connect(upperButton, &QPushButton::clicked, this, &LimitsPanel::upperFromPrice);
    connect(lowerButton, &QPushButton::clicked, this, &LimitsPanel::lowerFromPrice);
    connect(save, &QPushButton::clicked, this, &LimitsPanel::save);
    connect(clear, &QPushButton::clicked, this, &LimitsPanel::clear);
    for (auto [box, name] : {std::pair{m_plus, "LimitanPlus"}, std::pair{m_minus, "LimitanMinus"}})
        connect(box, &QSpinBox::valueChanged, this, [this, name = QString::fromLatin1(name)](int value) {
            m_window.session().values.set(name, SettingValue::integer(value));
        });
}

void LimitsPanel::showSecurity(int firma) {
    m_firma = firma;
    setEnabled(firma > 0);
    Limits l;
    if (firma > 0) {
        auto read = readLimits(m_window.session().store, firma);
        if (read) l = *read;
    }
    const int decimals = portfolioSettings(m_window.session()).decimals;
    m_upper->setText(formatAmount(l.oberes, decimals));
    m_lower->setText(formatAmount(l.unteres, decimals));
}

std::optional<Limits> LimitsPanel::fieldLimits() {
    Limits l;
    for (auto [field, into] : {std::pair{m_upper, &l.oberes}, std::pair{m_lower, &l.unteres}}) {
        const auto v = field->text().trimmed().isEmpty() ? std::optional<double>(0.0) : parseAmount(field->text());
        if (!v) {
            m_window.interaction().tell(QStringLiteral("\"%1\" ist keine Zahl").arg(field->text()));
            return std::nullopt;
        }
        if (Status ok = checkLimit(*v); !ok) {
            m_window.interaction().tell(ok.message());
            return std::nullopt;
        }
        *into = *v;
    }
    return l;
}

void LimitsPanel::store(const Limits& limits) {
    if (m_firma <= 0) return;
    if (Status w = writeLimits(m_window.session().store, m_firma, limits); !w) {
        m_window.interaction().tell(w.message());
        return;
    }
    showSecurity(m_firma);
    Q_EMIT limitsChanged(m_firma);
}

double LimitsPanel::price() {
    if (m_priceSource)
        if (const auto selected = m_priceSource()) return *selected;
    auto aktien = m_window.session().store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return 0.0;
    auto newest = priceOnOrBefore(**aktien, m_firma, QDate(9999, 12, 31));
    return newest && newest->has_value() ? (*newest)->kurs : 0.0;
}

void LimitsPanel::upperFromPrice() {
    if (m_firma <= 0 || m_plus->value() <= 0) return;
    auto fields = fieldLimits();
    if (!fields) return;
    auto u = q::upperFromPrice(price(), m_plus->value());
    if (!u) return m_window.interaction().tell(u.status().message());
    fields->oberes = *u;
    store(*fields);
}

void LimitsPanel::lowerFromPrice() {
    if (m_firma <= 0 || m_minus->value() <= 0) return;
    auto fields = fieldLimits();
    if (!fields) return;
    auto d = q::lowerFromPrice(price(), m_minus->value());
    if (!d) return m_window.interaction().tell(d.status().message());
    fields->unteres = *d;
    store(*fields);
}

void LimitsPanel::save() {
    if (auto l = fieldLimits()) store(*l);
}

void LimitsPanel::clear() { store(Limits{}); }

LimitCommands::LimitCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_limits = new QAction(QStringLiteral("&Limits"), this);
    connect(m_limits, &QAction::triggered, this, [this] {
        OverviewPage* page = m_window.overviewPage();
        m_window.pages()->setCurrentWidget(page);
        page->innerPages()->setCurrentWidget(page->limitsPanel());
    });
    m_scan = new QAction(QStringLiteral("L"), this);
    m_scan->setCheckable(true);
    m_scan->setToolTip(QStringLiteral("alle Wertpapiere mit gesetzten Limit werden in der Auswahlbox angezeigt"));
    connect(m_scan, &QAction::toggled, this, [this](bool on) { toggleScan(on); });
}

std::optional<LimitScanResult> LimitCommands::toggleScan(bool on) {
    if (!on) {
        m_window.restoreFavouriteTabs();
        return std::nullopt;
    }
    Session& s = m_window.session();
    LimitScanOptions options;
    options.stopLoss = m_window.interaction().ask(QStringLiteral("Stop-Loss-Limit nachziehen?!"),
                                                  QStringLiteral("Soll eine automatische Anpannung des unteren Limits vorgenommen werden?"),
                                                  Answer::No) == Answer::Yes;
    const LimitPercents stored = limitPercents(s.values);
    options.upperPercent = stored.plus;
    options.lowerPercent = stored.minus;
    options.onlyFavourites = m_window.onlyFavourites();
    TLimitDialog dialog(&m_window, portfolioSettings(s).decimals);
    std::optional<LimitScanResult> result;
    {
        WaitCursor wait;
        auto scanned = LimitScan(s.store, options, [&dialog](LimitFinding& f, LimitScanOptions& o) { return dialog.ask(f, o); });
        if (!scanned) {
            m_window.interaction().tell(scanned.status().message());
            return std::nullopt;
        }
        result = *scanned;
    }
    if (!result->changedMeanwhile.isEmpty()) m_window.interaction().tell(limitsChangedMeanwhile(result->changedMeanwhile));
    s.values.set(QStringLiteral("LimitanPlus"), SettingValue::integer(static_cast<int>(result->options.upperPercent)));
    s.values.set(QStringLiteral("LimitanMinus"), SettingValue::integer(static_cast<int>(result->options.lowerPercent)));
    std::vector<std::pair<int, QString>> tabs;
    for (const LimitSubject& a : result->active) tabs.emplace_back(a.firma, a.name);
    m_window.showFavouriteTabs(tabs);
    m_window.showStatus(QStringLiteral("Limit erreicht: %1, geändert: %2")
                            .arg(std::count_if(result->findings.begin(), result->findings.end(),
                                               [](const LimitFinding& f) { return f.lowerBreached || f.upperBreached; }))
                            .arg(result->written));
    m_window.reopenViews();
    return result;
}

}  // namespace q::ui
