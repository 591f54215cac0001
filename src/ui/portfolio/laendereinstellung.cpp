#include "ui/portfolio/laendereinstellung.h"

#include "base/formats.h"
#include "portfolio/currencies.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace q::ui {

TLaendereinstellung::TLaendereinstellung(Session& session, QWidget* owner) : QDialog(owner), m_session(session) {
    setWindowTitle(QStringLiteral("Wählen Sie für Ländereinstellung"));
    const RegionalSettings r = regionalSettings(session);
    m_second = new QLineEdit(r.secondSymbol, this);
    m_second->setMaxLength(5);
    m_rate = new QLineEdit(formatGeneral(r.wechselkurs), this);
    m_decimals = new QSpinBox(this);
    m_decimals->setRange(0, 6);
    m_decimals->setValue(r.decimals);
    m_home = new QLineEdit(r.homeSymbol, this);
    m_home->setMaxLength(5);
    m_tage = new QSpinBox(this);
    m_tage->setRange(0, 100000);
    m_tage->setValue(r.rule.tage);
    m_tageNeu = new QSpinBox(this);
    m_tageNeu->setRange(0, 100000);
    m_tageNeu->setValue(r.rule.tageNeu);
    m_ab = new QLineEdit(formatDate(r.rule.ab), this);
    m_euro = new QListWidget(this);
    for (const EuroRate& e : euroRates()) m_euro->addItem(e.land);
    m_message = new QLabel(this);
    m_message->setStyleSheet(QStringLiteral("color: red"));
    connect(m_euro, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row >= static_cast<int>(euroRates().size())) return;
        const EuroRate& e = euroRates()[static_cast<size_t>(row)];
        m_second->setText(e.symbol);
        m_rate->setText(formatGeneral(e.rate));
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TLaendereinstellung::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    int row = 0;
    auto add = [&](const QString& label, QWidget* w, const QString& after = QString()) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(w, row, 1);
        if (!after.isEmpty()) grid->addWidget(new QLabel(after, this), row, 2);
        ++row;
    };
    add(QStringLiteral("2. Währung"), m_second);
    add(QStringLiteral("Wechselkurs"), m_rate);
    add(QStringLiteral("Dezimalstellen"), m_decimals);
    add(QStringLiteral("Standard-Währung"), m_home);
    add(QStringLiteral("Spekulationsfrist"), m_tage, QStringLiteral("Tage"));
    add(QStringLiteral("Spekulationsfrist"), m_tageNeu, QStringLiteral("Tage"));
    add(QStringLiteral("ab dem"), m_ab);
    grid->addWidget(new QLabel(QStringLiteral("Euro-Wechselkurse"), this), 0, 3);
    grid->addWidget(m_euro, 1, 3, row - 1, 1);
    grid->addWidget(m_message, row++, 0, 1, 4);
    grid->addWidget(buttons, row, 0, 1, 4);
}

void TLaendereinstellung::accept() {
    RegionalSettings r;
    r.homeSymbol = m_home->text();
    r.secondSymbol = m_second->text();
    const auto rate = parseNumber(m_rate->text());
    const auto ab = parseDate(m_ab->text());
    if (!rate || !ab) {
        m_message->setText(!rate ? QStringLiteral("Ungültiger Wechselkurs: %1").arg(m_rate->text())
                                 : QStringLiteral("Ungültiges Datum: %1").arg(m_ab->text()));
        return;
    }
    r.wechselkurs = *rate;
    r.decimals = m_decimals->value();
    r.rule.tage = m_tage->value();
    r.rule.tageNeu = m_tageNeu->value();
    r.rule.ab = *ab;
    if (Status s = storeRegional(m_session, r); !s) {
        m_message->setText(s.message());
        return;
    }
    QDialog::accept();
}

}  // namespace q::ui
