#include "ui/portfolio/aktiensplit.h"

#include "base/clock.h"
#include "base/formats.h"
#include "ui/dialogs/datumwahl.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace q::ui {

TAktiensplit::TAktiensplit(Store& store, int firma, const QString& name, QWidget* owner)
    : QDialog(owner), m_store(store), m_firma(firma) {
    setWindowTitle(QStringLiteral("Aktiensplit ") + name);
    m_ratio = new QLineEdit(this);
    m_preview = new QLabel(this);
    m_message = new QLabel(this);
    m_message->setStyleSheet(QStringLiteral("color: red"));
    m_message->setWordWrap(true);
    m_los = new QPushButton(QStringLiteral("LOS"), this);
    m_los->setEnabled(false);
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("neuer Kurs  == Kurs /  X "), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("X ="), this), 1, 0);
    grid->addWidget(m_ratio, 1, 1);
    grid->addWidget(m_preview, 2, 0, 1, 2);
    grid->addWidget(m_message, 3, 0, 1, 2);
    grid->addWidget(m_los, 4, 0);
    grid->addWidget(schliessen, 4, 1);
    connect(m_ratio, &QLineEdit::textChanged, this, &TAktiensplit::ratioChanged);
    connect(m_los, &QPushButton::clicked, this, &TAktiensplit::LOS);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::reject);
}

void TAktiensplit::setSelectedPrice(double kurs, const QDate& datum) {
    m_kurs = kurs;
    m_datum = datum;
    ratioChanged();
}

void TAktiensplit::setRatio(double x) { m_ratio->setText(formatGeneral(x)); }

void TAktiensplit::ratioChanged() {
    const auto x = parseNumber(m_ratio->text());
    const bool usable = x && *x > 0 && m_kurs > 0;
    m_preview->setText(usable ? formatGeneral(m_kurs / *x) : QString());
    m_los->setEnabled(usable);
}

void TAktiensplit::LOS() {
    const auto x = parseNumber(m_ratio->text());
    if (!x) return;
    TDatumwahl ask(this);
    ask.setWindowText(QStringLiteral("Enddatum des Kurssplit"));
    ask.setDatum(dayNumber(m_datum.isValid() ? m_datum : today()));
    if (ask.exec() != QDialog::Accepted) return;
    auto done = splitSecurity(m_store, {m_firma, *x, dateFromDayNumber(ask.datum())});
    if (!done) {
        m_message->setText(done.status().message());
        return;
    }
    m_result = *done;
    accept();
}

}  // namespace q::ui
