#include "ui/portfolio/assistent.h"

#include "base/formats.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace q::ui {

namespace {

// Fixed-point with 2 decimals and 6 significant digits.
QString fixed(double x) { return formatSignificant(x, 6, 2); }

}  // namespace

TAssistent::TAssistent(Trade trade, QWidget* owner) : QDialog(owner), m_trade(trade) {
    setWindowTitle(trade == Trade::Purchase ? QStringLiteral("Ankaufs-Assistent") : QStringLiteral("Verkaufs-Assistent"));
    m_question = new QLabel(this);
    QFont big = m_question->font();
    big.setBold(true);
    m_question->setFont(big);
    m_field = new QLabel(this);
    m_edit = new QLineEdit(this);
    m_euro = new QPushButton(QStringLiteral("EURO"), this);
    m_euro->setToolTip(QStringLiteral("Betrag der 2. Währung in Euro umrechnen"));
    m_zurueck = new QPushButton(QStringLiteral("Zurück"), this);
    m_weiter = new QPushButton(QStringLiteral("Weiter"), this);
    m_weiter->setDefault(true);
    auto* abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    // Enter always goes on ("Weiter", on the last step "Fertig"), whichever button has the focus.
    for (QPushButton* b : {m_euro, m_zurueck, abbrechen}) b->setAutoDefault(false);
    m_summary = new QLabel(this);
    m_summary->setTextFormat(Qt::RichText);
    m_message = new QLabel(this);
    m_message->setStyleSheet(QStringLiteral("color: red"));
    connect(m_weiter, &QPushButton::clicked, this, &TAssistent::Weiter);
    connect(m_zurueck, &QPushButton::clicked, this, &TAssistent::Zurueck);
    connect(m_euro, &QPushButton::clicked, this, &TAssistent::Euro);
    connect(abbrechen, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_question, 0, 0, 1, 4);
    grid->addWidget(m_field, 1, 0, 1, 4);
    grid->addWidget(m_edit, 2, 0, 1, 3);
    grid->addWidget(m_euro, 2, 3);
    grid->addWidget(m_message, 3, 0, 1, 4);
    grid->addWidget(m_summary, 4, 0, 1, 4);
    grid->addWidget(m_zurueck, 5, 1);
    grid->addWidget(m_weiter, 5, 2);
    grid->addWidget(abbrechen, 5, 3);
    setMinimumWidth(460);
}

void TAssistent::setValues(const QDate& datum, double anteile, double preis, const FeeRates& fees, double wechselkurs,
                           const QString& secondSymbol) {
    m_datum = datum;
    m_anteile = anteile;
    m_kurs = preis;
    m_fees = fees;
    m_wechselkurs = wechselkurs > 0 ? wechselkurs : 1.0;
    m_second = secondSymbol;
    show(1);
}

FeeCalculation TAssistent::calculation() const { return calculateFees(m_trade, m_kurs, m_anteile, m_fees); }

bool TAssistent::store() {
    const QString text = m_edit->text();
    // What was shown with two places stands for the full value behind it.
    if (text == m_shown) return true;
    if (m_step == 1) {
        const auto d = parseDate(text);
        if (!d) {
            m_message->setText(QStringLiteral("Ungültiges Datum: %1").arg(text));
            return false;
        }
        m_datum = *d;
        return true;
    }
    const auto n = parseNumber(text);
    if (!n) {
        m_message->setText(QStringLiteral("Ungültige Zahl: %1").arg(text));
        return false;
    }
    switch (m_step) {
    case 2:
        if (!(*n > 0)) {
            m_message->setText(QStringLiteral("Die Anzahl der Anteile muss größer als 0 sein: %1").arg(text));
            return false;
        }
        m_anteile = *n;
        break;
    case 3: m_kurs = *n; break;
    case 4: m_fees.bank = *n; break;
    case 5: m_fees.makler = *n; break;
    case 6: m_fees.clearing = *n; break;
    default: break;
    }
    return true;
}

void TAssistent::Weiter() {
    m_message->clear();
    if (m_step >= 1 && m_step <= 6 && !store()) return;
    if (m_step >= 7) {
        m_step = 8;
        accept();
        return;
    }
    show(m_step + 1);
}

void TAssistent::Zurueck() {
    m_message->clear();
    show(std::max(1, m_step - 1));
}

void TAssistent::Euro() {
    const auto n = parseNumber(m_edit->text());
    if (!n) return;
    // The converted amount is kept in full; the field shows it rounded.
    const double euro = *n / m_wechselkurs;
    if (m_step == 3) m_kurs = euro;
    else if (m_step == 6) m_fees.clearing = euro;
    m_shown = formatSignificant(euro, 15, 2);
    m_edit->setText(m_shown);
    updateSummary();
}

void TAssistent::show(int step) {
    m_step = step;
    const bool buy = m_trade == Trade::Purchase;
    QString question, field, value;
    switch (step) {
    case 1:
        question = buy ? QStringLiteral("Wann haben Sie das Wertpapier gekauft?") : QStringLiteral("Wann haben Sie das Wertpapier verkauft?");
        field = buy ? QStringLiteral("Datum des Kaufes") : QStringLiteral("Datum des Verkauf");
        value = formatDate(m_datum);
        break;
    case 2:
        question = buy ? QStringLiteral("Wieviele Anteile haben Sie gekauft?") : QStringLiteral("Wieviele Anteile haben Sie verkauft?");
        field = QStringLiteral("Anzahl der Anteile");
        value = formatSignificant(m_anteile, 15, 2);
        break;
    case 3:
        question = buy ? QStringLiteral("Zu welchem Kurs haben Sie gekauft?") : QStringLiteral("Zu welchem Kurs haben Sie verkauft?");
        field = QStringLiteral("Kurs je Stück");
        value = formatSignificant(m_kurs, 15, 2);
        break;
    case 4:
        question = QStringLiteral("Wieviel Prozent ist die Bankprovision ?");
        field = QStringLiteral("Prozente der Bank");
        value = formatGeneral(m_fees.bank);
        break;
    case 5:
        question = QStringLiteral("Wieviel Promill ist die Maklercourtage ?");
        field = QStringLiteral("Promill für Makler");
        value = formatGeneral(m_fees.makler);
        break;
    case 6:
        question = QStringLiteral("Wieviel ist die Clearinggebühr ?");
        field = QStringLiteral("Gebühr der Börse");
        value = formatGeneral(m_fees.clearing);
        break;
    default:
        question = buy ? QStringLiteral("Wert pro Anteil wird als Kaufpreis eingetragen ?")
                       : QStringLiteral("Wert pro Anteil wird als Verkaufspreis eingetragen ?");
        field = (buy ? QStringLiteral("      Wert pro Anteile ") : QStringLiteral("     Wert pro Anteile ")) + fixed(preis()) +
                QStringLiteral(" Euro");
        break;
    }
    m_question->setText(question);
    m_field->setText(field);
    m_edit->setVisible(step <= 6);
    m_edit->setText(value);
    m_shown = value;
    m_euro->setVisible(step == 3 || step == 6);
    m_weiter->setText(step >= 7 ? QStringLiteral("Fertig") : QStringLiteral("Weiter"));
    m_zurueck->setEnabled(step > 1);
    updateSummary();
    if (m_edit->isVisible()) {
        m_edit->setFocus();
        m_edit->selectAll();
    } else {
        m_weiter->setFocus();
    }
}

void TAssistent::updateSummary() {
    const FeeCalculation f = calculation();
    const QString euro = QStringLiteral(" Euro");
    const QString second = QLatin1Char(' ') + m_second;
    const QString row = QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td></tr>");
    m_summary->setText(QStringLiteral("<table cellspacing=\"4\">") +
                       row.arg(QStringLiteral("Aktienwert:"), fixed(f.gross) + euro, QString()) +
                       row.arg(QStringLiteral("Gebühren:"), fixed(f.costs) + euro, QString()) +
                       row.arg(m_trade == Trade::Purchase ? QStringLiteral("Kosten:") : QStringLiteral("Erlös:"), fixed(f.net) + euro,
                               fixed(f.net * m_wechselkurs) + second) +
                       row.arg(QStringLiteral("pro Anteil"), fixed(f.perShare) + euro, fixed(f.perShare * m_wechselkurs) + second) +
                       QStringLiteral("</table>"));
}

}  // namespace q::ui
