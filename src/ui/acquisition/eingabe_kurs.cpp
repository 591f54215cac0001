#include "ui/acquisition/eingabe_kurs.h"

#include "acquisition/internet_source.h"
#include "acquisition/manual_entry.h"
#include "base/clock.h"
#include "base/formats.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace q::ui {

TEingabeKurs::TEingabeKurs(Session& session, Interaction& ui, int startFirma, QWidget* owner)
    : QDialog(owner), m_session(session), m_ui(ui) {
    setWindowTitle(QStringLiteral("neuen Kurs eingeben"));
    if (auto all = internetSecurities(session.store, {}, QString(), false)) m_securities = *all;
    std::stable_sort(m_securities.begin(), m_securities.end(),
                     [](const InternetSecurity& a, const InternetSecurity& b) { return QString::localeAwareCompare(a.FirmenName, b.FirmenName) < 0; });
    for (size_t i = 0; i < m_securities.size(); ++i)
        if (m_securities[i].Firma == startFirma) m_index = int(i);

    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("FirmenName"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_datum = new QDateEdit(today(), this);
    m_datum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_datum->setCalendarPopup(true);
    m_kurs = new QLineEdit(this);
    m_kurs->setObjectName(QStringLiteral("Kurs"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Wertpapier:"), m_name);
    form->addRow(QStringLiteral("Datum:"), m_datum);
    form->addRow(QStringLiteral("Kurs:"), m_kurs);

    auto* weiterButton = new QPushButton(QStringLiteral("weiter"), this);
    weiterButton->setToolTip(QStringLiteral("Eingabe des Kurses für das nächste Wertpapier"));
    weiterButton->setDefault(true);
    auto speed = [this](const QString& text, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(hint);
        return b;
    };
    QToolButton* ohne = speed(QStringLiteral(">>"), QStringLiteral("weiter ohne Eingabe"));
    QToolButton* zurueckButton = speed(QStringLiteral("<<"), QStringLiteral("Eingabe Abbrechen und zurück"));
    QToolButton* noch = speed(QStringLiteral("+"), QStringLiteral("nächsten Kurs zu diesem Wertpapier eingeben"));
    auto* abbrechenButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechenButton->setToolTip(QStringLiteral("Kurs nicht speichern und Eingabe abbrechen"));
    connect(weiterButton, &QPushButton::clicked, this, &TEingabeKurs::weiter);
    connect(ohne, &QToolButton::clicked, this, &TEingabeKurs::weiterOhneEingabe);
    connect(zurueckButton, &QToolButton::clicked, this, &TEingabeKurs::zurueck);
    connect(noch, &QToolButton::clicked, this, &TEingabeKurs::nochEinKurs);
    connect(abbrechenButton, &QPushButton::clicked, this, &TEingabeKurs::abbrechen);
    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{zurueckButton, ohne, noch}) buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(weiterButton);
    buttons->addWidget(abbrechenButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    showSecurity(m_index);
}

int TEingabeKurs::currentFirma() const { return m_securities.empty() ? 0 : m_securities[size_t(m_index)].Firma; }

void TEingabeKurs::showSecurity(int index) {
    m_index = index;
    m_name->setText(m_securities.empty() ? QString() : m_securities[size_t(index)].FirmenName);
    m_kurs->clear();
    m_kurs->setFocus();
}

bool TEingabeKurs::store() {
    if (m_securities.empty()) return false;
    const auto kurs = parsePriceText(m_kurs->text().trimmed());
    if (!kurs || *kurs <= 0) {
        m_ui.tell(QStringLiteral("Bitte einen Kurs größer als 0 eingeben, z. B. 12,50"));
        return false;
    }
    const QDate datum = m_datum->date();
    auto entered = enterPrice(m_session.store, currentFirma(), datum, *kurs, false);
    if (!entered && entered.status().category() == Category::Invalid && entered.status().message().startsWith(QStringLiteral("Für "))) {
        if (m_ui.ask(QStringLiteral("Kurs ersetzen?"), entered.status().message() + QStringLiteral(". Soll er ersetzt werden?"), Answer::No) != Answer::Yes)
            return false;
        entered = enterPrice(m_session.store, currentFirma(), datum, *kurs, true);
    }
    if (!entered) {
        m_ui.tell(entered.status().message());
        return false;
    }
    ++m_stored;
    return true;
}

void TEingabeKurs::weiter() {
    if (!m_kurs->text().trimmed().isEmpty() && !store()) return;
    if (m_index + 1 >= int(m_securities.size())) {
        accept();
        return;
    }
    showSecurity(m_index + 1);
}

void TEingabeKurs::weiterOhneEingabe() {
    if (m_index + 1 >= int(m_securities.size())) {
        accept();
        return;
    }
    showSecurity(m_index + 1);
}

void TEingabeKurs::zurueck() { showSecurity(std::max(0, m_index - 1)); }

void TEingabeKurs::nochEinKurs() {
    if (!store()) return;
    // The next price of the same security is usually the next day's.
    m_datum->setDate(m_datum->date().addDays(1));
    showSecurity(m_index);
}

void TEingabeKurs::abbrechen() { reject(); }

}  // namespace q::ui
