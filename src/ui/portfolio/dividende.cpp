#include "ui/portfolio/dividende.h"

#include "base/formats.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace q::ui {

TDividende::TDividende(Kind kind, QWidget* owner) : QDialog(owner), m_kind(kind) {
    setWindowTitle(kind == Kind::Dividend       ? QStringLiteral("Eingang von Dividenden")
                   : kind == Kind::Reinvestment ? QStringLiteral("Wiederanlage eines Ertrages")
                                                : QStringLiteral("Buchung im Depot eintragen"));
    m_anteile = new QLineEdit(this);
    m_betrag = new QLineEdit(this);
    m_dividende = new QLineEdit(this);
    m_datum = new QLineEdit(this);
    m_bezeichnung = new QLineEdit(this);
    m_bezeichnung->setMaxLength(30);
    m_message = new QLabel(this);
    m_message->setStyleSheet(QStringLiteral("color: red"));
    m_eintragen = new QPushButton(QStringLiteral("Eintragen"), this);
    m_eintragen->setDefault(true);
    m_abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    // Numbers and the date refuse letters as they are typed.
    auto* number = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9.,]*")), this);
    for (QLineEdit* e : {m_anteile, m_betrag, m_dividende}) e->setValidator(number);
    m_datum->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), this));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Anteile"), m_anteile);
    form->addRow(QStringLiteral("Betrag"), m_betrag);
    form->addRow(kind == Kind::Reinvestment ? QStringLiteral("oder Preis pro Stück") : QStringLiteral("oder Dividende"), m_dividende);
    form->addRow(QStringLiteral("Datum der Zahlung"), m_datum);
    form->addRow(QStringLiteral("Bezeichnung"), m_bezeichnung);
    form->addRow(m_message);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_eintragen);
    buttons->addWidget(m_abbrechen);
    form->addRow(buttons);
    connect(m_betrag, &QLineEdit::textEdited, this, &TDividende::betragEdited);
    connect(m_dividende, &QLineEdit::textEdited, this, &TDividende::dividendeEdited);
    connect(m_anteile, &QLineEdit::textEdited, this, &TDividende::anteileEdited);
    connect(m_eintragen, &QPushButton::clicked, this, &TDividende::Eintragen);
    connect(m_abbrechen, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(380);
}

void TDividende::setValues(double anteile, double betrag, double dividende, const QDate& datum, const QString& bezeichnung) {
    setNumber(m_anteile, anteile);
    setNumber(m_betrag, betrag);
    setNumber(m_dividende, dividende);
    m_datum->setText(formatDate(datum));
    m_bezeichnung->setText(bezeichnung.left(30));
}

std::optional<double> TDividende::value(const QLineEdit* edit) { return parseNumber(edit->text()); }

void TDividende::setNumber(QLineEdit* edit, double v) {
    QSignalBlocker block(edit);
    edit->setText(formatGeneral(v));
}

void TDividende::betragEdited() {
    const auto b = value(m_betrag);
    const auto d = value(m_dividende);
    if (b && d && *b != 0 && *d != 0) setNumber(m_anteile, *b / *d);
}

void TDividende::dividendeEdited() {
    const auto d = value(m_dividende);
    const auto a = value(m_anteile);
    const auto b = value(m_betrag);
    if (!d || !a) return;
    if (*a != 0) setNumber(m_betrag, *d * *a);
    else if (b && *b != 0 && *d != 0) setNumber(m_anteile, *b / *d);
}

void TDividende::anteileEdited() {
    m_message->clear();
    const auto a = value(m_anteile);
    if (!a || *a == 0) {
        m_message->setText(QStringLiteral("Anteile muss ungleich 0 sein!"));
        return;
    }
    const auto d = value(m_dividende);
    const auto b = value(m_betrag);
    if (d && *d != 0) setNumber(m_betrag, *d * *a);
    else if (b && d && *b != 0 && *d != 0) setNumber(m_anteile, *b / *d);
}

void TDividende::Eintragen() {
    const auto a = value(m_anteile);
    const auto b = value(m_betrag);
    const auto d = value(m_dividende);
    const auto datum = parseDate(m_datum->text());
    if (!a || !b || !d) {
        m_message->setText(QStringLiteral("Geben Sie in Anteile, Betrag und Dividende Zahlen ein"));
        return;
    }
    if (!datum) {
        m_message->setText(QStringLiteral("Ungültiges Datum: %1").arg(m_datum->text()));
        return;
    }
    const Entry entry{*a, *b, *d, *datum, m_bezeichnung->text()};
    if (m_booking) {
        if (Status s = m_booking(entry); !s) {
            m_message->setText(s.message());
            return;
        }
    }
    accept();
}

}  // namespace q::ui
