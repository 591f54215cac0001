#include "ui/dialogs/wexportcsv.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

const QString kNone = QStringLiteral("(keine)");

QComboBox* columnChoice(const QStringList& header, int preset, bool optional, QWidget* parent) {
    auto* box = new QComboBox(parent);
    if (optional) box->addItem(kNone, -1);
    for (int i = 0; i < header.size(); ++i) box->addItem(QStringLiteral("%1: %2").arg(i + 1).arg(header[i]), i);
    const int at = box->findData(preset);
    box->setCurrentIndex(at >= 0 ? at : 0);
    return box;
}

}  // namespace

TWExportcsv::TWExportcsv(const QStringList& header, const HistoryColumns& preset, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Position von Datum und Kurs"));
    auto* fields = new QListWidget(this);
    fields->setObjectName(QStringLiteral("fields"));
    fields->addItems(header);
    auto* form = new QFormLayout;
    struct Row {
        QComboBox** box;
        const char* name;
        const char* label;
        int preset;
        bool optional;
    };
    for (const Row& r : {Row{&m_datum, "datum", "Datum:", preset.datum, false}, Row{&m_kurs, "kurs", "Kurs:", preset.kurs, false},
                         Row{&m_volumen, "volumen", "Volumen:", preset.volumen, true}, Row{&m_name, "name", "Name:", preset.name, true},
                         Row{&m_wkn, "wkn", "WKN:", preset.wkn, true}, Row{&m_isin, "isin", "ISIN:", preset.isin, true},
                         Row{&m_ticker, "ticker", "Ticker:", preset.ticker, true}}) {
        *r.box = columnChoice(header, r.preset, r.optional, this);
        (*r.box)->setObjectName(QLatin1String(r.name));
        form->addRow(QString::fromUtf8(r.label), *r.box);
    }
    auto* start = new QPushButton(QStringLiteral("Import starten"), this);
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fields, 1);
    layout->addLayout(right);
}

HistoryColumns TWExportcsv::columns() const {
    HistoryColumns c;
    c.datum = m_datum->currentData().toInt();
    c.kurs = m_kurs->currentData().toInt();
    c.volumen = m_volumen->currentData().toInt();
    c.name = m_name->currentData().toInt();
    c.wkn = m_wkn->currentData().toInt();
    c.isin = m_isin->currentData().toInt();
    c.ticker = m_ticker->currentData().toInt();
    return c;
}

}  // namespace q::ui
