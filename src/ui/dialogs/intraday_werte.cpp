#include "ui/dialogs/intraday_werte.h"

#include "base/clock.h"
#include "base/formats.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace q::ui {

TIntradayWerte::TIntradayWerte(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Intraday-Werte"));
    m_grid = new QTableWidget(0, 3, this);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Zeit"), QStringLiteral("Kurs"), QStringLiteral("Volumen")});
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setMinimumSize(420, 320);

    auto* add = new QPushButton(QStringLiteral("Wert einfügen"), this);
    auto* remove = new QPushButton(QStringLiteral("Wert löschen"), this);
    connect(add, &QPushButton::clicked, this, &TIntradayWerte::addRow);
    connect(remove, &QPushButton::clicked, this, &TIntradayWerte::removeCurrentRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TIntradayWerte::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch();
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(row);
}

void TIntradayWerte::setRow(int row, const IntradayValue& v) {
    m_grid->setItem(row, 0, new QTableWidgetItem(formatDateTime(dateTimeFromNumber(v.ZEIT))));
    m_grid->setItem(row, 1, new QTableWidgetItem(formatAmount(v.Kurs, 2)));
    m_grid->setItem(row, 2, new QTableWidgetItem(v.Volumen ? QString::number(*v.Volumen) : QString()));
    m_grid->item(row, 1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_grid->item(row, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

Status TIntradayWerte::bind(Store& store, int firma, const QString& firmenName) {
    m_store = &store;
    m_firma = firma;
    setWindowTitle(QStringLiteral("Intraday-Werte: %1").arg(firmenName));
    auto values = intradayValues(store, firma);
    if (!values) return values.status();
    m_grid->setRowCount(int(values->size()));
    for (int i = 0; i < int(values->size()); ++i) setRow(i, (*values)[i]);
    return Status::ok();
}

void TIntradayWerte::moveToLast() {
    if (m_grid->rowCount() > 0) m_grid->setCurrentCell(m_grid->rowCount() - 1, 1);
}

int TIntradayWerte::currentRow() const { return m_grid->currentRow(); }

void TIntradayWerte::addRow() {
    const int row = m_grid->rowCount();
    m_grid->insertRow(row);
    IntradayValue v;
    v.ZEIT = timestampNumber(now());
    setRow(row, v);
    m_grid->item(row, 1)->setText(QString());
    m_grid->setCurrentCell(row, 1);
}

void TIntradayWerte::removeCurrentRow() {
    if (m_grid->currentRow() >= 0) m_grid->removeRow(m_grid->currentRow());
}

Result<std::vector<IntradayValue>> TIntradayWerte::edited() const {
    std::vector<IntradayValue> values;
    auto cell = [this](int row, int column) {
        const QTableWidgetItem* item = m_grid->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QString line = QStringLiteral("Zeile %1: ").arg(row + 1);
        const QStringList when = cell(row, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const auto date = when.size() == 2 ? parseDate(when[0]) : std::nullopt;
        const auto time = when.size() == 2 ? parseTime(when[1]) : std::nullopt;
        if (!date || !time) return Status::invalid(line + QStringLiteral("Die Zeit muss als TT.MM.JJJJ hh:mm angegeben werden"));
        const auto kurs = parsePriceText(cell(row, 1));
        if (!kurs) return Status::invalid(line + QStringLiteral("Der Kurs \"%1\" ist keine Zahl").arg(cell(row, 1)));
        IntradayValue v;
        v.ZEIT = timestampNumber(QDateTime(*date, *time));
        v.Kurs = *kurs;
        if (!cell(row, 2).isEmpty()) {
            bool ok = false;
            v.Volumen = cell(row, 2).toLongLong(&ok);
            if (!ok) return Status::invalid(line + QStringLiteral("Das Volumen \"%1\" ist keine ganze Zahl").arg(cell(row, 2)));
        }
        values.push_back(v);
    }
    return values;
}

void TIntradayWerte::accept() {
    Q_ASSERT(m_store);
    auto values = edited();
    Status saved = values ? saveIntradayValues(*m_store, m_firma, *values) : values.status();
    if (!saved) {
        QMessageBox::warning(this, windowTitle(), saved.message());
        return;
    }
    QDialog::accept();
}

}  // namespace q::ui
