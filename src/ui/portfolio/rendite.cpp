#include "ui/portfolio/rendite.h"

#include "base/formats.h"
#include "base/interaction.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <cmath>

namespace q::ui {

namespace {

const char* const kRows[] = {"Ankauf", "Verkauf", "Gewinn", "Rendite", "Umsatz", "U-Rendite"};
const char* const kColumns[] = {"Anlagen", "Gewinne", "Gesamt"};

struct TargetQuestion {
    PlannerTarget field;
    const char* name;
    const char* caption;
    const char* title;
    const char* question;
};
// The double-click questions. The planned gain, the total gain and the total
// return all ask for a gain.
const TargetQuestion kTargets[] = {
    {PlannerTarget::Wish, "wish", "Wunschrendite", "Wunschrendite", "Welche Rendite wollen Sie erreichen?"},
    {PlannerTarget::GeplantesErgebnis, "GeplantesErgebnis", "Geplantes Ergebnis", "Wunschdepotwert",
     "Welche Wert wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::GeplanterGewinn, "GeplanterGewinn", "Geplanter Gewinn", "Wunschdepotgewinn",
     "Welche Gewinn wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::AnlageWunsch, "AnlageWunsch", "Wert der Anlagen", "Wunschdepotwert",
     "Welche Wert wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::ANLAGEGEWINN, "ANLAGEGEWINN", "Gewinn der Anlagen", "Wunschdepotgewinn",
     "Welche Gewinn wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::AnlageProzent, "AnlageProzent", "Rendite der Anlagen", "Wunschredite der Anlagen",
     "Welche Rendite soll die Anlage bringen?"},
    {PlannerTarget::GesamtWunsch, "GesamtWunsch", "Gesamterlös", "Wunschdepotgewinn",
     "Welche Gesamterlös wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::GesamtGEWINN, "GesamtGEWINN", "Gesamtgewinn", "Wunschdepotgewinn",
     "Welche Gewinn wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::GesamtProzent, "GesamtProzent", "Gesamtrendite", "Wunschdepotgewinn",
     "Welche Gewinn wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::DifferenzVerkauf, "DifferenzVerkauf", "Fehlender Gewinn", "Wunschdepotwert",
     "Welche Wert wollen Sie erreichen mit Ihrem Depot?"},
    {PlannerTarget::DifferenzRendite, "DifferenzRendite", "Anstieg der Anlagen", "Das Depot muß steigen!",
     "Um Wieviel Prozent sollen die Anlagen steigen?"},
};

bool isPercent(PlannerTarget f) {
    return f == PlannerTarget::Wish || f == PlannerTarget::AnlageProzent || f == PlannerTarget::DifferenzRendite;
}

// What a double-click asks for: the total return asks for a gain (the total gain).
PlannerTarget askedField(PlannerTarget f) { return f == PlannerTarget::GesamtProzent ? PlannerTarget::GesamtGEWINN : f; }

}  // namespace

TRendite::TRendite(QWidget* parent, Interaction& ui, const QString& caption, PlannerInputs in, std::optional<double> storedWish,
                   const QString& depotDir, const QString& symbol, int decimals)
    : QDialog(parent), m_ui(ui), m_in(in), m_depotDir(depotDir), m_symbol(symbol), m_decimals(decimals) {
    setWindowTitle(caption);
    auto* table = new QGridLayout;
    for (int c = 0; c < 3; ++c) table->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(QLatin1String(kColumns[c])), this), 0, c + 1);
    for (int r = 0; r < 6; ++r) {
        table->addWidget(new QLabel(QString::fromLatin1(kRows[r]), this), r + 1, 0);
        for (int c = 0; c < 3; ++c)
            table->addWidget(addFigure(QStringLiteral("%1/%2").arg(QLatin1String(kColumns[c]), QLatin1String(kRows[r]))), r + 1, c + 1);
    }

    m_capital = new QLineEdit(this);
    m_capital->setToolTip(QStringLiteral("Mit welchem Kapitaleinsatz arbeitet Ihr Depot"));
    auto* fixed = new QGridLayout;
    fixed->addWidget(new QLabel(QStringLiteral("Kapital"), this), 0, 0);
    fixed->addWidget(m_capital, 0, 1);
    const std::pair<const char*, const char*> fixedRows[] = {
        {"Cash", "Dieser Betrag ist z.Zt. nicht investiert"},
        {"Depotwert", ""},
        {"Kapitalrendite", ""},
        {"Depotzuwachs", ""},
        {"Einsatz", "Dieser Betrag ist für dieses Depot als Kapitaleinsatz mindestens erforderlich! (Ankaufsumme - realisierter Gewinn)"}};
    int row = 1;
    for (const auto& [name, hint] : fixedRows) {
        auto* label = new QLabel(QString::fromLatin1(name), this);
        label->setToolTip(QString::fromUtf8(hint));
        fixed->addWidget(label, row, 0);
        fixed->addWidget(addFigure(QString::fromLatin1(name)), row++, 1);
    }

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(static_cast<int>(kWishMin * 1000), static_cast<int>(kWishMax * 1000));
    m_slider->setTickInterval(10000);
    m_slider->setSingleStep(1000);
    m_slider->setPageStep(10000);
    m_slider->setTickPosition(QSlider::TicksBelow);
    auto* targets = new QGridLayout;
    row = 0;
    for (const TargetQuestion& t : kTargets) {
        targets->addWidget(new QLabel(QString::fromUtf8(t.caption), this), row, 0);
        QLabel* value = addFigure(QString::fromLatin1(t.name));
        value->setToolTip(QStringLiteral("Doppelklick: Ziel eingeben"));
        value->installEventFilter(this);
        m_targets[value] = t.field;
        targets->addWidget(value, row++, 1);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(table);
    left->addLayout(fixed);
    left->addStretch();
    columns->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(m_slider);
    right->addLayout(targets);
    right->addStretch();
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);

    if (m_in.K == 0) m_in.K = m_in.minimumCapital();
    m_capital->setText(formatAmount(m_in.K * m_in.f, m_decimals));
    if (storedWish && *storedWish >= 0 && *storedWish <= kWishMax) m_slider->setValue(static_cast<int>(std::lround(*storedWish * 1000)));
    connect(m_slider, &QSlider::valueChanged, this, &TRendite::recompute);
    connect(m_capital, &QLineEdit::editingFinished, this, &TRendite::capitalEdited);
    connect(buttons, &QDialogButtonBox::accepted, this, &TRendite::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    recompute();
}

QLabel* TRendite::addFigure(const QString& name) {
    auto* label = new QLabel(this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setObjectName(name);
    m_figures[name] = label;
    return label;
}

QLabel* TRendite::figure(const QString& name) const {
    auto it = m_figures.find(name);
    return it == m_figures.end() ? nullptr : it->second;
}

double TRendite::wish() const { return m_slider->value() / 1000.0; }

void TRendite::showFigure(const QString& name, const std::optional<double>& value, bool percent) {
    QLabel* label = figure(name);
    if (!label) return;
    if (!value) {
        label->clear();
        return;
    }
    label->setText(percent ? formatAmount(*value, 2) + QStringLiteral(" %") : formatMoney(*value * m_in.f, m_decimals, m_symbol));
    label->setStyleSheet(*value < 0 ? QStringLiteral("color: red") : QString());
}

void TRendite::recompute() {
    const PlannerFigures f = plannerFigures(m_in);
    const PlannerColumn* columns[] = {&f.Anlagen, &f.Gewinne, &f.Gesamt};
    for (int c = 0; c < 3; ++c) {
        const QString col = QString::fromLatin1(kColumns[c]);
        showFigure(col + QStringLiteral("/Ankauf"), columns[c]->Ankauf, false);
        showFigure(col + QStringLiteral("/Verkauf"), columns[c]->Verkauf, false);
        showFigure(col + QStringLiteral("/Gewinn"), columns[c]->Gewinn, false);
        showFigure(col + QStringLiteral("/Rendite"), columns[c]->Rendite, true);
        showFigure(col + QStringLiteral("/Umsatz"), columns[c]->Umsatz, false);
        showFigure(col + QStringLiteral("/U-Rendite"), columns[c]->URendite, true);
    }
    showFigure(QStringLiteral("Cash"), f.Cash, false);
    showFigure(QStringLiteral("Depotwert"), f.Depotwert, false);
    showFigure(QStringLiteral("Kapitalrendite"), f.Kapitalrendite, true);
    showFigure(QStringLiteral("Depotzuwachs"), f.Depotzuwachs, false);
    showFigure(QStringLiteral("Einsatz"), f.Einsatz, false);
    const PlannerTargets t = plannerTargets(m_in, wish());
    showFigure(QStringLiteral("wish"), t.wish, true);
    showFigure(QStringLiteral("GeplantesErgebnis"), t.GeplantesErgebnis, false);
    showFigure(QStringLiteral("GeplanterGewinn"), t.GeplanterGewinn, false);
    showFigure(QStringLiteral("AnlageWunsch"), t.AnlageWunsch, false);
    showFigure(QStringLiteral("ANLAGEGEWINN"), t.ANLAGEGEWINN, false);
    showFigure(QStringLiteral("AnlageProzent"), t.AnlageProzent, true);
    showFigure(QStringLiteral("GesamtWunsch"), t.GesamtWunsch, false);
    showFigure(QStringLiteral("GesamtGEWINN"), t.GesamtGEWINN, false);
    showFigure(QStringLiteral("GesamtProzent"), t.GesamtProzent, true);
    showFigure(QStringLiteral("DifferenzVerkauf"), t.DifferenzVerkauf, false);
    showFigure(QStringLiteral("DifferenzRendite"), t.DifferenzRendite, true);
}

void TRendite::capitalEdited() {
    const auto v = parseAmount(m_capital->text());
    m_in.K = v && m_in.f != 0 ? *v / m_in.f : m_in.minimumCapital();
    if (!v) m_capital->setText(formatAmount(m_in.K * m_in.f, m_decimals));
    recompute();
}

void TRendite::reachTarget(PlannerTarget field, double shownValue) {
    const double value = isPercent(field) || m_in.f == 0 ? shownValue : shownValue / m_in.f;
    auto found = wishFor(m_in, field, value);
    if (!found) {
        m_ui.tell(found.status().message());
        return;
    }
    if (found->clamped)
        m_ui.tell(QStringLiteral("Das Ziel liegt außerhalb von -100 % bis 1000 %: die Wunschrendite bleibt bei %1 %")
                      .arg(formatAmount(found->wish, 2)));
    m_slider->setValue(static_cast<int>(std::lround(found->wish * 1000)));
    recompute();
}

bool TRendite::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        auto it = m_targets.find(qobject_cast<QLabel*>(watched));
        if (it != m_targets.end()) {
            const PlannerTarget field = askedField(it->second);
            for (const TargetQuestion& t : kTargets)
                if (t.field == it->second) {
                    const auto answer = m_ui.input(QString::fromUtf8(t.title), QString::fromUtf8(t.question));
                    // An answer that is no number changes nothing.
                    if (answer)
                        if (const auto v = readPlannerNumber(*answer)) reachTarget(field, *v);
                    break;
                }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TRendite::save() {
    const auto v = parseAmount(m_capital->text());
    const double capital = v && m_in.f != 0 ? *v / m_in.f : 0.0;
    if (Status w = writeDepotPlan(m_depotDir, capital, wish()); !w) {
        m_ui.tell(w.message());
        return;
    }
    accept();
}

}  // namespace q::ui
