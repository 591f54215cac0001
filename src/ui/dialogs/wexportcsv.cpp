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
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Datum:"), m_datum);
    form->addRow(QStringLiteral("Kurs:"), m_kurs);
    form->addRow(QStringLiteral("Volumen:"), m_volumen);
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
    return {m_datum->currentData().toInt(), m_kurs->currentData().toInt(), m_volumen->currentData().toInt()};
}

}  // namespace q::ui
