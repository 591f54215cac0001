#include "ui/portfolio/waehrungen.h"

#include "base/formats.h"
#include "ui/record_model.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace q::ui {

namespace {

QTableWidget* list(QWidget* parent, const QStringList& titles) {
    auto* t = new QTableWidget(0, titles.size(), parent);
    t->setHorizontalHeaderLabels(titles);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget* t, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

}  // namespace

TWaehrungen::TWaehrungen(Store& store, QWidget* owner) : QDialog(owner), m_store(store) {
    setWindowTitle(QStringLiteral("Waehrungen im Depot"));
    auto* heading = new QLabel(QStringLiteral("Kurs- und Depotwährungen"), this);
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    heading->setFont(f);
    m_currencies = list(this, {QStringLiteral("Symbol"), QStringLiteral("Name"), QStringLiteral("Faktor")});
    auto* right = new QGroupBox(QStringLiteral("Kurs aus Datenbank wählen"), this);
    m_securities = list(right, {fieldCaption(QStringLiteral("Waehrung")), fieldCaption(QStringLiteral("FirmenName"))});
    (new QVBoxLayout(right))->addWidget(m_securities);

    m_symbol = new QLineEdit(this);
    m_symbol->setMaxLength(5);
    m_symbol->setToolTip(QStringLiteral("Welches Währungssymbol soll verwendet werden"));
    m_name = new QLineEdit(this);
    m_name->setMaxLength(40);
    m_name->setToolTip(QStringLiteral("Soll der Wechselkurs automatisch aktualisiert werden, muss die Bezeichnung mit dem Namen "
                                      "eines Wertpapieres in der Datnebank übereinstimmen"));
    m_faktor = new QLineEdit(this);
    m_einheit = new QLineEdit(QStringLiteral("1"), this);
    m_einheit->setToolTip(QStringLiteral("z.B. 100 YEN => 1 EURO dieser Faktor wird zum Kurswert multipliziert"));
    m_multiplikator = new QCheckBox(QStringLiteral("Multiplikator"), this);
    m_multiplikator->setChecked(true);
    m_multiplikator->setToolTip(QStringLiteral("Wird der Wechselkurs Multipliziert oder Dividiert"));
    m_message = new QLabel(this);
    m_message->setStyleSheet(QStringLiteral("color: red"));
    m_message->setWordWrap(true);
    auto* eintragen = new QPushButton(QStringLiteral("Eintragen"), this);
    eintragen->setToolTip(QStringLiteral("als Waehrung übernehmen"));
    auto* loeschen = new QPushButton(QStringLiteral("löschen"), this);
    loeschen->setToolTip(QStringLiteral("Währung löschen"));
    auto* schliessen = new QPushButton(QStringLiteral("Schließen"), this);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Währungssymbol"), this), 0, 0);
    fields->addWidget(m_symbol, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Bezeichnung"), this), 1, 0);
    fields->addWidget(m_name, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Wechselkurs zu Depotwährung"), this), 2, 0);
    fields->addWidget(m_faktor, 2, 1);
    fields->addWidget(new QLabel(QStringLiteral("Faktor für Umrechnung"), this), 3, 0);
    fields->addWidget(m_einheit, 3, 1);
    fields->addWidget(m_multiplikator, 4, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {eintragen, loeschen, schliessen}) buttons->addWidget(b);

    auto* grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0, 1, 2);
    grid->addWidget(m_currencies, 1, 0);
    grid->addWidget(right, 1, 1, 2, 1);
    grid->addLayout(fields, 2, 0);
    grid->addWidget(m_message, 3, 0, 1, 2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    resize(760, 480);

    connect(eintragen, &QPushButton::clicked, this, &TWaehrungen::Eintragen);
    connect(loeschen, &QPushButton::clicked, this, &TWaehrungen::Loeschen);
    connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_securities, &QTableWidget::cellClicked, this, [this](int row, int) { securityChosen(row); });
}

Status TWaehrungen::fillCurrencies() {
    auto table = m_store.table(kCurrencies);
    if (!table) return table.status();
    auto records = readCurrencies(**table);
    if (!records) return records.status();
    m_currencies->setRowCount(static_cast<int>(records->size()));
    for (int i = 0; i < static_cast<int>(records->size()); ++i) {
        const CurrencyRecord& r = (*records)[static_cast<size_t>(i)];
        setRow(m_currencies, i, {r.Symbol, r.Name, formatGeneral(r.Faktor)});
    }
    return Status::ok();
}

Status TWaehrungen::fill() {
    Q_TRY(fillCurrencies());
    auto firma = m_store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    auto aktien = m_store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query byName;
    byName.order = QStringLiteral("IFirma");
    auto rows = (*firma)->rows(byName);
    if (!rows) return rows.status();
    m_securities->setRowCount(static_cast<int>(rows->size()));
    m_lastPrices.clear();
    for (int i = 0; i < static_cast<int>(rows->size()); ++i) {
        const Record& r = (*rows)[static_cast<size_t>(i)];
        setRow(m_securities, i, {r.value(QStringLiteral("Waehrung")).toString(), r.value(QStringLiteral("FirmenName")).toString()});
        Query newest = Query::detailOf(r.value(QStringLiteral("Firma")).toInt());
        newest.reverse = true;
        auto price = (*aktien)->first(newest);
        if (!price) return price.status();
        m_lastPrices.push_back(price->has_value() ? (*price)->value(QStringLiteral("Kurs")).toDouble() : 0.0);
    }
    return Status::ok();
}

void TWaehrungen::securityChosen(int row) {
    if (row < 0 || row >= m_securities->rowCount()) return;
    m_symbol->setText(m_securities->item(row, 0)->text());
    m_name->setText(m_securities->item(row, 1)->text());
    m_faktor->setText(formatGeneral(m_lastPrices[static_cast<size_t>(row)]));
    m_einheit->setText(QStringLiteral("1"));
    m_multiplikator->setChecked(true);
}

void TWaehrungen::Eintragen() {
    m_message->clear();
    const auto faktor = parseNumber(m_faktor->text());
    const auto einheit = parseNumber(m_einheit->text());
    if (!faktor || !einheit) {
        m_message->setText(QStringLiteral("Ungültige Zahl: %1").arg(!faktor ? m_faktor->text() : m_einheit->text()));
        return;
    }
    const Status added = addCurrency(m_store, {m_symbol->text(), m_name->text(), *faktor, m_multiplikator->isChecked(), *einheit});
    if (!added) {
        m_message->setText(added.message());
        return;
    }
    if (Status s = fillCurrencies(); !s) m_message->setText(s.message());
}

void TWaehrungen::Loeschen() {
    m_message->clear();
    const int row = m_currencies->currentRow();
    if (row < 0) return;
    auto gone = deleteCurrency(m_store, m_currencies->item(row, 0)->text());
    if (!gone) {
        m_message->setText(gone.status().message());
        return;
    }
    m_symbol->setText(gone->Symbol);
    m_name->setText(gone->Name);
    m_faktor->setText(formatGeneral(gone->Faktor));
    m_einheit->setText(formatGeneral(gone->Einheit));
    m_multiplikator->setChecked(gone->Multiplikator);
    if (Status s = fillCurrencies(); !s) m_message->setText(s.message());
}

}  // namespace q::ui
