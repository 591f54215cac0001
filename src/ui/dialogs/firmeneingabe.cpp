#include "ui/dialogs/firmeneingabe.h"

#include "base/formats.h"
#include "store/firma_hooks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace q::ui {

namespace {

// The text fields of the record with their labels, page by page.
struct FieldRow {
    const char* field;
    const char* label;
};
const FieldRow kGeneral[] = {{"FirmenName", "Bezeichnung:"}, {"Kennung", "WKN:"}, {"ISIN", "ISIN:"},
                             {"Ticker", "Ticker:"},          {"Internet", "Internet:"}};
const FieldRow kStations[] = {{"ZDF", "ZDF:"}, {"N-TV", "N-TV:"}, {"SF1", "SF1:"}, {"Sender4", "Sender4:"}};
const FieldRow kNumbers[] = {{"Unteres_Limit", "Unteres Limit:"}, {"Oberes_Limit", "Oberes Limit:"}};
const FieldRow kFundamentals[] = {{"Dividende", "Dividende:"}, {"Gewinn", "Gewinn je Aktie:"},
                                  {"CashFlow", "Cashflow je Aktie:"}, {"Aktienzahl", "Anzahl Aktien:"}};
const char* const kListFields[] = {"Gruppe", "Branche", "Merkmal"};

bool isNumberField(const QString& field) {
    static const QStringList numbers{QStringLiteral("Unteres_Limit"), QStringLiteral("Oberes_Limit"), QStringLiteral("Dividende"),
                                     QStringLiteral("Gewinn"), QStringLiteral("CashFlow"), QStringLiteral("Aktienzahl")};
    return numbers.contains(field);
}

QString numberText(const QVariant& v) {
    if (v.isNull()) return {};
    QLocale german(QLocale::German);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german.toString(v.toDouble(), 'f', QLocale::FloatingPointShortest);
}

}  // namespace

TFirmeneingabe::TFirmeneingabe(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Wertpapier"));
    m_heading = new QLabel(this);
    QFont big = m_heading->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    m_heading->setFont(big);

    m_pages = new QTabWidget(this);
    auto page = [this](const QString& title) {
        auto* w = new QWidget(m_pages);
        m_pages->addTab(w, title);
        return new QFormLayout(w);
    };
    auto addEdits = [this](QFormLayout* form, const FieldRow* rows, int n) {
        for (int i = 0; i < n; ++i) {
            auto* e = new QLineEdit(this);
            form->addRow(QString::fromUtf8(rows[i].label), e);
            m_edits.insert(QString::fromLatin1(rows[i].field), e);
        }
    };

    QFormLayout* general = page(QStringLiteral("Allgemein"));
    addEdits(general, kGeneral, 5);
    m_aktiv = new QCheckBox(QStringLiteral("Favorit"), this);
    general->addRow(QString(), m_aktiv);
    const char* listLabels[] = {"Gruppe:", "Branche:", "Merkmal:"};
    for (int i = 0; i < 3; ++i) {
        auto* c = new QComboBox(this);
        general->addRow(QString::fromUtf8(listLabels[i]), c);
        m_lists.insert(QString::fromLatin1(kListFields[i]), c);
    }
    auto* currency = new QComboBox(this);
    general->addRow(QStringLiteral("Währung:"), currency);
    m_lists.insert(QStringLiteral("Waehrung"), currency);
    addEdits(general, kNumbers, 2);

    QFormLayout* stations = page(QStringLiteral("Kennungen der Sender"));
    addEdits(stations, kStations, 4);

    QFormLayout* fundamentals = page(QStringLiteral("Fundamentaldaten"));
    m_fundamentals = fundamentals->parentWidget();
    addEdits(fundamentals, kFundamentals, 4);

    auto* notes = new QWidget(m_pages);
    m_memo = new QPlainTextEdit(notes);
    (new QVBoxLayout(notes))->addWidget(m_memo);
    m_pages->addTab(notes, QStringLiteral("Notizen"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFirmeneingabe::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_pages);
    layout->addWidget(buttons);
}

void TFirmeneingabe::setName(const QString& name) { m_heading->setText(name); }

bool TFirmeneingabe::fundamentalsVisible() const { return m_pages->indexOf(m_fundamentals) >= 0; }

void TFirmeneingabe::bind(Table& firma, const Record& record) {
    m_table = &firma;
    m_before = record;
    for (auto it = m_edits.begin(); it != m_edits.end(); ++it) {
        const Field* f = firma.layout().field(it.key());
        it.value()->setEnabled(f != nullptr);
        if (!f) continue;
        if (f->type == FieldType::Alpha && f->size > 0) it.value()->setMaxLength(f->size);
        const QVariant v = record.value(it.key());
        it.value()->setText(isNumberField(it.key()) ? numberText(v) : v.toString());
    }
    m_aktiv->setChecked(record.value(QStringLiteral("Aktiv")).toBool());
    m_memo->setPlainText(record.value(QStringLiteral("Memo")).toString());
    // Older securities tables lack the fundamentals fields; their page is not offered then.
    const int at = m_pages->indexOf(m_fundamentals);
    if (!firma.hasField(QStringLiteral("Aktienzahl")) && at >= 0) m_pages->removeTab(at);
    if (firma.hasField(QStringLiteral("Aktienzahl")) && at < 0) m_pages->insertTab(2, m_fundamentals, QStringLiteral("Fundamentaldaten"));
}

void TFirmeneingabe::Fuellen(Store& store) {
    const char* files[] = {"Gruppen.db", "Branchen.db", "Merkmal.db"};
    for (int i = 0; i < 3; ++i) {
        QComboBox* c = m_lists.value(QString::fromLatin1(kListFields[i]));
        c->clear();
        auto entries = readListTable(store, QString::fromLatin1(files[i]));
        if (entries)
            for (const ListEntry& e : *entries) c->addItem(e.GruppenName, e.GruppenIndex);
        const int current = c->findData(m_before.value(QString::fromLatin1(kListFields[i])).toInt());
        c->setCurrentIndex(current >= 0 ? current : 0);
    }
    QComboBox* currency = m_lists.value(QStringLiteral("Waehrung"));
    currency->clear();
    if (auto currencies = readCurrencies(store))
        for (const CurrencyEntry& e : *currencies)
            currency->addItem(e.Symbol.isEmpty() ? e.Name : QStringLiteral("%1 - %2").arg(e.Symbol, e.Name), e.Symbol);
    const QString symbol = m_before.value(QStringLiteral("Waehrung")).toString();
    int current = currency->findData(symbol);
    if (current < 0 && !symbol.isEmpty()) {
        // A symbol the currency table does not know (yet) is kept, not lost.
        currency->addItem(symbol, symbol);
        current = currency->count() - 1;
    }
    currency->setCurrentIndex(current >= 0 ? current : 0);
}

Result<Record> TFirmeneingabe::edited() const {
    Record after = m_before;
    for (auto it = m_edits.begin(); it != m_edits.end(); ++it) {
        if (!m_table->hasField(it.key())) continue;
        const QString text = it.value()->text().trimmed();
        if (!isNumberField(it.key())) {
            after.set(it.key(), text.isEmpty() ? QVariant() : QVariant(text));
            continue;
        }
        if (text.isEmpty()) {
            after.set(it.key(), QVariant());
            continue;
        }
        const auto number = parseNumber(text);
        if (!number) return Status::invalid(QStringLiteral("\"%1\" ist keine gültige Zahl").arg(text));
        after.set(it.key(), *number);
    }
    after.set(QStringLiteral("Aktiv"), m_aktiv->isChecked());
    if (m_table->hasField(QStringLiteral("Memo")))
        after.set(QStringLiteral("Memo"), m_memo->toPlainText().isEmpty() ? QVariant() : QVariant(m_memo->toPlainText()));
    for (const char* field : kListFields) {
        const QString name = QString::fromLatin1(field);
        if (m_table->hasField(name) && m_lists.value(name)->currentIndex() >= 0)
            after.set(name, m_lists.value(name)->currentData().toInt());
    }
    if (m_table->hasField(QStringLiteral("Waehrung")) && m_lists.value(QStringLiteral("Waehrung"))->currentIndex() >= 0)
        after.set(QStringLiteral("Waehrung"), m_lists.value(QStringLiteral("Waehrung"))->currentData().toString());
    return after;
}

void TFirmeneingabe::accept() {
    Q_ASSERT(m_table);
    auto after = edited();
    Status saved = after.status();
    if (after) {
        const QVariant number = m_before.value(QStringLiteral("Firma"));
        if (number.isNull() || number.toInt() <= 0) {
            auto appended = appendSecurity(*m_table, *after);
            saved = appended ? Status::ok() : appended.status();
            if (appended) m_written = *appended;
        } else {
            saved = postSecurity(*m_table, m_before, *after);
            if (saved) m_written = number.toInt();
        }
    }
    if (!saved) {
        QMessageBox::warning(this, windowTitle(), saved.message());
        return;
    }
    QDialog::accept();
}

}  // namespace q::ui
