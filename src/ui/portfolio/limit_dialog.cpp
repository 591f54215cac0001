#include "ui/portfolio/limit_dialog.h"

#include "base/formats.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace q::ui {

namespace {

QDoubleSpinBox* percentBox(QWidget* parent, const QString& prefix) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0, 1000);
    box->setDecimals(1);
    box->setPrefix(prefix);
    box->setSuffix(QStringLiteral(" %"));
    return box;
}

}  // namespace

TLimitDialog::TLimitDialog(QWidget* parent, int decimals) : QDialog(parent), m_decimals(decimals) {
    setWindowTitle(QStringLiteral("Limit erreicht!!"));
    m_name = new QLabel(this);
    QFont big = m_name->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    m_name->setFont(big);
    m_lowerLabel = new QLabel(QStringLiteral("Unteres Limit:"), this);
    m_upperLabel = new QLabel(QStringLiteral("Oberes Limit"), this);
    m_lower = new QLineEdit(this);
    m_upper = new QLineEdit(this);
    m_price = new QLabel(this);
    m_lowerPct = percentBox(this, QStringLiteral("- "));
    m_upperPct = percentBox(this, QStringLiteral("+ "));
    auto* lowerMove = new QPushButton(QStringLiteral("Unteres Limit setzen"), this);
    auto* upperMove = new QPushButton(QStringLiteral("Oberes Limit setzen"), this);
    m_stopLoss = new QCheckBox(QStringLiteral("Stop-Loss"), this);
    m_stopLoss->setToolTip(QStringLiteral("Das untere Limit wird mit steigenden Kursen angepasst"));

    auto* form = new QFormLayout;
    form->addRow(m_lowerLabel, m_lower);
    form->addRow(m_upperLabel, m_upper);
    form->addRow(QStringLiteral("aktueller Kurse:"), m_price);
    auto* lowerRow = new QHBoxLayout;
    lowerRow->addWidget(m_lowerPct);
    lowerRow->addWidget(lowerMove);
    auto* upperRow = new QHBoxLayout;
    upperRow->addWidget(m_upperPct);
    upperRow->addWidget(upperMove);
    form->addRow(lowerRow);
    form->addRow(upperRow);
    form->addRow(m_stopLoss);

    const struct {
        LimitAnswer answer;
        const char* caption;
        const char* hint;
    } answers[] = {{LimitAnswer::Weiter, "&Weiter", ""},
                   {LimitAnswer::Nein, "&Nein", "dieses Limit nicht anpassen"},
                   {LimitAnswer::Alle, "&Alle", "alle überschrittenen Limit werden angepasst"},
                   {LimitAnswer::Abbrechen, "Abbrechen", "Keine weiteren Limitüberschreitungen anzeigen und anpassen"}};
    auto* buttons = new QHBoxLayout;
    for (const auto& a : answers) {
        auto* b = new QPushButton(QString::fromUtf8(a.caption), this);
        b->setToolTip(QString::fromUtf8(a.hint));
        m_answers[static_cast<int>(a.answer)] = b;
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, answer = a.answer] {
            m_answer = answer;
            accept();
        });
    }
    m_answers[0]->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // The buttons beside the percentages move a set limit from the price.
    connect(lowerMove, &QPushButton::clicked, this, [this] {
        const Limits l = limits();
        if (l.unteres == 0 || m_lowerPct->value() <= 0) return;
        if (auto v = lowerFromPrice(m_kurs, m_lowerPct->value())) m_lower->setText(formatAmount(*v, m_decimals));
    });
    connect(upperMove, &QPushButton::clicked, this, [this] {
        const Limits l = limits();
        if (l.oberes == 0 || m_upperPct->value() <= 0) return;
        if (auto v = upperFromPrice(m_kurs, m_upperPct->value())) m_upper->setText(formatAmount(*v, m_decimals));
    });
}

void TLimitDialog::fill(const LimitFinding& f, const LimitScanOptions& o) {
    m_kurs = f.subject.kurs;
    m_before = f.after;
    m_name->setText(f.subject.name);
    m_price->setText(QStringLiteral("%1 vom %2").arg(formatAmount(f.subject.kurs, m_decimals), formatDate(f.subject.datum)));
    m_lower->setText(formatAmount(f.after.unteres, m_decimals));
    m_upper->setText(formatAmount(f.after.oberes, m_decimals));
    m_lowerLabel->setStyleSheet(f.lowerBreached ? QStringLiteral("color: red") : QString());
    m_upperLabel->setStyleSheet(f.upperBreached ? QStringLiteral("color: green") : QString());
    m_lowerPct->setValue(o.lowerPercent);
    m_upperPct->setValue(o.upperPercent);
    m_stopLoss->setChecked(o.stopLoss);
}

Limits TLimitDialog::limits() const {
    Limits l = m_before;
    // The fields show the amount format ("1.234,50"); a field that is no amount keeps
    // the limit as it was.
    auto read = [](const QLineEdit* field, double& into) {
        if (auto v = parseAmount(field->text()); v && *v >= 0) into = *v;
    };
    read(m_lower, l.unteres);
    read(m_upper, l.oberes);
    return l;
}

LimitAnswer TLimitDialog::ask(LimitFinding& f, LimitScanOptions& o) {
    fill(f, o);
    m_answer = LimitAnswer::Abbrechen;
    exec();
    const Limits edited = limits();
    // A limit the user did not touch keeps its unrounded value.
    if (formatAmount(edited.unteres, m_decimals) != formatAmount(f.after.unteres, m_decimals)) f.after.unteres = edited.unteres;
    if (formatAmount(edited.oberes, m_decimals) != formatAmount(f.after.oberes, m_decimals)) f.after.oberes = edited.oberes;
    o.lowerPercent = m_lowerPct->value();
    o.upperPercent = m_upperPct->value();
    o.stopLoss = m_stopLoss->isChecked();
    return m_answer;
}

}  // namespace q::ui
