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
    m_datum = columnChoice(header, preset.datum, false, this);
    m_datum->setObjectName(QStringLiteral("datum"));
    m_kurs = columnChoice(header, preset.kurs, false, this);
    m_kurs->setObjectName(QStringLiteral("kurs"));
    m_volumen = columnChoice(header, preset.volumen, true, this);
    m_volumen->setObjectName(QStringLiteral("volumen"));
    m_name = columnChoice(header, preset.name, true, this);
    m_name->setObjectName(QStringLiteral("name"));
    m_wkn = columnChoice(header, preset.wkn, true, this);
    m_wkn->setObjectName(QStringLiteral("wkn"));
    m_isin = columnChoice(header, preset.isin, true, this);
    m_isin->setObjectName(QStringLiteral("isin"));
    m_ticker = columnChoice(header, preset.ticker, true, this);
    m_ticker->setObjectName(QStringLiteral("ticker"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Datum:"), m_datum);
    form->addRow(QStringLiteral("Kurs:"), m_kurs);
    form->addRow(QStringLiteral("Volumen:"), m_volumen);
    form->addRow(QStringLiteral("Name:"), m_name);
    form->addRow(QStringLiteral("WKN:"), m_wkn);
    form->addRow(QStringLiteral("ISIN:"), m_isin);
    form->addRow(QStringLiteral("Ticker:"), m_ticker);
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
